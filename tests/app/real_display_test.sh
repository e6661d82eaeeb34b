#!/usr/bin/env bash
# korval --demo on a real X server (Xvfb): the main window appears with its caption and
# the program keeps running.
set -euo pipefail
korval=$1
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)"; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing (package xdotool)"; exit 1; }

xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
  set -eu
  unset QT_QPA_PLATFORM
  "$1" --demo >/dev/null 2>&1 &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^KORVALVer1.1\$" | head -n1)
  [ -n "$window" ] || { echo "no KORVAL window"; exit 1; }
  echo "window $window shown"
  sleep 2
  kill -0 "$pid" 2>/dev/null || { echo "korval ended on its own"; exit 1; }
  kill "$pid"
' _ "$korval"
