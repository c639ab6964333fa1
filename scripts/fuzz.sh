#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (installing clang and its
# runtime when missing) and runs each for a bounded time:
#   scripts/fuzz.sh [BUILD_DIR]     FUZZ_SECONDS=60 per target by default,
#                                   FUZZ_TARGETS to run only some targets
# The working corpus of each target (build dir, corpus/<target>) starts from
# the checked-in seeds, the kept crash inputs and the example models, and
# grows from run to run. A crash, a leak or a sanitizer report stops the
# target, leaves the input in artifacts/<target>/ and fails the script:
# fix the fault, then keep the input in tests/fuzz/regressions/<target>/ so
# that `make test` replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-2}
read -r -a targets <<<"${FUZZ_TARGETS:-command_loop system_parser property_parser}"

ORVELA_SETUP_EXTRA="clang libclang-rt-14-dev ${ORVELA_SETUP_EXTRA:-}" scripts/setup.sh

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DORVELA_FUZZ=ON -DORVELA_WERROR=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

# Seeds: the checked-in ones and the kept crash inputs, and the example models
# and their properties, each also as a session that loads the model and checks
# its properties.
seed() {
  local target=$1 corpus=$2
  mkdir -p "$corpus"
  for folder in tests/fuzz/seeds/"$target" tests/fuzz/regressions/"$target"; do
    [ -d "$folder" ] && cp -n "$folder"/* "$corpus"/ 2>/dev/null || true
  done
  for model in examples/*.ta; do
    [ -e "$model" ] || continue
    local name queries
    name=$(basename "$model" .ta)
    queries="${model%.ta}.q"
    case $target in
    system_parser) cp "$model" "$corpus/example-$name" ;;
    property_parser) [ -e "$queries" ] && cp "$queries" "$corpus/example-$name" ;;
    command_loop)
      {
        printf 'newSystem\n'
        cat "$model"
        printf '\n.\n'
        if [ -e "$queries" ]; then
          grep -v '^[[:space:]]*\(//.*\)\?$' "$queries" | while IFS= read -r property; do
            printf 'modelCheck\n%s\n.\n' "$property"
          done
        fi
      } >"$corpus/example-$name"
      ;;
    esac
  done
}

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  seed "$target" "$corpus"
  mkdir -p "$artifacts"
  echo "fuzz: $target for ${seconds}s" >&2
  # Inputs up to 64 KiB, so that whole models with their properties fit. A
# single input may take long (a model with a huge state space): such
  # inputs are cut off after the time-out and skipped, not reported as faults.
  if ! "$build/tests/fuzz/fuzz_$target" "$corpus" \
    -dict="tests/fuzz/dictionaries/$target.dict" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -fork=1 -ignore_timeouts=1 -ignore_ooms=0 -ignore_crashes=0 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 >"$build/fuzz-$target.log" 2>&1; then
    echo "fuzz: $target FAILED; see $build/fuzz-$target.log and $artifacts/" >&2
    grep -E "ERROR|fault|SUMMARY|Test unit written" "$build/fuzz-$target.log" | head -20 >&2 || true
    status=1
  else
    grep -E "^#[0-9]+.*DONE|stat::number_of_executed_units|cov:" "$build/fuzz-$target.log" |
      tail -2 >&2 || true
  fi
done
exit $status
