// A shared library without entry points of its own.  It depends on the test
// library (it calls into it), whose entry points a careless lookup would
// find through it.
#include <cstdint>

extern "C" int32_t DllCanUnloadNow();

extern "C" __attribute__((visibility("default"))) int32_t zubNoEntry() { return DllCanUnloadNow(); }
