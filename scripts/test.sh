#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer; then builds the fuzz targets with
# clang and runs each for a few seconds on its stored corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j 2)

# Qt and fontconfig keep caches for the life of the process; leak reports there are noise.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$root/scripts/build.sh" "$root/build-asan" -DKORVAL_SANITIZE=ON -DKORVAL_BENCH=OFF
(cd "$root/build-asan" && ctest --output-on-failure -j 2)

# The fuzz targets: a clang build of only them, each run briefly on its stored corpus.
"$root/scripts/fuzz.sh" --all 15
