#!/usr/bin/env bash
# Makes the release from a checkout: sets up what is missing, builds the
# Windows program and packs build/corvane-<version>-win64.zip (Corvane.exe,
# Corvane.rtf, LICENSE.txt, THIRD-PARTY-NOTICES.txt) and, beside it,
# build/corvane-<version>-win64-symbols.zip (Corvane.exe.debug).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target release_files
(cd build/windows && cpack --config CPackConfig.cmake)
version=$(cmake -DPRINT=1 -P cmake/Version.cmake 2>&1)
ls -l "build/corvane-$version-win64.zip" "build/corvane-$version-win64-symbols.zip"
