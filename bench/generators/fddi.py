#!/usr/bin/env python3
"""An FDDI-like token ring of N stations.

A token travels round the ring without delay. A station that gets it sends
its synchronous frames for exactly SA time units. If the token came early,
that is less than TTRT after its previous visit, the station then may send
asynchronous frames, at most until TTRT has passed since that previous visit
(plus the SA just used), and passes the token on whenever it is done; if it
came late, the station passes it on straight after the synchronous frames.

The time since the previous visit must survive the reset that starts the
measurement of the next rotation, so every station has two rotation clocks
and alternates between two halves: in half A it reads zA and restarts zB,
in half B the other way round. The target, two stations holding the token
at once, is never reached.
"""

import family


def holding(i):
    return " or ".join(f"Station{i}.{where}" for where in ("SyncA", "AsyncA", "SyncB", "AsyncB"))


def station(i):
    edges = []
    for mine, other, nxt in (("A", "B", "B"), ("B", "A", "A")):
        edges += [
            f"Idle{mine} -> Sync{mine} {{ sync take{i}?; assign y := 0, z{other} := 0; }}",
            f"Sync{mine} -> Async{mine} {{ guard y == sa, z{mine} < ttrt + sa; }}",
            f"Sync{mine} -> Idle{nxt} {{ guard y == sa, z{mine} >= ttrt + sa; sync pass{i}!; }}",
            f"Async{mine} -> Idle{nxt} {{ sync pass{i}!; }}",
        ]
    return [f"process Station{i} {{", "  clock y, zA, zB;",
            "  state IdleA, SyncA { y <= sa }, AsyncA { zA <= ttrt + sa },",
            "        IdleB, SyncB { y <= sa }, AsyncB { zB <= ttrt + sa };",
            "  init IdleA;", "  trans " + family.block(edges, "        ") + ";", "}", ""]


def ring(n):
    edges = []
    for i in range(1, n + 1):
        edges += [f"Give{i} -> Wait{i} {{ sync take{i}!; }}",
                  f"Wait{i} -> Give{i % n + 1} {{ sync pass{i}?; }}"]
    gives = ", ".join(f"Give{i}" for i in range(1, n + 1))
    waits = ", ".join(f"Wait{i}" for i in range(1, n + 1))
    return ["process Ring {", f"  state {gives},", f"        {waits};", f"  commit {gives};",
            "  init Give1;", "  trans " + family.block(edges, "        ") + ";", "}", ""]


def model(arguments):
    n = arguments.n
    ttrt = arguments.ttrt if arguments.ttrt is not None else 50 * n
    out = [f"// An FDDI-like token ring with {n} stations, TTRT = {ttrt}, SA = {arguments.sa}.",
           f"const ttrt {ttrt};", f"const sa {arguments.sa};",
           "chan " + ", ".join(f"take{i}, pass{i}" for i in range(1, n + 1)) + ";", ""]
    for i in range(1, n + 1):
        out += station(i)
    out += ring(n)
    out.append("system " + ", ".join(f"Station{i}" for i in range(1, n + 1)) + ", Ring;")
    return "\n".join(out) + "\n"


def parts(arguments):
    return [holding(1), holding(2)]


def main():
    parser = family.parser(__doc__.splitlines()[0])
    parser.add_argument("--sa", type=int, default=20,
                        help="synchronous allocation of a station (default 20)")
    parser.add_argument("--ttrt", type=int, default=None,
                        help="target token rotation time (default 50 N)")
    family.emit(parser.parse_args(), model, parts)


if __name__ == "__main__":
    main()
