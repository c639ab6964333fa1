#!/usr/bin/env bash
# Runs the benchmarks of a build:
#   1. a full search over each benchmark model (breadth-first, every state
#      stored, no trace), beside the peer checker's figures, our targets and
#      the ratios, with the bytes per stored state of the exact and the packed
#      representation;
#   2. full searches of the generated models of each family for growing N;
#   3. full searches of each benchmark model under every extrapolation and
#      subsumption choice;
#   4. the cost of the command-line verifier over the server protocol for the
#      same check;
#   5. the speed-up of two threads over one (scripts/bench-threads.sh);
#   6. every micro-benchmark program.
#
#   scripts/run-benchmarks.sh [BUILD_DIR] [MODELS_DIR]
#
# ORVELA_BENCH_ONLY="fischer-5 csmacd-6" limits the model table to those
# models; ORVELA_BENCH_PACKED=0 leaves out the packed searches (they are
# slower), ORVELA_BENCH_GENERATED=0 the generated models, ORVELA_BENCH_VERIFIER=0
# the verifier measurement, ORVELA_BENCH_THREADS=0 the thread speed-up and
# ORVELA_BENCH_MICRO=0 the micro-benchmarks;
# ORVELA_BENCH_ABSTRACTIONS=0 leaves out the abstraction choices, whose
# searches stop after ORVELA_BENCH_ABSTRACTION_SECONDS (default 120).
set -euo pipefail
build=${1:-build}
models=${2:-${ORVELA_BENCH_MODELS_DIR:-/work/shared/bench-models}}
reach="$build/bench/orvela-reach"
server="$build/src/orvela-server"
verifier="$build/tools/orvela"
generators="$(dirname "$0")/../bench/generators"
# The packed search of a model is skipped when the exact one took longer
# than this many seconds.
packedUpTo=${ORVELA_BENCH_PACKED_UP_TO:-10}

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

# family | sizes of the generated models
families="
fischer|2 3 4 5 6
csmacd|2 3 4 5 6 7
fddi|2 3 4 5 6 7 8 9
"

field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
# Wall seconds of a command whose output is dropped.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  awk -v n="$((end - start))" 'BEGIN { printf "%.3f", n / 1e9 }'
}

if [ -x "$reach" ] && [ -d "$models" ]; then
  echo "== full searches: breadth-first, every state stored, no trace"
  echo
  echo "| model | explored | stored (kept) | peer stored | seconds | peer s | target s | s / peer |" \
    "MiB | peer MiB | target MiB | MiB / peer | B/state exact | B/state packed | packed s |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
  while IFS='|' read -r model property peerExplored peerStored peerSeconds peerMiB targetSeconds targetMiB; do
    [ -n "$model" ] || continue
    if [ -n "${ORVELA_BENCH_ONLY:-}" ] && [[ " $ORVELA_BENCH_ONLY " != *" $model "* ]]; then
      continue
    fi
    [ "$property" = TOKEN ] && property=$token
    file="$models/$model.ta"
    if [ ! -f "$file" ]; then
      echo "| $model | missing | | | | | | | | | | | | | |"
      continue
    fi
    line=$("$reach" --order 0 --reduction 0 "$file" "$property")
    explored=$(field explored "$line")
    kept=$(field kept "$line")
    secs=$(field seconds "$line")
    mib=$(field peak_mib "$line")
    mark=""
    [ "$explored" = "$peerExplored" ] && [ "$kept" = "$peerStored" ] || mark=" (differs)"
    packedBytes="-" packedSeconds="-"
    if [ "${ORVELA_BENCH_PACKED:-1}" != 0 ] &&
      awk -v s="$secs" -v m="$packedUpTo" 'BEGIN { exit !(s <= m) }'; then
      packed=$("$reach" --order 0 --reduction 0 --representation 1 "$file" "$property")
      packedBytes=$(field bytes_per_state "$packed")
      packedSeconds=$(field seconds "$packed")
    fi
    echo "| $model | $explored | $kept$mark | $peerStored | $secs | $peerSeconds |" \
      "${targetSeconds:--} | $(ratio "$secs" "$peerSeconds") | $mib | $peerMiB |" \
      "${targetMiB:--} | $(ratio "$mib" "$peerMiB") | $(field bytes_per_state "$line") |" \
      "$packedBytes | $packedSeconds |"
  done <<<"$table"
  echo
else
  echo "no model driver ($reach) or no models ($models)"
fi

if [ "${ORVELA_BENCH_GENERATED:-1}" != 0 ] && [ -x "$reach" ] && [ -d "$generators" ]; then
  echo "== generated models: breadth-first, every state stored, exact zones, no trace"
  echo
  echo "| family | N | stored (kept) | explored | seconds | states/s | MiB | B/state |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  while IFS='|' read -r family sizes; do
    [ -n "$family" ] || continue
    [ -f "$generators/$family.py" ] || continue
    for n in $sizes; do
      python3 "$generators/$family.py" "$n" >"$work/model.ta"
      property=$(python3 "$generators/$family.py" --property "$n")
      line=$("$reach" --order 0 --reduction 0 "$work/model.ta" "$property")
      explored=$(field explored "$line")
      secs=$(field seconds "$line")
      echo "| $family | $n | $(field kept "$line") | $explored | $secs |" \
        "$(awk -v e="$explored" -v s="$secs" 'BEGIN { if (s > 0) printf "%.0f", e / s; else printf "-" }') |" \
        "$(field peak_mib "$line") | $(field bytes_per_state "$line") |"
    done
  done <<<"$families"
  echo
fi

if [ "${ORVELA_BENCH_ABSTRACTIONS:-1}" != 0 ] && [ -x "$reach" ] && [ -d "$models" ]; then
  echo "== abstraction choices: breadth-first, every state stored, exact zones, no trace"
  echo "   extrapolation 0 global max, 1 local max, 2 global LU, 3 local LU;"
  echo "   subsumption 0 inclusion, 1 LU simulation"
  echo
  echo "| model | extrapolation | subsumption | explored | stored | kept | seconds | MiB |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|"
  while IFS='|' read -r model property _; do
    [ -n "$model" ] || continue
    if [ -n "${ORVELA_BENCH_ONLY:-}" ] && [[ " $ORVELA_BENCH_ONLY " != *" $model "* ]]; then
      continue
    fi
    [ "$property" = TOKEN ] && property=$token
    [ -f "$models/$model.ta" ] || continue
    for subsumption in 0 1; do
      for extrapolation in 0 1 2 3; do
        line=$(timeout "${ORVELA_BENCH_ABSTRACTION_SECONDS:-120}" "$reach" --order 0 \
          --reduction 0 --extrapolation "$extrapolation" --subsumption "$subsumption" \
          "$models/$model.ta" "$property" || echo "timeout")
        echo "| $model | $extrapolation | $subsumption | $(field explored "$line") |" \
          "$(field stored "$line") | $(field kept "$line") | $(field seconds "$line") |" \
          "$(field peak_mib "$line") |"
      done
    done
  done <<<"$table"
  echo
fi

if [ "${ORVELA_BENCH_VERIFIER:-1}" != 0 ] && [ -x "$verifier" ] && [ -x "$server" ] &&
  [ -d "$models" ]; then
  echo "== the verifier against the server protocol: one full check, whole process," \
    "best of 3 runs"
  echo
  echo "| model | server s | verifier s | verifier / server |"
  echo "|---|---:|---:|---:|"
  for model in fischer-5 csmacd-6 fddi-7 traingate-4; do
    file="$models/$model.ta"
    [ -f "$file" ] || continue
    property=$(awk -F'|' -v m="$model" '$1 == m { print $2 }' <<<"$table")
    [ "$property" = TOKEN ] && property=$token
    request=$(printf 'newSystem\n%s\n.\nsetOptions\nreduction 0\n.\nmodelCheck\n%s\n.\nquit\n' \
      "$(cat "$file")" "$property")
    bestServer="" bestVerifier=""
    for _ in 1 2 3; do
      s=$(seconds "$server" <<<"$request")
      v=$(seconds "$verifier" --reduction 0 "$file" -e "$property")
      bestServer=$(awk -v a="$s" -v b="${bestServer:-$s}" 'BEGIN { print (a < b ? a : b) }')
      bestVerifier=$(awk -v a="$v" -v b="${bestVerifier:-$v}" 'BEGIN { print (a < b ? a : b) }')
    done
    echo "| $model | $bestServer | $bestVerifier | $(ratio "$bestVerifier" "$bestServer") |"
  done
  echo
fi

if [ "${ORVELA_BENCH_THREADS:-1}" != 0 ] && [ -x "$verifier" ] && [ -d "$models" ]; then
  echo "== threads: full searches, sequential and by one and two workers"
  echo
  ORVELA_BENCH_THREADS=2 "$(dirname "$0")/bench-threads.sh" "$build" "$models"
  echo
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
