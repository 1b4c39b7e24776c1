#!/usr/bin/env bash
# Checks d7o-sim's replay against gpsd, a standard NMEA client: a capture of a GPS session
# (a vehicle driving north from 48.1173,11.5167 for two minutes, amid AT commands and
# line events) is replayed onto a pseudo-terminal ten times faster; a private gpsd reads
# the device and gpspipe must see position reports (TPV) with a fix along the drive.
#
#   scripts/gpsd_replay_check.sh [path/to/d7o-sim]     (default: build/bin/d7o-sim)
#
# Exit status: 0 the check passed, 1 it failed, 77 gpsd or gpspipe is not installed.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=lib/sim_device.sh
. "$here/scripts/lib/sim_device.sh"
sim="${1:-${D7O_SIM:-$here/build/bin/d7o-sim}}"

# shellcheck source=lib/gpsd_check_setup.sh
. "$here/scripts/lib/gpsd_check_setup.sh"

# nmea VAR BODY: the sentence with its checksum, without the line end, into VAR (no
# subshell: a few hundred of them stay quick).
nmea() {
  local body=$2 sum=0 i c
  for ((i = 0; i < ${#body}; i++)); do
    printf -v c '%d' "'${body:i:1}"
    sum=$((sum ^ c))
  done
  printf -v "$1" '$%s*%02X' "$body" "$sum"
}

# The capture: a start-up exchange, then a fix a second for 120 s, the vehicle going
# north 0.01' a second; the receiver's lines interleave with the program's commands.
capture="$work/drive.d7ocap"
{
  echo '{"d7o_capture":1,"open":false,"port":"COM1","program":"rezedev7 8.0.7","settings":"9600,n,8,1","start":"2026-12-09T12:34:59.000Z"}'
  echo '{"t":0,"ev":"open"}'
  echo '{"t":20,"tx":"AT&REQ INT\r"}'
  echo '{"t":80,"rx":"AT&REQ INT\r\r\nOK\r\n"}'
  echo '{"t":90,"ev":"cts","on":true}'
  nmea gsa "GPGSA,A,3,04,05,09,12,24,,,,,,,,2.5,1.3,2.1"
  for ((i = 0; i < 120; i++)); do
    s=$((35 * 60 + i))
    printf -v time '12%02d%02d.00' $((s / 60)) $((s % 60))
    m=$((7038 + 10 * i))
    printf -v lat '48%02d.%03d' $((m / 1000)) $((m % 1000))
    nmea gga "GPGGA,$time,$lat,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"
    nmea rmc "GPRMC,$time,A,$lat,N,01131.000,E,035.0,000.0,091226,,,A"
    t=$((1000 + 1000 * i))
    printf '{"t":%d,"rx":"%s\\r\\n%s\\r\\n"}\n' "$t" "$gga" "$rmc"
    printf '{"t":%d,"rx":"%s\\r\\n"}\n' $((t + 40)) "$gsa"
    if ((i % 10 == 5)); then
      printf '{"t":%d,"tx":"AT+CSQ\\r"}\n' $((t + 500))
      printf '{"t":%d,"rx":"AT+CSQ\\r\\r\\n+CSQ: 21,0\\r\\n\\r\\nOK\\r\\n"}\n' $((t + 560))
    fi
  done
} >"$capture"

"$sim" --replay "$capture" --speed 10 >"$work/device" 2>"$work/sim.log" &
pids+=($!)
device="$(sim_device "$work/device" "$work/sim.log")"

start_gpsd "$device"

# Reports until 40 have come, or the drive (12 s at ten times) is long over.
timeout 60 gpspipe -w -n 40 "127.0.0.1:$port" >"$work/reports.json" 2>"$work/gpspipe.log" || true

fixes="$work/fixes.txt"
grep '"class":"TPV"' "$work/reports.json" | grep -E '"mode":[23][,}]' |
  sed -nE 's/.*"lat":(-?[0-9.]+).*"lon":(-?[0-9.]+).*/\1 \2/p' >"$fixes" || true

failures=0
if [ -s "$fixes" ]; then
  echo "ok   gpsd reported $(wc -l <"$fixes") fixes (TPV with mode 2 or 3)"
else
  echo "FAIL gpsd reported no fix (TPV with mode 2 or 3)"
  failures=$((failures + 1))
fi
# The drive runs from 48.1173 to 48.1371 north along 11.5167 east.
if [ -s "$fixes" ] && awk '{ if ($1 < 48.117 || $1 > 48.138 || $2 < 11.516 || $2 > 11.518) bad = 1 }
                          END { exit bad }' "$fixes"; then
  echo "ok   every fix lies on the drive ($(head -n 1 "$fixes") .. $(tail -n 1 "$fixes"))"
else
  echo "FAIL fixes off the drive (48.1173..48.1371 N, 11.5167 E)"
  failures=$((failures + 1))
fi
# Northward, in the order recorded.
if [ -s "$fixes" ] && awk 'NR > 1 && $1 < last { back = 1 } { last = $1 } END { exit back }' "$fixes"; then
  echo "ok   the fixes go north in order"
else
  echo "FAIL the fixes do not go north in order"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "--- gpspipe"
  cat "$work/reports.json" "$work/gpspipe.log"
  echo "--- gpsd"
  tail -n 40 "$work/gpsd.log"
  echo "--- d7o-sim"
  cat "$work/sim.log"
  echo "$failures check(s) failed"
  exit 1
fi
echo "gpsd reads d7o-sim's replay"
