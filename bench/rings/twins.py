"""The same work as the ring shapes' scripts beside this file (NAME.zub), in
CPython: values with attributes and a list of items, made inside functions,
the kept ones kept in a list, the others dropped as their function ends.

    python3 twins.py K|C|L|R|R0|P
"""
import sys


class Value:
    """A script value: its members are attributes, its items a list."""

    def __init__(self):
        self.items = []


# The steps of the shapes; each takes the value that keeps and the count.

def keep_numbers(kept, i):
    """K's Hold: a value that holds only numbers, kept."""
    m = Value()
    m.P = i
    m.items.append(i)
    kept.items.append(m)


def keep_ring(kept, i):
    """C's Hold: a value that holds itself, kept."""
    m = Value()
    m.P = m
    m.items.append(m)
    kept.items.append(m)


def keep_and_drop(kept, i):
    """L's loop: C's Hold, then Drop, a value that holds itself, dropped."""
    keep_ring(kept, i)
    s = Value()
    s.P = s
    s.items.append(s)


def through_list(kept, i):
    """R's Ring: a value dropped that is an item of a list it holds."""
    c = []
    s = Value()
    s.items.append(s)
    c.append(s)
    s.C = c


def beside_list(kept, i):
    """R0's Ring: a value dropped that holds itself and is an item of a list."""
    c = []
    s = Value()
    s.items.append(s)
    c.append(s)


def own_parent(kept, i):
    """P's Ring: a value dropped that is its own Parent."""
    s = Value()
    s.Parent = s


# shape: (how many steps, the step)
SHAPES = {
    "K": (300000, keep_numbers),
    "C": (300000, keep_ring),
    "L": (300000, keep_and_drop),
    "R": (300000, through_list),
    "R0": (300000, beside_list),
    "P": (1000000, own_parent),
}


def main(name):
    """Runs a shape's steps and prints, last, what its script prints."""
    n, step = SHAPES[name]
    kept = Value()
    kept.Made = 1
    for i in range(1, n + 1):
        step(kept, i)
    print(len(kept.items) or n, flush=True)


if __name__ == "__main__":
    if len(sys.argv) != 2 or sys.argv[1] not in SHAPES:
        sys.exit("usage: twins.py " + "|".join(SHAPES))
    main(sys.argv[1])
