#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, AddressSanitizer and UBSan in build-fuzz/,
# and runs them on their stored corpora (fuzz/corpus/NAME, read only: what a run finds goes
# to build-fuzz/corpus/NAME).
#   scripts/fuzz.sh TARGET SECONDS [LIBFUZZER OPTION...]   one target; SECONDS 0: no limit
#   scripts/fuzz.sh --all SECONDS                           every target in turn
#   scripts/fuzz.sh --list                                  the targets
# Example, ten million runs: scripts/fuzz.sh fuzz_device_model 0 -runs=10000000
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KORVAL_FUZZ_BUILD:-$root/build-fuzz}
targets=(fuzz_link_reply fuzz_text_to_number fuzz_rtu_framer fuzz_device_model fuzz_scenario_parser)

usage() {
  sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

build() {
  command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/setup.sh installs it)" >&2; exit 1; }
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DKORVAL_SANITIZE=ON -DKORVAL_WERROR=ON -DKORVAL_BENCH=OFF >/dev/null
  cmake --build "$dir" --target fuzz_targets -j "$(nproc)"
}

run() {
  local target=$1 seconds=$2
  shift 2
  local found=$dir/corpus/$target
  mkdir -p "$found"
  local options=(-print_final_stats=1)
  [ "$seconds" -gt 0 ] && options+=("-max_total_time=$seconds")
  [ -f "$root/fuzz/$target.dict" ] && options+=("-dict=$root/fuzz/$target.dict")
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1} \
  UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    "$dir/fuzz/$target" "${options[@]}" "$@" -artifact_prefix="$dir/" "$found" "$root/fuzz/corpus/$target"
}

[ $# -ge 1 ] || usage
case $1 in
  --list) printf '%s\n' "${targets[@]}" ;;
  --all)
    # Quiet: one line a target (the log is kept beside the build), the log's end on a finding.
    [ $# -eq 2 ] || usage
    build
    passed=0 failed=0
    for t in "${targets[@]}"; do
      if run "$t" "$2" >"$dir/$t.log" 2>&1; then
        passed=$((passed + 1))
        echo "$t: $(grep -m1 '^Done ' "$dir/$t.log")"
      else
        failed=$((failed + 1))
        echo "$t: FAILED, see $dir/$t.log"
        tail -n 40 "$dir/$t.log"
      fi
    done
    echo "fuzz: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    ;;
  -*) usage ;;
  *)
    [ $# -ge 2 ] || usage
    [[ " ${targets[*]} " == *" $1 "* ]] || { echo "fuzz: no target '$1' (try --list)" >&2; exit 2; }
    build
    run "$@"
    ;;
esac
