// Placeholder until the registration tool is built.
int main() { return 0; }
