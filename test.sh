#!/usr/bin/env bash
# Sets up what is missing, builds the native, fuzz and Windows presets, runs
# every test (native plain and sanitized, a short fuzz smoke run, the Windows
# programs under Wine) and exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh

jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

# One virtual display for every Windows test of this run.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 60 89); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    break
  done
fi
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; true' EXIT

status=0
ctest --preset native -j "$jobs" --output-on-failure || status=1
./scripts/fuzz-smoke.sh build/fuzz || status=1
ctest --preset windows -j "$jobs" --output-on-failure || status=1

if [ "$status" -ne 0 ]; then
  echo "test.sh: FAILED" >&2
  exit 1
fi
echo "test.sh: all tests passed"
