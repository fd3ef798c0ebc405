#!/usr/bin/env bash
# Cross-builds libjpeg-turbo, libpng and giflib for Windows (x86_64, static)
# from Debian's source packages into <dest>/prefix. Built once; a stamp file
# makes later runs return at once.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-$here/build/cross-deps}
prefix=$dest/prefix
stamp=$prefix/.built-v1
[ -f "$stamp" ] && exit 0

mkdir -p "$dest/src" "$prefix"
cd "$dest/src"
toolchain=$here/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-stable}")

# Unpacks a Debian source package and prints its directory. The newest
# version (often from the security archive) is tried first; when its files
# are gone from the mirror, the release's own version is taken.
fetch() { # package directory-glob
  if ! ls -d $2 >/dev/null 2>&1; then
    rm -f "$1"_*.dsc
    apt-get source -qq --download-only "$1" >/dev/null 2>&1 ||
      apt-get source -qq --download-only "$1/$codename" >/dev/null 2>&1 || true
    dsc=$(ls "$1"_*.dsc 2>/dev/null | head -n 1)
    if [ -n "$dsc" ]; then
      dpkg-source -q --no-check -x "$dsc" >/dev/null
    else
      orig=$(ls "$1"_*.orig.tar.* | head -n 1)
      tar -xf "$orig"
    fi
  fi
  ls -d $2 | head -n 1
}

echo "cross-deps: libjpeg-turbo"
jpeg=$(fetch libjpeg-turbo 'libjpeg-turbo-*/')
cmake -S "$jpeg" -B "$dest/build-jpeg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -Wno-dev >/dev/null
cmake --build "$dest/build-jpeg" -j "$jobs" --target install >/dev/null

echo "cross-deps: libpng"
png=$(fetch libpng1.6 'libpng*1.6.*/')
cmake -S "$png" -B "$dest/build-png" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
  -DZLIB_ROOT=/usr/x86_64-w64-mingw32 >/dev/null
cmake --build "$dest/build-png" -j "$jobs" --target install >/dev/null

echo "cross-deps: giflib"
gif=$(fetch giflib 'giflib-*/')
mkdir -p "$dest/build-gif"
objs=()
for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray; do
  x86_64-w64-mingw32-gcc-posix -O2 -c "$gif/$f.c" -I"$gif" -o "$dest/build-gif/$f.o"
  objs+=("$dest/build-gif/$f.o")
done
mkdir -p "$prefix/lib" "$prefix/include"
rm -f "$prefix/lib/libgif.a"
x86_64-w64-mingw32-ar rcs "$prefix/lib/libgif.a" "${objs[@]}"
cp "$gif/gif_lib.h" "$prefix/include/"

touch "$stamp"
echo "cross-deps: done in $prefix"
