#!/usr/bin/env python3
"""A CSMA/CD-like bus shared by N stations.

A station starts sending (begin) when the bus takes it; a frame that is not
disturbed lasts lambda and ends with end. For sigma after a begin the signal
has not reached every station, so another station may begin too: the bus
sees a collision and, within sigma, tells every station (cd1, ..., cdN, one
after the other through committed locations). A sending station that is told
backs off and retries within 2 sigma. Past sigma the bus answers a station
that wants to send with busy, and that station backs off as well. The
target, two stations sending on an idle bus, is never reached.
"""

import family


def bus(n):
    edges = [
        "Idle -> Active { sync begin?; assign y := 0; }",
        "Active -> Idle { sync end?; assign y := 0; }",
        "Active -> Active { guard y >= sigma; sync busy!; }",
        "Active -> Collision { guard y < sigma; sync begin?; assign y := 0; }",
    ]
    # The collision is told to the stations in turn; only the first step
    # takes time.
    notify = ["Collision"] + [f"Tell{i}" for i in range(2, n + 1)] + ["Idle"]
    for i in range(1, n + 1):
        guard = "guard y < sigma; " if i == 1 else ""
        reset = " assign y := 0;" if i == n else ""
        edges.append(f"{notify[i - 1]} -> {notify[i]} {{ {guard}sync cd{i}!;{reset} }}")
    tell = ", ".join(notify[1:-1])
    return ["process Bus {", "  clock y;",
            "  state Idle, Active, Collision { y < sigma }" + (", " + tell if tell else "") + ";",
            *([f"  commit {tell};"] if tell else []),
            "  init Idle;", "  trans " + family.block(edges, "        ") + ";", "}", ""]


def station(i):
    edges = [
        "Wait -> Transm { sync begin!; assign x := 0; }",
        "Wait -> Retry { sync busy?; assign x := 0; }",
        f"Wait -> Retry {{ sync cd{i}?; assign x := 0; }}",
        "Transm -> Wait { guard x == lambda; sync end!; assign x := 0; }",
        f"Transm -> Retry {{ guard x < 2 * sigma; sync cd{i}?; assign x := 0; }}",
        "Retry -> Transm { guard x < 2 * sigma; sync begin!; assign x := 0; }",
        "Retry -> Retry { sync busy?; assign x := 0; }",
        f"Retry -> Retry {{ sync cd{i}?; assign x := 0; }}",
    ]
    return [f"process Station{i} {{", "  clock x;",
            "  state Wait, Transm { x <= lambda }, Retry { x < 2 * sigma };", "  init Wait;",
            "  trans " + family.block(edges, "        ") + ";", "}", ""]


def model(arguments):
    n = arguments.n
    out = [f"// A CSMA/CD-like bus with {n} stations, lambda = {arguments.lam}, "
           f"sigma = {arguments.sigma}.",
           f"const lambda {arguments.lam};", f"const sigma {arguments.sigma};",
           "chan begin, end, busy, " + ", ".join(f"cd{i}" for i in range(1, n + 1)) + ";", ""]
    out += bus(n)
    for i in range(1, n + 1):
        out += station(i)
    out.append("system Bus, " + ", ".join(f"Station{i}" for i in range(1, n + 1)) + ";")
    return "\n".join(out) + "\n"


def parts(arguments):
    return ["Station1.Transm", "Station2.Transm", "Bus.Idle"]


def main():
    parser = family.parser(__doc__.splitlines()[0])
    parser.add_argument("--lambda", dest="lam", type=int, default=808,
                        help="length of a frame (default 808)")
    parser.add_argument("--sigma", type=int, default=26,
                        help="propagation delay of the bus (default 26)")
    family.emit(parser.parse_args(), model, parts)


if __name__ == "__main__":
    main()
