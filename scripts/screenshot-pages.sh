#!/usr/bin/env bash
# Inside an X server (scripts/screenshot.sh starts it): drives KORVAL --demo with the mouse
# and keyboard as a technician would and writes the screenshots.
# usage: screenshot-pages.sh KORVAL DOCS_DIR
set -euo pipefail
korval=$1
docs=$2
images=$docs/images
mkdir -p "$images"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

. "$(dirname "$0")/window-manager.sh"
start_window_manager "$work"

# A Chinese desktop: Qt's own texts (the message box's buttons) follow LANG.
LANG=zh_CN.UTF-8 LANGUAGE=zh_CN "$korval" --demo >/dev/null 2>&1 &
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^KORVALVer1.1$' | head -n1)
[ -n "$window" ] || { echo "screenshot: the KORVAL window did not appear" >&2; exit 1; }
sleep 1

# Tab N: a click on the first tab, then N turns of the mouse wheel over the strip, which
# steps along it (no positions of other tabs needed, so longer captions do not break it).
tab() {
  xdotool mousemove --window "$window" 24 14 click 1
  for ((i = 0; i < $1; i++)); do xdotool click 5; done
  sleep 0.6
}
# A click at X Y in the window; a negative Y counts from the window's bottom edge and a
# negative X from its right edge. The places below follow the page layouts at the size
# the window opens with here (1358x692); move them when a page's layout moves a button.
click() {
  local x=$1 y=$2
  ((x < 0)) && x=$((width + x))
  ((y < 0)) && y=$((height + y))
  xdotool mousemove --window "$window" "$x" "$y" click 1
}
eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=' | tr A-Z a-z)"
# The window with its title bar and frame; the whole screen for the laptop-size views.
shot() { import -silent -frame -window "$window" "$images/$1.png"; }
screen() { import -silent -window root "$images/$1.png"; }

tab 0 && shot comm
# The device scan a moment after "搜索设备" (below the address), then its "返回".
click 159 157 && sleep 2.5 && shot scan && click 307 72 && sleep 0.3
tab 1 && click -80 99 && sleep 1.8 && screen bank-1366x768 && shot bank
cp "$images/bank-1366x768.png" "$docs/screenshot.png"
tab 2 && click 175 -65 && sleep 1.3 && shot voltage
tab 3 && click 175 -131 && sleep 1.3 && shot resistance
tab 4 && click 175 -37 && sleep 1.3 && shot temperature
tab 5 && click 197 73 && sleep 0.5 && shot current
tab 6 && shot records
tab 7 && shot params
tab 8 && shot probes

# A port that is not there: Com12 (the last item of the port list), then a read.
tab 0 && click 150 77 && sleep 0.3 && xdotool key End Return && sleep 0.3
tab 5 && click 197 73 && sleep 1
screen message-box-1366x768
box=$(xdotool search --onlyvisible --name '^KORVAL$' | head -n1)
[ -n "$box" ] && import -silent -frame -window "$box" "$images/message-box.png"
xdotool key Return
echo "wrote $docs/screenshot.png and $images/*.png"
