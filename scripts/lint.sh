#!/usr/bin/env bash
# Fails when a C++ source under version control does not follow .clang-format;
# prints the first differences. `scripts/lint.sh --fix` reformats instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tools tests bench -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if ! clang-format --dry-run --Werror "${files[@]}" 2>"$report"; then
  head -40 "$report" >&2
  echo "lint: run scripts/lint.sh --fix to reformat" >&2
  exit 1
fi
echo "lint: every source follows .clang-format"
