# The same work as the script of the same name: a small class with a method
# and a property, called in a loop inside a function.
class CharSet:
    def __init__(self):
        self.codes = set()

    def add_char(self, s):
        self.codes.add(ord(s[0]))

    def is_in(self, s):
        return ord(s[0]) in self.codes


class Values:
    def __init__(self):
        self.items = {}

    def add(self, value, key):
        self.items[key.lower()] = value

    @property
    def count(self):
        return len(self.items)


def main():
    b = CharSet()
    b.add_char("a")
    v = Values()
    v.add(1, "one")
    v.add(2, "two")
    n = 0
    for i in range(1, 1000001):
        if b.is_in("a"):
            n = n + 1
        n = n + v.count
    print(n)


main()
