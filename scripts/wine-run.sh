#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest (the cross-compiling emulator)
# and for people: wine-run.sh [--prefix DIR] [--timeout SECONDS] program.exe [args...]
#
# - The Wine prefix is created once per build tree and prepared for our
#   tests: unmanaged windows (no 2 s hide delay, custom frames not cropped),
#   Wine's own fonts installed and a CJK font linked behind them. Parallel
#   runs wait for the one creating it.
# - Without DISPLAY an Xvfb server is started for this run and stopped after.
# - The program's output goes to files, never a pipe (programs it starts
#   would keep a pipe open), and is shown when it ends; its exit code is ours.
# - A watchdog ends a program that hangs.
# - CORVANE_WINE_DPI=N runs the program on a display of N DPI (a prefix of
#   its own, whose LogPixels says N), as a user's scaled display does.
set -u
here=$(cd "$(dirname "$0")" && pwd)
prefix=${CORVANE_WINEPREFIX:-$here/../build/windows/wineprefix}
limit=${CORVANE_WINE_TIMEOUT:-300}
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    *) break ;;
  esac
done
# A display of another DPI gets a prefix of its own beside the usual one.
dpi=${CORVANE_WINE_DPI:-}
[ -n "$dpi" ] && prefix="${prefix%/}-dpi$dpi"
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prefix DIR] [--timeout S] program.exe [args...]" >&2; exit 2; }

wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine)
wineboot=$(command -v wineboot || command -v wineboot-stable || echo "")
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

export WINEPREFIX=$(mkdir -p "$prefix" && cd "$prefix" && pwd)
export WINEDEBUG=-all
# No Mono or Gecko installers: the prefix needs neither and they cost minutes.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ -n "${out_dir:-}" ] && rm -rf "$out_dir"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$xvfb_pid" 2>/dev/null; then export DISPLAY=":$n"; break; fi
    xvfb_pid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "wine-run: could not start Xvfb" >&2; exit 125; }
fi

# Unmanaged windows: without it every activated window takes 2 s to hide and
# custom frames are cropped (maximising a skinned window then fails too).
unmanaged() { grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg"; }

# A font with Japanese, Chinese and Cyrillic letters, linked behind the
# prefix's interface fonts as Windows links its own, so text in any script
# the tests use is drawn (Wine's fonts have Latin and Cyrillic only).
fallback_font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
fallback_ready() { [ ! -f "$fallback_font" ] || [ -f "$WINEPREFIX/.corvane-cjk-font" ]; }
link_fallback_font() {
  cp -n "$fallback_font" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  local face
  # Fonts Wine links nothing behind (its own defaults name the CJK fonts of
  # Windows for Tahoma and the like, and Wine rewrites those at each start)...
  for face in "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" Arial; do
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 </dev/null
  done
  # ...and those Windows CJK fonts, which the prefix lacks, as that font.
  for face in "MS UI Gothic" "SimSun" "PMingLiU" "Gulim"; do
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 </dev/null
  done
  "$wineserver" -w
  touch "$WINEPREFIX/.corvane-cjk-font"
}

prepare_prefix() {
  if [ -f "$WINEPREFIX/.corvane-ready" ] && unmanaged; then
    fallback_ready || link_fallback_font
    return 0
  fi
  echo "wine-run: preparing Wine prefix $WINEPREFIX (once per build tree)" >&2
  if [ ! -f "$WINEPREFIX/.corvane-ready" ]; then
    if [ -n "$wineboot" ]; then
      "$wineboot" -i >/dev/null 2>&1 </dev/null
    else
      "$wine" wineboot -i >/dev/null 2>&1 </dev/null
    fi
  fi
  # The setting has been seen lost on a busy machine: written until the
  # saved registry holds it.
  for _ in 1 2 3; do
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
    "$wineserver" -w
    unmanaged && break
  done
  unmanaged || { echo "wine-run: could not make the windows of $WINEPREFIX unmanaged" >&2; exit 125; }
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  fallback_ready || link_fallback_font
  touch "$WINEPREFIX/.corvane-ready"
}

# The display's DPI as Windows keeps it: the user's LogPixels.
set_dpi() {
  [ -n "$dpi" ] || return 0
  [ -f "$WINEPREFIX/.corvane-dpi-$dpi" ] && return 0
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
  "$wineserver" -w
  grep -qsi '"LogPixels"=dword:' "$WINEPREFIX/user.reg" || { echo "wine-run: could not set the DPI of $WINEPREFIX" >&2; exit 125; }
  touch "$WINEPREFIX/.corvane-dpi-$dpi"
}
(
  flock 9
  prepare_prefix
  set_dpi
) 9>"$WINEPREFIX.lock" || exit 125

out_dir=$(mktemp -d)
timeout -k 10 "$limit" "$wine" "$@" >"$out_dir/stdout" 2>"$out_dir/stderr" </dev/null
rc=$?
cat "$out_dir/stdout"
cat "$out_dir/stderr" >&2
if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
  echo "wine-run: $1 did not finish within $limit s" >&2
fi
exit "$rc"
