#!/usr/bin/env bash
# Regenerates docs/alarm-records.png (the alarm record list), docs/curve-records.png (a
# voltage curve group with the point readout under the mouse) and docs/resistance-trend*.png
# (resistance records against a baseline, and their trend), read from the simulated
# device in a real X server (Xvfb). The steps are scenarios that korval-scenario plays on
# the real main window; each picture is taken while the scenario's last step waits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh"
[ -x "$build/scenario/korval-scenario" ] || "$root/scripts/build.sh" "$build"

work=$(mktemp -d)
display=:94
Xvfb "$display" -screen 0 1366x900x24 >/dev/null 2>&1 &
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

# shoot NAME [X Y]: plays $work/NAME.scn and writes docs/NAME.png; with X Y the mouse rests
# there (window coordinates) when the picture is taken.
shoot() {
  local name=$1 window="" runner
  QT_QPA_PLATFORM=xcb "$build/scenario/korval-scenario" "$work/$name.scn" >"$work/$name.log" 2>&1 &
  runner=$!
  for _ in $(seq 50); do
    window=$(xdotool search --name '^KORVALVer1.1$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "screenshot: the KORVAL window did not appear" >&2; exit 1; }
  xdotool windowmove "$window" 0 0
  sleep 3
  if [ $# -eq 3 ]; then
    xdotool mousemove --window "$window" "$2" "$3"
    sleep 1
  fi
  import -window "$window" "$root/docs/$name.png"
  wait "$runner" || { cat "$work/$name.log" >&2; exit 1; }
  echo "wrote docs/$name.png"
}

cat >"$work/alarm-records.scn" <<'SCN'
device records alarm 240
tab 6
click 1124
click 1047
click 1019
expect rows 1213 240
wait 6000
SCN
shoot alarm-records

# Group 1 with three days of records, one every ten minutes.
cat >"$work/curve-records.scn" <<'SCN'
device records voltage 1 432
device set 0x1200 1
tab 6
click 1047
click 1125
click 1127
expect samples 1143 432
wait 7000
SCN
shoot curve-records 700 300

# Internal-resistance records judged against the first test as the baseline, the last one
# chosen (its change under the list), and the same records as the trend view.
cat >"$work/resistance-trend.scn" <<'SCN'
device records resistance 30
tab 6
click 1123
click 1047
click 1019
expect rows 1014 30
select 1014 0
click 1301
select 1014 29
wait 6000
SCN
shoot resistance-trend

cat >"$work/resistance-trend-chart.scn" <<'SCN'
device records resistance 30
tab 6
click 1123
click 1047
click 1019
select 1014 0
click 1301
click 1307
expect curves 1310 40
wait 7000
SCN
shoot resistance-trend-chart 700 300
