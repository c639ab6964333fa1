#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over every source of src/ and
# tools/ with the compile commands of the build tree $1; fails on a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build "$build" -j"${JOBS:-2}" >/dev/null # generated parser headers
mapfile -t files < <(git ls-files 'src/*.cpp' 'tools/*.cpp')
if printf '%s\n' "${files[@]}" | xargs -P "${JOBS:-2}" -n 4 clang-tidy -p "$build" --quiet 2>/dev/null |
    grep -E 'warning:|error:'; then
  echo "tidy: findings above" >&2
  exit 1
fi
echo "tidy: no findings"
