#!/usr/bin/env bash
# Runs the benchmarks of a build: first a full search over each benchmark model
# (breadth-first, every state stored, no trace), printed as a table beside the
# peer checker's figures and our targets; then every micro-benchmark program.
#
#   scripts/run-benchmarks.sh [BUILD_DIR] [MODELS_DIR]
#
# ORVELA_BENCH_ONLY="fischer-5 csmacd-6" limits the table to those models;
# ORVELA_BENCH_MICRO=0 skips the micro-benchmarks.
set -euo pipefail
build=${1:-build}
models=${2:-${ORVELA_BENCH_MODELS_DIR:-/work/shared/bench-models}}
reach="$build/bench/orvela-reach"

# model | property | peer explored | peer stored | peer seconds | peer MiB | target s | target MiB
table="
fischer-4|A[] not (P1.cs and P2.cs)|3077|3077|0.03|13||
fischer-5|A[] not (P1.cs and P2.cs)|46361|46361|0.98|27|0.45|
fischer-6|A[] not (P1.cs and P2.cs)|835735|835735|272|262|135|200
csmacd-4|A[] not (Station1.Start and Station2.Start and Bus.Idle)|818|818|0.02|11||
csmacd-5|A[] not (Station1.Start and Station2.Start and Bus.Idle)|6520|6520|0.19|19||
csmacd-6|A[] not (Station1.Start and Station2.Start and Bus.Idle)|55702|55702|4.53|48|2.2|
fddi-5|TOKEN|3013|1719|0.23|15||
fddi-6|TOKEN|8714|4198|0.95|29||
fddi-7|TOKEN|24695|9851|4.94|56||
fddi-8|TOKEN|69248|22502|21.9|122|5|
traingate-3|A[] not (Train1.Cross and Train2.Cross)|1024|976|0.01|9||
traingate-4|A[] not (Train1.Cross and Train2.Cross)|23629|21517|0.23|19||
traingate-5|A[] not (Train1.Cross and Train2.Cross)|648256|597076|30.1|168|15|
"
token="A[] not ((P1.q1 or P1.q2 or P1.q3 or P1.q5 or P1.q6 or P1.q7) and \
(P2.q1 or P2.q2 or P2.q3 or P2.q5 or P2.q6 or P2.q7))"

field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }

if [ -x "$reach" ] && [ -d "$models" ]; then
  echo "== full searches: breadth-first, every state stored, exact zones, no trace"
  echo
  echo "| model | explored | stored (kept) | peer stored | seconds | peer s | target s | MiB | peer MiB | target MiB |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
  while IFS='|' read -r model property peerExplored peerStored peerSeconds peerMiB targetSeconds targetMiB; do
    [ -n "$model" ] || continue
    if [ -n "${ORVELA_BENCH_ONLY:-}" ] && [[ " $ORVELA_BENCH_ONLY " != *" $model "* ]]; then
      continue
    fi
    [ "$property" = TOKEN ] && property=$token
    file="$models/$model.ta"
    if [ ! -f "$file" ]; then
      echo "| $model | missing | | | | | | | | |"
      continue
    fi
    line=$("$reach" --order 0 --reduction 0 "$file" "$property")
    explored=$(field explored "$line")
    kept=$(field kept "$line")
    seconds=$(field seconds "$line")
    mib=$(field peak_mib "$line")
    mark=""
    [ "$explored" = "$peerExplored" ] && [ "$kept" = "$peerStored" ] || mark=" (differs)"
    echo "| $model | $explored | $kept$mark | $peerStored | $seconds | $peerSeconds |" \
      "${targetSeconds:--} | $mib | $peerMiB | ${targetMiB:--} |"
  done <<<"$table"
  echo
else
  echo "no model driver ($reach) or no models ($models)"
fi

[ "${ORVELA_BENCH_MICRO:-1}" = 0 ] && exit 0
shopt -s nullglob
ran=0
for program in "$build"/bench/*Bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program"
  ran=1
done
[ $ran -eq 1 ] || echo "no micro-benchmarks built"
