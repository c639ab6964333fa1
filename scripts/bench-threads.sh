#!/usr/bin/env bash
# The speed-up of several threads over one: full searches (the property
# holds, so the whole state space is explored) by the verifier with
# --threads 1 and --threads N, alternating, best wall time of REPEATS runs
# each, with the states explored and stored and the CPU seconds.
#
#   scripts/bench-threads.sh [BUILD_DIR] [MODELS_DIR]
#
# ORVELA_BENCH_THREADS (default 2) is N; ORVELA_BENCH_REPEATS (default 3).
# Run it on a quiet machine: another busy process takes a core from a worker.
set -euo pipefail
build=${1:-build}
models=${2:-${ORVELA_BENCH_MODELS_DIR:-/work/shared/bench-models}}
verifier="$build/tools/orvela"
generators="$(dirname "$0")/../bench/generators"
threads=${ORVELA_BENCH_THREADS:-2}
repeats=${ORVELA_BENCH_REPEATS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$generators/csmacd.py" 8 >"$work/csmacd-8.ta"

# model file | property | verifier options
table="
$models/fischer-6.ta|A[] not (P1.cs and P2.cs)|--extrapolation global-max --subsumption inclusion
$models/traingate-5.ta|A[] not (Train1.Cross and Train2.Cross)|--extrapolation global-max --subsumption inclusion
$work/csmacd-8.ta|A[] not (Station1.Transm and Station2.Transm and Bus.Idle)|
"

# One run: "wall cpu explored stored".
run() {
  local out
  out=$( { /usr/bin/time -f "%e %U %S" "$verifier" --format json --reduction 0 --threads "$1" \
    $3 -e "$2" "$4" >"$work/report.json"; } 2>&1 | tail -1)
  python3 - "$work/report.json" "$out" <<'PY'
import json, sys
report = json.load(open(sys.argv[1]))
wall, user, system = map(float, sys.argv[2].split())
stats = report["properties"][0]["stats"]
print(f"{wall:.2f} {user + system:.2f} {stats['explored']} {stats['stored']}")
PY
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| model | options | threads | explored | stored | best s | CPU s | speed-up |"
echo "|---|---|---:|---:|---:|---:|---:|---:|"
while IFS='|' read -r file property options; do
  [ -n "$file" ] || continue
  declare -A best=() line=()
  for _ in $(seq "$repeats"); do
    for t in 1 "$threads"; do
      result=$(run "$t" "$property" "$options" "$file")
      read -r wall _ _ _ <<<"$result"
      if [ -z "${best[$t]:-}" ] || awk -v a="$wall" -v b="${best[$t]}" 'BEGIN { exit !(a < b) }'; then
        best[$t]=$wall
        line[$t]=$result
      fi
    done
  done
  for t in 1 "$threads"; do
    read -r wall cpu explored stored <<<"${line[$t]}"
    speedup=$(awk -v a="${best[1]}" -v b="$wall" 'BEGIN { printf "%.2f", a / b }')
    echo "| $(basename "$file" .ta) | ${options:-default} | $t | $explored | $stored | $wall |" \
      "$cpu | $speedup |"
  done
  unset best line
done <<<"$table"
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
