#!/usr/bin/env bash
# korval --demo on a real X server (Xvfb) as a technician starts it: the main window
# appears with its caption as a normal application window (not a modal dialog, so window
# managers give it minimise and maximise), fits the 1366x768 screen, the program keeps
# running, and it writes no settings anywhere.
set -euo pipefail
korval=$1
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)"; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing (package xdotool)"; exit 1; }
command -v xprop >/dev/null || { echo "xprop is missing (package x11-utils)"; exit 1; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME= XDG_DATA_HOME= xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
  set -eu
  unset QT_QPA_PLATFORM
  "$1" --demo >/dev/null 2>&1 &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^KORVALVer1.1\$" | head -n1)
  [ -n "$window" ] || { echo "no KORVAL window"; exit 1; }
  echo "window $window shown"
  type=$(xprop -id "$window" _NET_WM_WINDOW_TYPE)
  echo "$type"
  case "$type" in *_NET_WM_WINDOW_TYPE_DIALOG*) echo "the window is a dialog"; exit 1;; esac
  case "$type" in *_NET_WM_WINDOW_TYPE_NORMAL*) ;; *) echo "not a normal window"; exit 1;; esac
  if xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL; then
    echo "the window is modal"; exit 1
  fi
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "geometry ${WIDTH}x${HEIGHT}"
  [ "$WIDTH" -le 1366 ] && [ "$HEIGHT" -le 768 ] || { echo "larger than the screen"; exit 1; }
  sleep 2
  kill -0 "$pid" 2>/dev/null || { echo "korval ended on its own"; exit 1; }
  kill "$pid"
' _ "$korval"

# Nothing of the run is kept for the next one.
kept=$(find "$home/.config" "$home/.local/share" -type f 2>/dev/null || true)
[ -z "$kept" ] || { echo "files written for a later run: $kept"; exit 1; }
echo "nothing kept in $home"
