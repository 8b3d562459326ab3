#!/usr/bin/env bash
# Runs a command on a screen of its own under a window manager: Xvfb on the
# display ZEFRANT_WM_DISPLAY names, else on the first free one from :60 on,
# with openbox, and Qt's xcb platform. Its status is the command's.
set -uo pipefail
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || {
    echo "under_wm: $tool is missing; run scripts/setup.sh" >&2
    exit 2
  }
done
display="${ZEFRANT_WM_DISPLAY:-}"
if [ -z "$display" ]; then
  n=60
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  display=":$n"
fi
# -noreset: by default the server starts over when its last client leaves, and
# a client that comes in that moment (openbox after the first xprop) cannot
# open the display.
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "${wm:-}" "$xvfb" 2>/dev/null; wait 2>/dev/null; rm -f "${wmlog:-}"' EXIT
# The server takes connections once xprop can read its root window.
for _ in $(seq 100); do
  DISPLAY="$display" xprop -root >/dev/null 2>&1 && break
  sleep 0.1
done
wmlog=$(mktemp)
DISPLAY="$display" openbox >"$wmlog" 2>&1 &
wm=$!
# openbox owns the screen once it has set its check window on the root.
managing=""
for _ in $(seq 100); do
  if DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    managing=yes
    break
  fi
  sleep 0.1
done
if [ -z "$managing" ]; then
  echo "under_wm: openbox did not take display $display" >&2
  sed 's/^/openbox: /' "$wmlog" >&2
  exit 2
fi
# Under the sanitizers: the keyboard map library of X reads the atom names of
# the server's replies with strndup, which are not ended by a NUL; the strict
# string checks take that for an overflow in the library.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$@"
status=$?
if ! kill -0 "$wm" 2>/dev/null; then
  echo "under_wm: openbox is no longer running" >&2
  sed 's/^/openbox: /' "$wmlog" >&2
fi
exit "$status"
