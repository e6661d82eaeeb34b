#!/usr/bin/env bash
# Regenerates docs/bank-triage.png: the bank page reading a simulated bank whose cell 17 is
# weak, with the device's alarm limits read, on a 1366x768 X server (Xvfb).
# usage: scripts/screenshot-triage.sh [BUILD_DIR]      (default: build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ -x "$build/app/korval" ] || "$root/scripts/build.sh" "$build"
if [ -z "${KORVAL_IN_X:-}" ]; then
  KORVAL_IN_X=1 exec xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$build"
fi
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
. "$(dirname "$0")/window-manager.sh"
start_window_manager "$work"
"$build/simulator/korval-device" --weak-cell 17 --link "$work/tty" >"$work/device.log" 2>&1 &
for _ in $(seq 50); do [ -e "$work/tty" ] && break; sleep 0.1; done
LANG=zh_CN.UTF-8 LANGUAGE=zh_CN ${KORVAL_WRAP:-} "$build/app/korval" --com "1=$work/tty" >"${KORVAL_LOG:-/dev/null}" 2>&1 &
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^KORVALVer1.1$' | head -n1)
[ -n "$window" ] || { echo "screenshot: the KORVAL window did not appear" >&2; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=' | tr A-Z a-z)"
# A click at X Y in the window; a negative X counts from its right edge. The places follow
# the bank page's layout at the size the window opens with here (1358x692).
click() {
  local x=$1 y=$2
  ((x < 0)) && x=$((width + x))
  xdotool mousemove --window "$window" "$x" "$y" click 1
}
xdotool mousemove --window "$window" 24 14 click 1 click 5   # the bank tab
sleep 0.6
click "${READ_LIMITS_X:--180}" "${READ_LIMITS_Y:-222}"        # 读取报警阀值
sleep 0.8
click "${START_X:--180}" "${START_Y:-99}"                     # 开始连续读取
sleep 1.8
import -silent -frame -window "$window" "$root/docs/bank-triage.png"
echo "wrote $root/docs/bank-triage.png"
