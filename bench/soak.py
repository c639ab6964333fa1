#!/usr/bin/env python3
"""Soak test: one server session of many mixed requests, with the server's
resident memory printed as it goes.

    python3 bench/soak.py [--server build/src/orvela-server] [--requests 10000]
                          [--every 500] [--warm-up 2000]

The session cycles through the example models (examples/*.ta) and two larger
generated ones (Fischer and CSMA/CD with four processes). For each it
loads the model, sets options (reuse and traces on every other cycle, the
search order and the representation varied), starts the domain and
response-time collections, checks every property of the model's .q file,
collects both analyses, and takes simulation steps: the initial state, its
enabled moves, the successor by the first move, and that successor as the
start state of a check (its first property). Every request is followed by "version", whose banner
marks the end of the reply; the version requests are not counted.

Every --every requests one line is printed: requests served, seconds, the
resident memory (VmRSS) and its peak (VmHWM) in MiB. At the end the growth of
the resident memory after the warm-up is printed. The run fails (status 1) if
a request is answered with an error or the server ends early.
"""

import argparse
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BANNER = "ORVELA version 1.0 Beta, Nov 2002 -- server."


class Server:
    def __init__(self, path):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.read_until_dot()  # the greeting

    def line(self):
        text = self.process.stdout.readline()
        if not text:
            sys.exit(f"soak: the server ended (status {self.process.wait()})")
        return text.rstrip("\n")

    def read_until_dot(self):
        lines = []
        while (line := self.line()) != ".":
            lines.append(line)
        return lines

    def request(self, text):
        """Sends one request and answers the lines of its reply."""
        self.process.stdin.write(text + "version\n")
        self.process.stdin.flush()
        reply = []
        while (line := self.line()) != BANNER:
            reply.append(line)
        if reply[-1:] != ["ok"] or self.line() != ".":
            sys.exit("soak: the version reply is broken")
        return reply[:-1]

    def memory(self):
        fields = {}
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                key, _, value = line.partition(":")
                fields[key] = value.split()
        return int(fields["VmRSS"][0]) / 1024, int(fields["VmHWM"][0]) / 1024

    def close(self):
        self.process.stdin.write("quit\n")
        self.process.stdin.close()
        return self.process.wait()


def examples():
    """(description, properties) of every example model."""
    folder = os.path.join(ROOT, "examples")
    for name in sorted(os.listdir(folder)):
        if name.endswith(".ta"):
            with open(os.path.join(folder, name)) as model, \
                    open(os.path.join(folder, name[:-3] + ".q")) as queries:
                yield model.read(), [line.strip() for line in queries
                                     if line.strip() and not line.strip().startswith("//")]


def generated(family, n):
    """A larger member of a generated family with its property and two more."""
    script = os.path.join(ROOT, "bench", "generators", family + ".py")
    run = lambda *arguments: subprocess.run([sys.executable, script, *arguments, str(n)],
                                            check=True, capture_output=True, text=True).stdout
    return run(), [run("--property").strip(), "A[] not deadlock", "E<> deadlock"]


def state_block(lines):
    """The first state block of `lines` (locations, zone, integers) and the rest."""
    end = lines.index(".")  # locations
    at = end + 1
    while lines[at] != ".":  # constraint groups of four lines
        at += 4
    end = lines.index(".", at + 1)  # integers
    return lines[:end + 1], lines[end + 1:]


def cycles(models, names):
    """Endless requests; "@name" stands for a state or move taken from an
    earlier reply."""
    for number in range(10 ** 9):
        description, queries = models[number % len(models)]
        options = [f"reuse {number // len(models) % 2}", f"trace {number % 2}",
                   f"order {number // 2 % 2}", f"representation {number // 3 % 2}"]
        yield f"newSystem\n{description}\n.\n"
        yield "setOptions\n" + "".join(option + "\n" for option in options) + ".\n"
        integers = names["integers"]  # set from the reply to newSystem
        if integers:
            yield "domainInit\n-1 0 0\n.\n"
        yield "wcrtInit\n-1 0 1\n.\n"
        for query in queries:
            yield f"modelCheck\n{query}\n.\n"
        if integers:
            yield "domainCollect\n"
        yield "wcrtCollect\n"
        yield "getInitialState\n"
        yield "getTransitions\n@initial"
        yield "getSuccessor\n@initial1\n@move\n.\n"
        yield "startState\n@successor"
        yield f"modelCheck\n{queries[0]}\n.\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--server", default=os.path.join(ROOT, "build/src/orvela-server"))
    parser.add_argument("--requests", type=int, default=10000)
    parser.add_argument("--every", type=int, default=500)
    parser.add_argument("--warm-up", type=int, default=2000)
    arguments = parser.parse_args()

    models = list(examples()) + [generated("fischer", 4), generated("csmacd", 4)]
    server = Server(arguments.server)
    start = time.monotonic()
    blocks = {}
    curve = []
    print(f"{'requests':>8} {'seconds':>8} {'rss_mib':>8} {'peak_mib':>8}")
    requests = cycles(models, blocks)
    for served in range(1, arguments.requests + 1):
        request = next(requests)
        for name, text in blocks.items():
            request = request.replace("@" + name, text)
        reply = server.request(request)
        if not reply or reply[0] == "error":
            sys.exit(f"soak: request {served} answered {reply[:3]}:\n{request[:300]}")
        service = request.split("\n", 1)[0]
        if service == "newSystem":
            blocks["integers"] = reply[1]
        elif service == "getInitialState":
            blocks["initial"] = "\n".join(state_block(reply[1:])[0]) + "\n"
        elif service == "getTransitions":
            successor, rest = state_block(reply[1:])
            process, edge = rest[0].split()
            blocks["successor"] = "\n".join(successor) + "\n"
            blocks["move"] = f"{process}\n{int(edge) - 1}"
        if served % arguments.every == 0:
            rss, peak = server.memory()
            curve.append((served, rss))
            print(f"{served:>8} {time.monotonic() - start:>8.1f} {rss:>8.1f} {peak:>8.1f}",
                  flush=True)
    status = server.close()
    after = [rss for served, rss in curve if served >= arguments.warm_up]
    if after:
        print(f"after {arguments.warm_up} requests: {min(after):.1f} to {max(after):.1f} MiB, "
              f"last {after[-1]:.1f} MiB")
    return 0 if status == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
