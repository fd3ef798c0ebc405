#!/usr/bin/env bash
# Long fuzzing run of one target (or all), keeping the grown corpus:
# fuzz-long.sh [TARGET] [SECONDS]   (builds the fuzz preset first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$(nproc)"
seconds=${2:-600}
targets=${1:-$(cd fuzz && ls *.cpp | sed 's/\.cpp$//')}
for t in $targets; do
  mkdir -p "fuzz/corpus/$t" "build/fuzz/artifacts/$t"
  echo "fuzzing $t for $seconds s; crashes go to build/fuzz/artifacts/$t (make each a fixture)"
  "build/fuzz/fuzz/$t" -max_total_time="$seconds" -artifact_prefix="build/fuzz/artifacts/$t/" \
    "fuzz/corpus/$t" || true
done
