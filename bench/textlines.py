# The same work as the script of the same name, written as a python3
# programmer would: inside a function, iterating over the file's lines.
def main():
    with open("textlines.in", encoding="utf-8", newline="") as fi, \
         open("textlines.py.out", "w", encoding="utf-8", newline="") as fo:
        for line in fi:
            line = line.rstrip("\r\n")
            fo.write(line.replace("alpha", "ALEPH").upper() + "\r\n")


main()
