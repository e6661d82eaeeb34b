#!/usr/bin/env bash
# Installs the Debian 12 packages KORVAL needs to build, run and test, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # the fuzz targets (clang with libFuzzer) and the benchmark beside libmodbus, never the program
  clang libclang-rt-dev llvm libmodbus-dev
  mbpoll
  xvfb xauth x11-apps xdotool imagemagick
  # the program draws Chinese with WenQuanYi Micro Hei; Noto CJK, which most Chinese
  # desktops have, is there so that the desktop tests also run with it
  fonts-wqy-microhei fonts-noto-cjk
  # the CSV export test reads the file back with Python's csv module
  python3
  # the command line is also tested against a Modbus slave that is not ours (pymodbus)
  python3-pymodbus
  # the report test reads the PDF's text back with pdftotext; pdftoppm makes its screenshot
  poppler-utils
  # korval serve: its libraries (MQTT client, Prometheus exposer), and the engines its tests
  # start on localhost (broker, subscriber tools, promtool and the Prometheus server)
  libmosquitto-dev prometheus-cpp-dev mosquitto mosquitto-clients prometheus
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
