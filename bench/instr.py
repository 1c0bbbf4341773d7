# The same work as the script of the same name, written as a python3
# programmer would: inside a function, case-blind by folding both texts.
def main():
    s = "a" * 10000000
    t = "A" * 10000 + "b"
    f = t.casefold()
    print(s.casefold().find(f) + 1)
    print((s + t).casefold().find(f) + 1)
    u = s + t
    print(len(u[:u.casefold().find(f)] + "x"))


main()
