#!/usr/bin/env bash
# How the parallel search scales: full searches (the property holds, so the
# whole state space is explored) by orvela-reach, sequentially and with the
# parallel search's 1 and N workers, alternating, best wall time of REPEATS
# runs each, with the states explored and stored and the CPU seconds.
#
#   scripts/bench-threads.sh [BUILD_DIR] [MODELS_DIR]
#
# ORVELA_BENCH_THREADS (default 2) is N; ORVELA_BENCH_REPEATS (default 3).
# Run it on a quiet machine: another busy process takes a core from a worker.
set -euo pipefail
build=${1:-build}
models=${2:-${ORVELA_BENCH_MODELS_DIR:-/work/shared/bench-models}}
reach="$build/bench/orvela-reach"
generators="$(dirname "$0")/../bench/generators"
threads=${ORVELA_BENCH_THREADS:-2}
repeats=${ORVELA_BENCH_REPEATS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in 7 8; do python3 "$generators/csmacd.py" "$n" >"$work/csmacd-$n.ta"; done

# model file | property | abstraction (orvela-reach's digits). csmacd-8
# takes a tenth of a second under the default abstraction and many minutes
# under the others, so csmacd-7 stands for it under the maximal constants.
table="
$models/fischer-6.ta|A[] not (P1.cs and P2.cs)|--extrapolation 0 --subsumption 0
$models/traingate-5.ta|A[] not (Train1.Cross and Train2.Cross)|--extrapolation 0 --subsumption 0
$models/traingate-5.ta|A[] not (Train1.Cross and Train2.Cross)|--extrapolation 1 --subsumption 0
$work/csmacd-7.ta|A[] not (Station1.Transm and Station2.Transm and Bus.Idle)|--extrapolation 0 --subsumption 0
$work/csmacd-8.ta|A[] not (Station1.Transm and Station2.Transm and Bus.Idle)|--extrapolation 3 --subsumption 1
"

field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }

# One run, engine "seq" or a worker count: "wall cpu explored stored".
run() {
  local engine=$1 file=$2 property=$3 abstraction=$4 line times
  local extra=()
  [ "$engine" = seq ] || extra=(--threads "$engine")
  # shellcheck disable=SC2086 # the abstraction is two options
  times=$( { /usr/bin/time -f "%e %U %S" "$reach" --reduction 0 $abstraction "${extra[@]}" \
    "$file" "$property" >"$work/line"; } 2>&1 | tail -1)
  line=$(cat "$work/line")
  read -r wall user system <<<"$times"
  echo "$wall $(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')" \
    "$(field explored "$line") $(field stored "$line")"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| model | abstraction | engine | explored | stored | best s | CPU s | vs 1 worker | vs sequential |"
echo "|---|---|---|---:|---:|---:|---:|---:|---:|"
while IFS='|' read -r file property abstraction; do
  [ -n "$file" ] || continue
  declare -A best=() line=()
  for _ in $(seq "$repeats"); do
    for engine in seq 1 "$threads"; do
      result=$(run "$engine" "$file" "$property" "$abstraction")
      read -r wall _ <<<"$result"
      if [ -z "${best[$engine]:-}" ] ||
        awk -v a="$wall" -v b="${best[$engine]}" 'BEGIN { exit !(a < b) }'; then
        best[$engine]=$wall
        line[$engine]=$result
      fi
    done
  done
  for engine in seq 1 "$threads"; do
    read -r wall cpu explored stored <<<"${line[$engine]}"
    name=$([ "$engine" = seq ] && echo sequential || echo "$engine worker(s)")
    vsOne=$(awk -v a="${best[1]}" -v b="$wall" 'BEGIN { printf "%.2f", a / b }')
    vsSeq=$(awk -v a="${best[seq]}" -v b="$wall" 'BEGIN { printf "%.2f", a / b }')
    echo "| $(basename "$file" .ta) | ${abstraction//--/} | $name | $explored | $stored |" \
      "$wall | $cpu | $vsOne | $vsSeq |"
  done
  unset best line
done <<<"$table"
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
