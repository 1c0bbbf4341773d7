# The same work as the script of the same name, written as a python3
# programmer would: inside a function, appending with +=.
def main():
    s = 0
    for i in range(1, 3000001):
        s = s + i % 7
    print(s)


main()
