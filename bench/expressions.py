# The same work as the script of the same name, written as a python3
# programmer would: inside a function, appending with +=.
def main():
    a = 3
    b = 4
    c = 0
    for i in range(1, 300001):
        c = (a * b + i) / 2 - (a - b) * 3
        c = c + a * a - b * b
    print(c)


main()
