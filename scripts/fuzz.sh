#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) in their own build
# folder and runs each for SECONDS (default 600), one after the other:
#   scripts/fuzz.sh [SECONDS] [TARGET] [libFuzzer arguments...]
# TARGET is one of receive_path, tarvik_ini, pdu_decode, nmea_tool, modem_command,
# capture_reader (the "_fuzz" ending may be given) or all (the default). The receive
# path's corpus grows in $FUZZ_DIR/corpus, its output goes to $FUZZ_DIR/fuzz.log and its
# findings to $FUZZ_DIR/findings/; every other target has corpus-NAME/, fuzz-NAME.log and
# findings-NAME/. Each corpus is seeded on first use (golden NMEA logs, the default
# TARVIK.INI, PDUs, AT command lines and capture files from fuzz/seeds/). A finding fails
# the script once every target has run. Further arguments go to libFuzzer (e.g. -fork=1
# -ignore_crashes=1 to go on after a finding).
set -euo pipefail
cd "$(dirname "$0")/.."
all=(receive_path tarvik_ini pdu_decode nmea_tool modem_command capture_reader)
seconds=${1:-600}
shift $(($# > 0 ? 1 : 0))
targets=("${all[@]}")
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  name=${1%_fuzz}
  shift
  if [ "$name" != all ]; then
    case " ${all[*]} " in
      *" $name "*) targets=("$name") ;;
      *)
        echo "fuzz.sh: unknown target $name (one of: ${all[*]} all)" >&2
        exit 2
        ;;
    esac
  fi
fi
build=${FUZZ_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzz}"
# Every program-level input starts a program in a fresh folder; in memory that is four
# times faster.
tmp=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && tmp=/dev/shm

# Seeds the corpus of target $1 in folder $2 (existing files are kept).
seed() {
  case $1 in
    receive_path)
      cp -n tests/gps/data/*.nmea "$2/"
      # One reply longer than the receive buffer, so the fuzzer starts from the overlong case.
      [ -e "$2/overlong_reply" ] ||
        printf '$GPGSV,3,1,11,01,40,083,46,02,17,308,41*7E%.0s' $(seq 120) >"$2/overlong_reply"
      ;;
    nmea_tool) cp -n tests/gps/data/*.nmea "$2/" ;;
    *) cp -n "fuzz/seeds/$1"/* "$2/" ;;
  esac
}

# The longest input per target: a few replies' worth for line input, one PDU for decode.
max_len() {
  case $1 in
    pdu_decode) echo 1024 ;;
    modem_command) echo 4096 ;;
    *) echo 8192 ;;
  esac
}

failed=()
for t in "${targets[@]}"; do
  if [ "$t" = receive_path ]; then
    corpus=$build/corpus findings=$build/findings log=$build/fuzz.log
  else
    corpus=$build/corpus-$t findings=$build/findings-$t log=$build/fuzz-$t.log
  fi
  mkdir -p "$corpus" "$findings"
  seed "$t" "$corpus"
  echo "fuzzing $t for ${seconds}s (log: $log)"
  if TMPDIR="$tmp" "$build/bin/${t}_fuzz" -max_total_time="$seconds" -max_len="$(max_len "$t")" \
    -timeout=10 -artifact_prefix="$findings/" -print_final_stats=1 "$@" "$corpus" \
    >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
      "$log" || tail -n 5 "$log"
  else
    tail -n 80 "$log"
    echo "fuzzing $t found a problem: see $findings/" >&2
    failed+=("$t")
  fi
done
[ ${#failed[@]} -eq 0 ] || {
  echo "fuzz.sh: findings in: ${failed[*]}" >&2
  exit 1
}
