#!/usr/bin/env bash
# The release package as a Windows user gets it (ctest runs this):
# - CPack makes both zips; the program zip holds exactly the four files, its
#   exe is under 2 MB, loads only the window libraries at start and its
#   notices carry each library's own licence file;
# - the symbols zip turns an address inside the shipped program into one of
#   its source lines, through the exe's debug link;
# - release_tests (under Wine) checks the resources and the readme and runs
#   Corvane.exe from the unpacked folder, and from a read-only copy.
set -uo pipefail
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2 ;;
    --zip) zip=$2 ;;
    --symbols) symbols=$2 ;;
    --tests) tests=$2 ;;
    --logger) logger=$2 ;;
    --built) built=$2 ;;
    --wine) wine_run=$2 ;;
    --toolprefix) tools=$2 ;;
    *) echo "release-test: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done

status=0
fail() { echo "release-test: FAIL: $*" >&2; status=1; }
windows_path() { echo "Z:$1" | tr / '\\'; }

work=$build/release-test
# A folder nobody may change: for root only the immutable flag stops writes.
lock_folder() {
  if [ "$(id -u)" -eq 0 ]; then chattr +i "$1"/* "$1"; else chmod a-w "$1"/* "$1"; fi
}
unlock_folder() {
  [ -d "$1" ] || return 0
  if [ "$(id -u)" -eq 0 ]; then chattr -i "$1" "$1"/* 2>/dev/null; else chmod u+w "$1" "$1"/*; fi
  return 0
}
unlock_folder "$work/readonly"  # left locked by a run that was killed
trap 'unlock_folder "$work/readonly"' EXIT
rm -rf "$work" "$zip" "$symbols"
mkdir -p "$work/app" "$work/symbols" "$work/readonly"

(cd "$build" && cpack --config CPackConfig.cmake >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; exit 1; }
[ -f "$zip" ] || { fail "no $zip"; exit 1; }
[ -f "$symbols" ] || fail "no $symbols"
(cd "$work/app" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
(cd "$work/symbols" && cmake -E tar xf "$symbols") || fail "cannot unpack $symbols"

listing=$(cd "$work/app" && find . -mindepth 1 -printf '%P\n' | sort | tr '\n' ' ')
[ "$listing" = "Corvane.exe Corvane.rtf LICENSE.txt THIRD-PARTY-NOTICES.txt " ] ||
  fail "the program zip holds: $listing"
listing=$(cd "$work/symbols" && find . -mindepth 1 -printf '%P\n' | tr '\n' ' ')
[ "$listing" = "Corvane.exe.debug " ] || fail "the symbols zip holds: $listing"

exe=$work/app/Corvane.exe
size=$(stat -c %s "$exe")
echo "release-test: Corvane.exe is $size bytes (built: $(stat -c %s "$built"))"
[ "$size" -lt $((2 * 1024 * 1024)) ] || fail "Corvane.exe is $size bytes, not under 2 MB"
"${tools}objdump" -h "$exe" | grep -q '\.debug_' && fail "Corvane.exe still carries debug sections"

# A start loads only what showing a window needs; the shell, COM, the common
# controls and dialogs, the internet library and the rest load at first use.
start_libraries=$("${tools}objdump" -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[ "$start_libraries" = "gdi32.dll kernel32.dll msvcrt.dll user32.dll " ] ||
  fail "Corvane.exe loads at start: $start_libraries"

# Each library's own licence file, as it is in its source, is in the notices.
notices=$(cat "$work/app/THIRD-PARTY-NOTICES.txt")
sources=$(cd "$build/../cross-deps/src" 2>/dev/null && pwd || echo /nonexistent)
for licence in "$sources"/libpng*/LICENSE "$sources"/giflib-*/COPYING \
               "$sources"/libjpeg-turbo-*/LICENSE.md; do
  [ -f "$licence" ] || { fail "no licence file $licence"; continue; }
  [[ "$notices" == *"$(cat "$licence")"* ]] || fail "THIRD-PARTY-NOTICES.txt lacks $licence"
done
zlib_licence=$(sed -n '/This software is provided/,/This notice may not be removed/p' \
  /usr/x86_64-w64-mingw32/include/zlib.h)
[ -n "$zlib_licence" ] && [[ "$notices" == *"$zlib_licence"* ]] ||
  fail "THIRD-PARTY-NOTICES.txt lacks zlib's licence"
[[ "$notices" == *"the Independent JPEG Group"* ]] || fail "the notices lack the IJG legal text"

# A crash address inside the program (here: into the Readme button's
# handler) becomes a source line with the symbols beside the shipped exe.
cp "$work/symbols/Corvane.exe.debug" "$work/app/"
function_address=$("${tools}nm" "$built" | awk '/ T _ZN7corvane6TForm212Button8ClickEPNS_7TObjectE$/ {print $1}')
if [ -z "$function_address" ]; then
  fail "no Button8Click in the built program's symbols"
else
  address=$(printf '0x%x' $((0x$function_address + 8)))
  # The shipped code at that address is the built program's.
  shipped_code=$("${tools}objdump" -d --start-address="$address" --stop-address=$((address + 16)) "$exe" | grep -E '^ +[0-9a-f]+:')
  built_code=$("${tools}objdump" -d --start-address="$address" --stop-address=$((address + 16)) "$built" | grep -E '^ +[0-9a-f]+:')
  [ -n "$shipped_code" ] && [ "$shipped_code" = "$built_code" ] || fail "the shipped code at $address is not the built program's"
  line=$("${tools}addr2line" -f -C -e "$exe" "$address" | tr '\n' ' ')
  echo "release-test: $address -> $line"
  [[ "$line" == *"TForm2::Button8Click"*"src/launcher/supportForm.cpp:"[0-9]* ]] ||
    fail "addr2line gave '$line' for $address"
fi
rm -f "$work/app/Corvane.exe.debug"

# The same program in a folder it cannot write to, with links stored.
cp "$work/app/"* "$work/readonly/"
printf '[Mail]\r\nLink=C:\\mail.exe\r\nParam=/check\r\n\r\n[Editor]\r\nLink=C:\\editor.exe\r\nParam=\r\nRunWith=Mail\r\n' \
  >"$work/readonly/Corvane.ini"
lock_folder "$work/readonly"
touch "$work/readonly/probe" 2>/dev/null && fail "could not make $work/readonly read-only"

CORVANE_RELEASE_DIR=$(windows_path "$work/app") \
CORVANE_READONLY_DIR=$(windows_path "$work/readonly") \
CORVANE_BUILT_EXE=$(windows_path "$built") \
CORVANE_RTF_LOGGER=$(windows_path "$logger") \
  "$wine_run" --prefix "$build/wineprefix" --timeout 300 "$tests" || fail "release_tests failed"

[ "$status" -eq 0 ] && echo "release-test: passed"
exit "$status"
