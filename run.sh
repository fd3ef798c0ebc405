#!/usr/bin/env bash
# Sets up what is missing, builds the Windows program and starts it
# (under Wine on Linux). Its link store, corvane.ini, lives beside the exe.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target corvane
exe=build/windows/corvane.exe
if [ "$(uname -s)" = Linux ]; then
  exec ./scripts/wine-run.sh --prefix build/windows/wineprefix --timeout "${CORVANE_RUN_TIMEOUT:-86400}" "$exe"
fi
exec "$exe"
