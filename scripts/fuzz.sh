#!/usr/bin/env bash
# Builds the receive-path fuzzer with clang (libFuzzer, AddressSanitizer, UBSan) in its own
# build folder and runs it for SECONDS (default 600). The corpus grows in $FUZZ_DIR/corpus
# (seeded from the golden NMEA logs), the fuzzer's output goes to $FUZZ_DIR/fuzz.log and
# a finding is saved in $FUZZ_DIR/findings/ and fails the script. Further arguments go to
# libFuzzer (e.g. -fork=1 -ignore_crashes=1 to go on after a finding).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift $(($# > 0 ? 1 : 0))
build=${FUZZ_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target receive_path_fuzz
mkdir -p "$build/corpus" "$build/findings"
cp -n tests/gps/data/*.nmea "$build/corpus/"
# One reply longer than the receive buffer, so the fuzzer starts from the overlong case.
seed="$build/corpus/overlong_reply"
[ -e "$seed" ] || printf '$GPGSV,3,1,11,01,40,083,46,02,17,308,41*7E%.0s' $(seq 120) >"$seed"
# Every input starts a program in a fresh folder; in memory that is four times faster.
tmp=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && tmp=/dev/shm
echo "fuzzing the receive path for ${seconds}s (log: $build/fuzz.log)"
if TMPDIR="$tmp" "$build/bin/receive_path_fuzz" -max_total_time="$seconds" -max_len=8192 \
  -timeout=10 -artifact_prefix="$build/findings/" -print_final_stats=1 "$@" "$build/corpus" \
  >"$build/fuzz.log" 2>&1; then
  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
    "$build/fuzz.log" || tail -n 5 "$build/fuzz.log"
else
  tail -n 80 "$build/fuzz.log"
  echo "fuzzing found a problem: see $build/findings/" >&2
  exit 1
fi
