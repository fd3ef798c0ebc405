#!/usr/bin/env bash
# Runs every fuzz target briefly over its seed corpus (fuzz/corpus/<target>),
# with the target's own dictionary and limits: a smoke test that the targets
# and their seeds are sound.
# fuzz-smoke.sh BUILD_DIR [SECONDS_PER_TARGET]
set -u
build=${1:?build dir}
seconds=${2:-4}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in $(cd "$root/fuzz" && ls *.cpp 2>/dev/null | sed 's/\.cpp$//'); do
  exe=$build/fuzz/$target
  [ -x "$exe" ] || { echo "fuzz-smoke: $target not built" >&2; status=1; continue; }
  work=$(mktemp -d)
  corpus=()
  [ -d "$root/fuzz/corpus/$target" ] && corpus+=("$root/fuzz/corpus/$target")
  if ! "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/" \
       "$work" "${corpus[@]}" >"$work/log" 2>&1; then
    echo "fuzz-smoke: $target FAILED" >&2
    tail -n 40 "$work/log" >&2
    status=1
  else
    echo "fuzz-smoke: $target ok ($(grep -o 'Done [0-9]* runs' "$work/log" | tail -n 1))"
  fi
  rm -rf "$work"
done
exit $status
