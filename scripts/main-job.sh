#!/usr/bin/env bash
# The main job: verifies the bundled Fischer example with the command-line
# verifier. Every property of its query file is checked with statistics, one
# property is shown with its diagnostic trace, and the verdicts are compared
# with the expected ones; the job fails when one differs.
#
#   scripts/main-job.sh [BUILD_DIR]
set -uo pipefail
build=${1:-build}
orvela="$build/tools/orvela"
model=examples/fischer.ta
queries=examples/fischer.q
expected=examples/fischer.expected
traced='E<> P1.wait and P2.wait and P3.wait'

if [ ! -x "$orvela" ]; then
  echo "main job: no verifier at $orvela" >&2
  exit 1
fi

echo "== Verifying $model against the properties of $queries"
echo "\$ orvela --stats $model $queries"
"$orvela" --stats "$model" "$queries"
status=$?
case $status in
0) echo "(exit status 0: every property is satisfied)" ;;
1) echo "(exit status 1: some properties are not satisfied, as the comments in $queries explain)" ;;
*) echo "(exit status $status: see orvela --help)" ;;
esac
echo

echo "== A diagnostic trace: how all three processes come to wait at once"
echo "\$ orvela --trace $model -e '$traced'"
"$orvela" --trace "$model" -e "$traced" || exit 1
echo

echo "== Comparing the verdicts with $expected"
# The verifier's status says some properties do not hold, which is expected.
report=$("$orvela" --format json "$model" "$queries")
python3 -c '
import json, sys
report = json.load(sys.stdin)
expected = []
for line in open(sys.argv[1], encoding="utf-8"):
    if line.strip():
        verdict, _, prop = line.rstrip("\n").partition("  ")
        expected.append((verdict, prop))
found = [(p["verdict"], p["property"]) for p in report["properties"]]
wrong = [(e, f) for e, f in zip(expected, found) if e != f]
if len(expected) != len(found):
    print(f"{len(found)} properties checked, {len(expected)} expected")
    sys.exit(1)
for (verdict, prop), (got, _) in wrong:
    print(f"MISMATCH  {prop}: expected {verdict}, got {got}")
if wrong:
    sys.exit(1)
print(f"all {len(found)} verdicts are as expected")
' "$expected" <<<"$report"
