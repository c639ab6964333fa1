#!/usr/bin/env python3
"""Fischer's mutual exclusion protocol for N processes.

Process Pi waits for id == 0, then within k time units writes i into id,
waits more than k and enters its critical section if id still holds i;
leaving it writes 0. The target, two processes in their critical sections,
is never reached.
"""

import family


def model(arguments):
    n, k = arguments.n, arguments.k
    out = [f"// Fischer's mutual exclusion protocol, {n} processes, k = {k}.",
           f"const k {k};", f"int [0,{n}] id;", ""]
    for i in range(1, n + 1):
        edges = [
            "A -> req { guard id == 0; assign x := 0; }",
            f"req -> wait {{ guard x <= k; assign x := 0, id := {i}; }}",
            "wait -> req { guard id == 0; assign x := 0; }",
            f"wait -> cs {{ guard x > k, id == {i}; }}",
            "cs -> A { assign id := 0; }",
        ]
        out += [f"process P{i} {{", "  clock x;", "  state A, req { x <= k }, wait, cs;",
                "  init A;", "  trans " + family.block(edges, "        ") + ";", "}", ""]
    out.append("system " + ", ".join(f"P{i}" for i in range(1, n + 1)) + ";")
    return "\n".join(out) + "\n"


def parts(arguments):
    return ["P1.cs", "P2.cs"]


def main():
    parser = family.parser(__doc__.splitlines()[0])
    parser.add_argument("--k", type=int, default=10, help="the protocol's delay (default 10)")
    family.emit(parser.parse_args(), model, parts)


if __name__ == "__main__":
    main()
