#!/usr/bin/env bash
# Runs a command on a screen of its own under a window manager: Xvfb on the
# first free display from :60 on, with openbox, and Qt's xcb platform. Its
# status is the command's.
set -uo pipefail
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || {
    echo "under_wm: $tool is missing; run scripts/setup.sh" >&2
    exit 2
  }
done
n=60
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
display=":$n"
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "${wm:-}" "$xvfb" 2>/dev/null; wait 2>/dev/null' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  sleep 0.1
done
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
# openbox owns the screen once it has set its check window on the root.
for _ in $(seq 100); do
  DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$@"
