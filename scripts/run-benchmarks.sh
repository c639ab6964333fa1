#!/usr/bin/env bash
# Runs every benchmark program of the build.
set -euo pipefail
build=${1:-build}
shopt -s nullglob
ran=0
for program in "$build"/bench/*Bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program"
  ran=1
done
[ $ran -eq 1 ] || echo "no benchmarks built yet"
