# The same work as the script of the same name, written as a python3
# programmer would: inside a function, appending with +=.
def main():
    s = ""
    for i in range(1, 400001):
        s = s + "x"
    print(len(s))


main()
