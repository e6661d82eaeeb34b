#!/usr/bin/env bash
# Regenerates docs/screenshot.png: KORVAL --demo in a real X server (Xvfb), reading the bank
# page continuously from the simulated device.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
[ -x "$root/build/app/korval" ] || "$root/scripts/build.sh" "$root/build"

display=:93
Xvfb "$display" -screen 0 1366x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
"$root/build/app/korval" --demo >/dev/null 2>&1 &
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name '^KORVALVer1.1$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "screenshot: the KORVAL window did not appear" >&2; exit 1; }
xdotool windowmove "$window" 0 0
sleep 0.5
# Positions inside the window: the bank page tab, then its start button on the bottom row.
xdotool mousemove --window "$window" 160 25 click 1
sleep 0.5
height=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p')
xdotool mousemove --window "$window" 530 $((height - 49)) click 1
sleep 2.5
import -window "$window" "$root/docs/screenshot.png"
kill "$xvfb"
echo "wrote docs/screenshot.png"
