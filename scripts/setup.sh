#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks for building and testing Corvane,
# then cross-builds the picture libraries for Windows into the build tree.
# Safe to run again: every step is skipped when its result is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++ g++-mingw-w64-x86-64 wine64 xvfb imagemagick x11-apps
          clang llvm libgtest-dev googletest libbenchmark-dev zlib1g-dev
          libz-mingw-w64-dev libpng-dev libgif-dev libjpeg62-turbo-dev dpkg-dev
          fonts-wqy-microhei)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

updated=0
apt_update_once() {
  if [ "$updated" -eq 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    updated=1
  fi
}

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt_update_once
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Source packages need a deb-src entry for the same archive the binaries come from.
if ! grep -rqs -E '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "setup: adding deb-src entries"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/corvane-src.sources >/dev/null
  else
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/corvane-src.list >/dev/null
  fi
  updated=0
  apt_update_once
fi

"$here/scripts/build-cross-deps.sh" "$here/build/cross-deps"
