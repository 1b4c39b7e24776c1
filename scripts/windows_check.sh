#!/usr/bin/env bash
# The Windows build, checked without Windows: builds the core, d7o-tool and the core's tests
# with the MinGW-w64 cross compiler (cmake/mingw-w64.cmake) in build-mingw/, runs the tests
# under wine, and runs d7o-tool there on the golden NMEA logs and on a set of PDUs, each
# output byte for byte against the Linux build's (BUILD_DIR, default build; it is built
# first when missing). Qt is not part of it: there is no Qt for MinGW here.
# Environment: MINGW_BUILD_DIR (build-mingw).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh g++-mingw-w64-x86-64-posix wine64 googletest

linux=${BUILD_DIR:-build}
windows=${MINGW_BUILD_DIR:-build-mingw}
wine=/usr/lib/wine/wine64
# A prefix of our own, made once; no desktop, no debugging chatter, no offer to install
# Mono or Gecko, and command lines and output read as UTF-8.
export WINEPREFIX="$PWD/$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
unset DISPLAY

if [[ ! -x $linux/bin/d7o-tool ]]; then
  cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$linux" -j2 --target d7o-tool
fi
mkdir -p "$windows"
"$wine" wineboot --init >/dev/null 2>&1 || true
# The golden files as the Windows programs see them: through wine's drive for /.
data=$("$wine" winepath -w "$PWD/tests/data" 2>/dev/null | tr -d '\r')
cmake -S . -B "$windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DD7O_BUILD_UI=OFF -DD7O_BUILD_BENCH=OFF \
  "-DD7O_TEST_DATA_DIR=${data//\\//}" >/dev/null
cmake --build "$windows" -j2

scratch=$(mktemp -d)
# wineserver lingers after the last program; it is ended with the check.
trap 'chattr -i "$scratch/locked" 2>/dev/null; rm -rf "$scratch"; /usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT
# A folder no file can be made in, though its marks say it can be written to: immutable,
# which holds even for root (where chattr is allowed; the test is skipped otherwise).
mkdir "$scratch/locked"
if chattr +i "$scratch/locked" 2>/dev/null; then
  D7O_TEST_LOCKED_FOLDER=$("$wine" winepath -w "$scratch/locked" 2>/dev/null | tr -d '\r')
  export D7O_TEST_LOCKED_FOLDER
fi

echo "== core tests under wine"
tests=0
"$wine" "$windows/bin/core_tests.exe" --gtest_brief=1 || tests=$?

echo "== d7o-tool under wine against Linux"
tool_linux=$linux/bin/d7o-tool
tool_windows=$windows/bin/d7o-tool.exe
failed=0
compared=0
# Runs d7o-tool with the given arguments (and standard input) on both systems; output,
# errors and exit status must be the same.
compare() {
  local input=$1
  shift
  local a b
  a=$(mktemp) b=$(mktemp)
  local sa=0 sw=0
  "$tool_linux" "$@" <"$input" >"$a" 2>"$a.err" || sa=$?
  "$wine" "$tool_windows" "$@" <"$input" >"$b" 2>"$b.err" || sw=$?
  compared=$((compared + 1))
  if ! cmp -s "$a" "$b" || ! cmp -s "$a.err" "$b.err" || [[ $sa != "$sw" ]]; then
    failed=$((failed + 1))
    echo "differs: d7o-tool $* (exit $sa on Linux, $sw under wine)"
    cmp "$a" "$b" || true
    cmp "$a.err" "$b.err" || true
  fi
  rm -f "$a" "$b" "$a.err" "$b.err"
}

for log in tests/gps/data/*.nmea; do
  speed=--kmh
  [[ $log == *_knots.nmea ]] && speed=--knots
  compare /dev/null nmea "$speed" "$log"      # a file named
  compare "$log" nmea "$speed"                # standard input
done
# A log in a folder whose name is outside any ANSI code page, and a stream with a ^Z in it
# (the end of an SMS text in a capture), which a text-mode read takes for the end.
mkdir "$scratch/Δοκιμή"
cp tests/gps/data/examples.nmea "$scratch/Δοκιμή/log.nmea"
compare /dev/null nmea "$scratch/Δοκιμή/log.nmea"
{ head -3 tests/gps/data/examples.nmea; printf 'AT+CMGS=5\r\nhello\x1a\r\n'; tail -3 tests/gps/data/examples.nmea; } >"$scratch/sub.nmea"
compare "$scratch/sub.nmea" nmea
compare "$scratch/sub.nmea" capture - --to text
stats=tests/gps/data/stream_statistics.log
compare /dev/null nmea-stats "$stats"
for to in text nmea gpx csv; do compare /dev/null capture "$stats" --to "$to"; done
compare /dev/null pdu --to 0170123456 "Hello"
compare /dev/null pdu --to +491701234567 --sca +491710760000 --7bit "Grüße aus Köln, 10 € [ok]"
compare /dev/null pdu --to 0170123456 --class 0 --vp 255 --mr 7 --pid 41 "Zürich ÄÖÜ"
compare /dev/null pdu --to 0170123456 --7bit "$(printf 'x%.0s' {1..161})"
compare /dev/null septets "Grüße {€}"
compare /dev/null decode 0011000B919471214365F70000A70AE8329BFD06DDDF723619
compare /dev/null decode 07919471017000F0040B919471214365F70008520110120000000A0047007200FC00DF0065
compare /dev/null decode 00zz
compare /dev/null nmea /no/such/file.nmea
compare /dev/null bogus
echo "d7o-tool: $compared runs compared, $failed differ"
[[ $tests == 0 ]] || echo "core tests under wine failed"
[[ $failed == 0 && $tests == 0 ]]
