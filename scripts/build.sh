#!/usr/bin/env bash
# Configures and builds KORVAL into build/ (or the folder given), warnings as errors.
# Extra arguments go to cmake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
shift || true
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVAL_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
