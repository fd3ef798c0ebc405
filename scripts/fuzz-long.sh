#!/usr/bin/env bash
# Long fuzzing run of every target (or one), on all cores, that keeps what it
# learns: fuzz-long.sh [TARGET|all] [SECONDS]   (builds the fuzz preset first)
#
# Each target fuzzes for SECONDS (default 300) in libFuzzer's fork mode with
# FUZZ_JOBS workers (default: the number of cores), starting from its seeds
# (fuzz/corpus/<target>). A target that has run fewer than FUZZ_MIN_RUNS
# inputs (default 500000) by then goes on until it has. Afterwards the grown
# corpus is merged back into the seed folder in minimised form: the seeds
# written by hand (named files) stay as they are, and the fuzzer's own files
# (named by their SHA-1) are replaced by the smallest set that adds to what
# the named seeds reach. Crashes, hangs and out-of-memory inputs go to
# build/fuzz/long/<target>/artifacts; make each a fixed fault with a
# regression test. Ends with one table: runs, runs per second, coverage
# features and corpus size per target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$(nproc)"
target=${1:-all}
seconds=${2:-300}
jobs=${FUZZ_JOBS:-$(nproc)}
minRuns=${FUZZ_MIN_RUNS:-500000}
if [ "$target" = all ]; then
  targets=$(cd fuzz && ls *.cpp | sed 's/\.cpp$//')
else
  targets=$target
fi

table=build/fuzz/long/table.txt
mkdir -p build/fuzz/long
printf '%-18s %10s %8s %6s %8s %7s %9s %s\n' target runs exec/s cov features corpus seconds findings >"$table"

# The last status line of a fork-mode log:
# "#RUNS: cov: C ft: F corp: N exec/s E oom/timeout/crash: O/T/C time: Ss ..."
status_of() { grep -E '^#[0-9]+: cov:' "$1" | tail -n 1; }
field() { sed -n "s/.*$1 \([0-9]*\).*/\1/p"; }

for t in $targets; do
  exe=build/fuzz/fuzz/$t
  seeds=fuzz/corpus/$t
  work=build/fuzz/long/$t
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts" "$seeds"
  echo "fuzz-long: $t for $seconds s on $jobs workers"
  # Crashes, hangs and running out of memory are recorded and the run goes
  # on, so one finding does not hide the next.
  run() {
    "$exe" -fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -timeout=10 \
      -artifact_prefix="$work/artifacts/" "$@" "$work/corpus" "$seeds" >"$work/log.part" 2>&1 || true
    cat "$work/log.part" >>"$work/log"
    status_of "$work/log.part" | sed -n 's/^#\([0-9]*\):.*/\1/p'
  }
  start=$(date +%s)
  : >"$work/log"
  total=$(run -max_total_time="$seconds")
  total=${total:-0}
  # Fork mode counts its runs itself; more time until the minimum is reached.
  while [ "$total" -lt "$minRuns" ]; do
    echo "fuzz-long: $t has run $total inputs; going on to $minRuns"
    more=$(run -runs=$((minRuns - total)))
    [ -n "$more" ] && [ "$more" -gt 0 ] || break
    total=$((total + more))
  done
  elapsed=$(($(date +%s) - start))
  last=$(status_of "$work/log")
  cov=$(echo "$last" | field 'cov:')
  ft=$(echo "$last" | field 'ft:')
  findings=$(ls "$work/artifacts" | wc -l)

  # Minimise: the named seeds first, then whatever adds to them.
  merged=$work/merged
  rm -rf "$merged"
  mkdir -p "$merged"
  find "$seeds" -maxdepth 1 -type f -regextype posix-extended ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$merged/" \;
  "$exe" -merge=1 -timeout=10 "$merged" "$work/corpus" "$seeds" >"$work/merge.log" 2>&1 ||
    { echo "fuzz-long: $t merge failed (see $work/merge.log); seeds left as they were" >&2; continue; }
  find "$seeds" -maxdepth 1 -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
  find "$merged" -maxdepth 1 -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -exec cp {} "$seeds/" \;
  corpus=$(ls "$seeds" | wc -l)

  printf '%-18s %10s %8s %6s %8s %7s %9s %s\n' "$t" "$total" "$((total / (elapsed > 0 ? elapsed : 1)))" \
    "${cov:-?}" "${ft:-?}" "$corpus" "$elapsed" "$findings" >>"$table"
  [ "$findings" -eq 0 ] || echo "fuzz-long: $t: $findings findings in $work/artifacts" >&2
done
echo
cat "$table"
