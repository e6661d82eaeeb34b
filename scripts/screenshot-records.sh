#!/usr/bin/env bash
# Regenerates docs/alarm-records.png: the alarm record list read from the simulated device,
# in a real X server (Xvfb). The steps are a scenario that korval-scenario plays on the real
# main window; the picture is taken while its last step waits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh"
[ -x "$build/scenario/korval-scenario" ] || "$root/scripts/build.sh" "$build"

work=$(mktemp -d)
display=:94
Xvfb "$display" -screen 0 1366x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

cat >"$work/alarm-records.scn" <<'SCN'
device records alarm 240
tab 6
click 1124
click 1047
click 1019
expect rows 1213 240
wait 6000
SCN
QT_QPA_PLATFORM=xcb "$build/scenario/korval-scenario" "$work/alarm-records.scn" >"$work/run.log" 2>&1 &
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name '^KORVALVer1.1$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "screenshot: the KORVAL window did not appear" >&2; exit 1; }
xdotool windowmove "$window" 0 0
sleep 3
import -window "$window" "$root/docs/alarm-records.png"
wait %2 || { cat "$work/run.log" >&2; exit 1; }
echo "wrote docs/alarm-records.png"
