#!/usr/bin/env bash
# Regenerates the screenshots under docs/: KORVAL --demo on a 1366x768 X server (Xvfb),
# framed by a window manager whose bottom margin stands in for a 32-pixel panel. Takes
# every page (the live pages while they read from the simulated device) and a message box.
# Safe to re-run whenever a page changes; it replaces the files it made before.
# usage: scripts/screenshot.sh [BUILD_DIR]      (default: build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh"
[ -x "$build/app/korval" ] || "$root/scripts/build.sh" "$build"
if ! command -v openbox >/dev/null; then
  echo "screenshot: no openbox (apt-get install openbox): the window gets no title bar" >&2
fi
xvfb-run -a -s "-screen 0 1366x768x24" \
  bash "$root/scripts/screenshot-pages.sh" "$build/app/korval" "$root/docs"
