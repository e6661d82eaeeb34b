#!/usr/bin/env bash
# Soak run: the program's continuous reading on the bank page (bench_soak, the real main
# window) against korval-device on a 9600-baud paced line with random faults, for MINUTES
# minutes. Samples the reader's RSS once a second and checks at the end that every tick was
# counted once (successes + failures = requests the device answered) and that the failures
# are exactly the faults the device injected. RSS must grow by less than 1 MB after the
# first minute.
#   scripts/soak.sh MINUTES [FAULT_PERCENT]      (default 5 %; build folder: $KORVAL_BUILD or build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-}
rate=${2:-5}
[[ $minutes =~ ^[1-9][0-9]*$ && $rate =~ ^[0-9]+$ ]] || { sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
build=${KORVAL_BUILD:-$root/build}
[ -x "$build/bench/bench_soak" ] || "$root/scripts/build.sh" "$build"

out=$(mktemp -d /tmp/korval-soak.XXXXXX)
echo "soak: $minutes min at $rate % faults; logs in $out"
"$build/simulator/korval-device" --pace 9600 --fault-rate "$rate" >"$out/device.log" 2>&1 &
device=$!
reader=
trap 'kill $reader $device 2>/dev/null || true' EXIT
path=
for _ in $(seq 100); do
  path=$(sed -n 's/^korval-device: serving address 1 on //p' "$out/device.log")
  [ -n "$path" ] && break
  sleep 0.1
done
[ -n "$path" ] || { echo "soak: korval-device did not start" >&2; exit 1; }

QT_QPA_PLATFORM=offscreen "$build/bench/bench_soak" "$path" $((minutes * 60)) >"$out/reader.log" 2>&1 &
reader=$!
# seconds since start, reader RSS (kB), device RSS (kB)
start=$(date +%s)
while kill -0 "$reader" 2>/dev/null; do
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$reader/status" 2>/dev/null || true)
  drss=$(awk '/^VmRSS/ {print $2}' "/proc/$device/status" 2>/dev/null || true)
  [ -n "$rss" ] && echo "$(($(date +%s) - start)) $rss $drss" >>"$out/rss.txt"
  sleep 1
done
wait "$reader" || { echo "soak: the reader failed"; cat "$out/reader.log"; exit 1; }
kill -TERM "$device"
wait "$device" || true
reader=
trap - EXIT

read -r ok failed < <(sed -n 's/^bench_soak: ok \([0-9]*\) failed \([0-9]*\)$/\1 \2/p' "$out/reader.log")
read -r answered injected < <(sed -n 's/^korval-device: answered \([0-9]*\) requests, \([0-9]*\) with an injected fault$/\1 \2/p' "$out/device.log")
[ -n "${ok:-}" ] && [ -n "${answered:-}" ] || { echo "soak: counters missing"; cat "$out/reader.log" "$out/device.log"; exit 1; }
read -r base last peak samples dbase dlast < <(awk '$1 >= 60 { if (!seen) { base = $2; dbase = $3; seen = 1 } last = $2; dlast = $3; if ($2 > peak) peak = $2; n++ }
  END { print base + 0, last + 0, peak + 0, n + 0, dbase + 0, dlast + 0 }' "$out/rss.txt")

echo "ticks: $ok ok + $failed failed = $((ok + failed)); device answered $answered, injected $injected faults"
echo "reader RSS after the first minute: ${base} kB -> ${last} kB at the end (peak ${peak} kB, $samples samples)"
echo "reader RSS growth after the first minute: $((last - base)) kB (peak $((peak - base)) kB); device: $((dlast - dbase)) kB"
status=0
[ $((ok + failed)) -eq "$answered" ] || { echo "FAIL: successes + failures != ticks"; status=1; }
[ "$failed" -eq "$injected" ] || { echo "FAIL: failures != faults injected"; status=1; }
[ "$samples" -eq 0 ] || [ $((peak - base)) -lt 1024 ] || { echo "FAIL: RSS grew by 1 MB or more"; status=1; }
[ $status -eq 0 ] && echo "soak: passed"
exit $status
