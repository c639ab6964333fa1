#!/usr/bin/env python3
"""One process whose N locations form a chain closed into a cycle.

P steps from l0 to l1 and on to the last location, then back to l0, one time
unit apart. The target, P in l0 and in the last location at once, is never
reached; its parts are. Loading such a model must stay proportional to its
size (the edge summaries of a process grow with its edges, not with the
square of its locations).
"""

import family


def model(arguments):
    n = arguments.n
    names = [f"l{i}" for i in range(n)]
    edges = [f"{names[i]} -> {names[(i + 1) % n]} {{ guard x >= 1; assign x := 0; }}"
             for i in range(n)]
    return "\n".join([
        f"// A chain of {n} locations, closed into a cycle.",
        "process P {", "  clock x;",
        "  state " + ", ".join(f"{name} {{ x <= 1 }}" for name in names) + ";",
        "  init l0;", "  trans " + family.block(edges, "        ") + ";", "}", "system P;", ""])


def parts(arguments):
    return ["P.l0", f"P.l{arguments.n - 1}"]


def main():
    family.emit(family.parser(__doc__.splitlines()[0]).parse_args(), model, parts)


if __name__ == "__main__":
    main()
