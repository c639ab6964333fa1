#!/usr/bin/env python3
"""orvela-mpi over 2 and 3 processes against the sequential verifier.

For every example model with its queries and for generated family members,
the distributed report must equal the verifier's line for line (verdicts,
kinds, exit status). One run per family member prints traces: each must be
rebuilt across the processes and replay (orvela-mpi fails otherwise), the
verdicts must stay those of the verifier, and states must have travelled.

usage: mpi_verdicts.py ORVELA ORVELA_MPI SOURCE_DIR
"""

import glob
import os
import re
import subprocess
import sys
import tempfile

orvela, orvela_mpi, source = sys.argv[1:4]
# Open MPI's plugins leak at exit and are unloaded before the leak check, so
# their leaks cannot be suppressed by name: the sanitized build checks the
# distributed processes for memory errors but not for leaks.
env = dict(os.environ, OMPI_ALLOW_RUN_AS_ROOT="1", OMPI_ALLOW_RUN_AS_ROOT_CONFIRM="1",
           ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0")
failures = []


def run(command, environment=None):
    done = subprocess.run(command, capture_output=True, text=True, env=environment, timeout=60)
    return done.returncode, done.stdout


def distributed(ranks, arguments):
    return run(["mpirun", "--oversubscribe", "-np", str(ranks), orvela_mpi] + arguments, env)


def verdicts(text):
    return re.findall(r"^(?:satisfied|not satisfied|maybe|unknown) .*$", text, re.M)


def compare(name, arguments):
    expected = run([orvela] + arguments)
    if not verdicts(expected[1]):
        failures.append(f"{name}: the verifier checked nothing")
    for ranks in (2, 3):
        if distributed(ranks, arguments) != expected:
            failures.append(f"{name} over {ranks} processes differs from the verifier")


# (generator, size, properties beyond the generator's own, extra options)
generated = [
    ("fischer", 4, ["E<> P1.cs and P2.wait and P3.wait and P4.wait"], []),
    ("csmacd", 4, ["E<> Station1.Transm and Station4.Transm"], ["--order", "dfs"]),
    ("fddi", 3, ["E<> Station1.IdleB and Station2.IdleB and Ring.Give3"],
     ["--extrapolation", "global-max", "--subsumption", "inclusion", "--reduction", "0"]),
]

for model in sorted(glob.glob(os.path.join(source, "examples", "*.ta"))):
    compare(os.path.basename(model), [model, model[:-3] + ".q"])

with tempfile.TemporaryDirectory() as scratch:
    for family, size, extra, options in generated:
        script = os.path.join(source, "bench", "generators", family + ".py")
        model = os.path.join(scratch, f"{family}-{size}.ta")
        queries = model[:-3] + ".q"
        with open(model, "w") as out:
            subprocess.run([sys.executable, script, str(size)], stdout=out, check=True)
        own = subprocess.run([sys.executable, script, str(size), "--property"],
                             capture_output=True, text=True, check=True).stdout
        with open(queries, "w") as out:
            out.write(own + "".join(line + "\n" for line in extra))
        compare(f"{family}-{size}", options + [model, queries])

        status, expected = run([orvela] + options + [model, queries])
        status3, traced = distributed(3, options + ["--trace", "--stats", model, queries])
        sent = re.findall(r"sent (\d+) states", traced)
        if (status3, verdicts(traced)) != (status, verdicts(expected)):
            failures.append(f"{family}-{size} with traces over 3 processes: status {status3}")
        elif "trace of" not in traced:
            failures.append(f"{family}-{size}: no trace printed")
        elif not sent or int(sent[0]) == 0:
            failures.append(f"{family}-{size}: no state was sent to another process")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
