#!/usr/bin/env bash
# Long fuzzing run of every target (or one), on all cores, that keeps what it
# learns: fuzz-long.sh [TARGET|all] [SECONDS]   (builds the fuzz preset first)
#
# Each target fuzzes for SECONDS (default 300) with FUZZ_JOBS workers
# (default: the number of cores) sharing one corpus, starting from its seeds
# (fuzz/corpus/<target>). A target that has run fewer than FUZZ_MIN_RUNS
# inputs (default 500000) by then goes on until it has. Afterwards the grown
# corpus is merged back into the seed folder in minimised form: the seeds
# written by hand (named files) stay as they are, and the fuzzer's own files
# (named by their SHA-1) are replaced by the smallest set that adds to what
# the named seeds reach. Crashes, hangs and out-of-memory inputs go to
# build/fuzz/long/<target>/artifacts and the worker starts again; make each
# a fixed fault with a regression test. Ends with one table: runs, runs per
# second, coverage, features and corpus size per target.
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
printf '%-18s %10s %8s %6s %8s %7s %8s %s\n' target runs exec/s cov features corpus seconds findings >"$table"

# Runs one worker until `until` (seconds since the epoch) or until it has run
# its share of inputs; a worker that stops on a finding starts again.
worker() {
  local n=$1 until=$2 runs=$3
  local part=0
  while :; do
    local left=$((until - $(date +%s)))
    [ "$left" -gt 0 ] || [ "$runs" -gt 0 ] || break
    local limit=(-max_total_time="$((left > 0 ? left : 1))")
    [ "$runs" -gt 0 ] && limit=(-runs="$runs")
    part=$((part + 1))
    "$exe" "${limit[@]}" -timeout=10 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
      "$work/corpus" "$seeds" >"$work/worker$n.$part.log" 2>&1 && break
    # A finding ended the run: count what was done and go on.
    if [ "$runs" -gt 0 ]; then
      local done
      done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/worker$n.$part.log")
      runs=$((runs - ${done:-0}))
      [ "$runs" -gt 0 ] || break
    fi
  done
}

# Sums what every worker log of the target says.
executed() { cat "$work"/worker*.log | sed -n 's/^stat::number_of_executed_units: *//p' | awk '{s += $1} END {print s + 0}'; }

for t in $targets; do
  exe=build/fuzz/fuzz/$t
  seeds=fuzz/corpus/$t
  work=build/fuzz/long/$t
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts" "$seeds"
  echo "fuzz-long: $t for $seconds s on $jobs workers"
  start=$(date +%s)
  for n in $(seq "$jobs"); do worker "$n" $((start + seconds)) 0 & done
  wait
  total=$(executed)
  if [ "$total" -lt "$minRuns" ]; then
    echo "fuzz-long: $t has run $total inputs; going on to $minRuns"
    share=$(((minRuns - total + jobs - 1) / jobs))
    for n in $(seq "$jobs"); do worker "$n.more" 0 "$share" & done
    wait
    total=$(executed)
  fi
  elapsed=$(($(date +%s) - start))
  # The workers' last status lines: the widest coverage any of them reached.
  cov=$(cat "$work"/worker*.log | sed -n 's/^#[0-9]*.*cov: \([0-9]*\) ft:.*/\1/p' | sort -n | tail -n 1)
  ft=$(cat "$work"/worker*.log | sed -n 's/^#[0-9]*.* ft: \([0-9]*\) .*/\1/p' | sort -n | tail -n 1)
  findings=$(ls "$work/artifacts" | wc -l)

  # Minimise: the named seeds first, then whatever adds to them.
  merged=$work/merged
  rm -rf "$merged"
  mkdir -p "$merged"
  find "$seeds" -maxdepth 1 -type f -regextype posix-extended ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$merged/" \;
  if "$exe" -merge=1 -timeout=10 "$merged" "$work/corpus" "$seeds" >"$work/merge.log" 2>&1; then
    find "$seeds" -maxdepth 1 -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
    find "$merged" -maxdepth 1 -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -exec cp {} "$seeds/" \;
  else
    echo "fuzz-long: $t merge failed (see $work/merge.log); seeds left as they were" >&2
  fi
  corpus=$(ls "$seeds" | wc -l)

  printf '%-18s %10s %8s %6s %8s %7s %8s %s\n' "$t" "$total" "$((total / (elapsed > 0 ? elapsed : 1)))" \
    "${cov:-?}" "${ft:-?}" "$corpus" "$elapsed" "$findings" >>"$table"
  [ "$findings" -eq 0 ] || echo "fuzz-long: $t: $findings findings in $work/artifacts" >&2
done
echo
cat "$table"
