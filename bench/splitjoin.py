# The same work as the script of the same name, written as a python3
# programmer would: inside a function, appending with +=.
def main():
    nl = "\r\n"
    text = ""
    for i in range(1, 100001):
        text += "line " + str(i) + nl
    joined = ""
    n = 0
    start = 0
    p = text.find(nl, start)
    while p >= 0:
        joined += text[start:p] + ";"
        n = n + 1
        start = p + 2
        p = text.find(nl, start)
    print(n)
    print(len(joined))


main()
