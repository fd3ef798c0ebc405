#!/usr/bin/env bash
# Saves the whole X display (Xvfb under tests) as a PNG: screenshot.sh out.png
# `import` shows open popup menus correctly, where xwd draws black boxes.
set -eu
[ $# -eq 1 ] || { echo "usage: screenshot.sh out.png" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "screenshot: DISPLAY is not set" >&2; exit 2; }
import -display "$DISPLAY" -window root "$1"
