#!/usr/bin/env bash
# Checks the simulated modem's own GPS output against gpsd, a standard NMEA client:
# d7o-sim --gps sends GGA, GSV, RMC and GSA once a second from a drive that starts in
# Berlin; a private gpsd reads the device and gpspipe must see the device recognised as
# an NMEA receiver, position reports (TPV) with a fix near the start, and sky views (SKY)
# with the satellites in use.
#
#   scripts/gpsd_live_check.sh [path/to/d7o-sim]     (default: build/bin/d7o-sim)
#
# Exit status: 0 all checks passed, 1 a check failed, 77 gpsd or gpspipe is not installed.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=lib/sim_device.sh
. "$here/scripts/lib/sim_device.sh"
sim="${1:-${D7O_SIM:-$here/build/bin/d7o-sim}}"

# shellcheck source=lib/gpsd_check_setup.sh
. "$here/scripts/lib/gpsd_check_setup.sh"

# A start away from the default, so the fixes are known to come from this option.
"$sim" --gps --position 52.5163,13.3777 >"$work/device" 2>"$work/sim.log" &
pids+=($!)
device="$(sim_device "$work/device" "$work/sim.log")"

start_gpsd "$device"

reports="$work/reports.json"
: >"$reports"
timeout 40 gpspipe -w "127.0.0.1:$port" >"$reports" 2>"$work/gpspipe.log" &
pipe_pid=$!
pids+=("$pipe_pid")

# The lines gpsd reports: TPV with a fix, SKY with satellites in use, and the device
# known by its driver.
fixes="$work/fixes.txt"
collect() {
  grep '"class":"TPV"' "$reports" | grep -E '"mode":[23][,}]' |
    sed -nE 's/.*"lat":(-?[0-9.]+).*"lon":(-?[0-9.]+).*/\1 \2/p' >"$fixes" || true
  grep '"class":"SKY"' "$reports" | grep '"used":true' >"$work/sky.json" || true
  grep -E '"class":"DEVICES?"' "$reports" | grep -F "\"path\":\"$device\"" >"$work/devices.json" || true
  # The time goes with a fix once gpsd has a date (from RMC).
  grep '"class":"TPV"' "$reports" | grep -E '"mode":[23][,}]' | grep -F '"time":"' >"$work/timed.json" || true
}
# A receiver at 1 Hz: a few seconds bring all of it; 30 at most.
for _ in $(seq 60); do
  collect
  if [ -s "$work/timed.json" ] && [ -s "$work/sky.json" ] && grep -q '"driver":"NMEA0183"' "$work/devices.json"; then
    break
  fi
  kill -0 "$pipe_pid" 2>/dev/null || break
  sleep 0.5
done
kill "$pipe_pid" 2>/dev/null || true
wait "$pipe_pid" 2>/dev/null || true
collect

failures=0
check() {  # check NAME COMMAND...: passes when the command succeeds
  local name=$1
  shift
  if "$@"; then
    echo "ok   $name"
  else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
}
check "gpsd lists the device ($device)" grep -q . "$work/devices.json"
check "gpsd knows it as an NMEA receiver (driver NMEA0183)" grep -q '"driver":"NMEA0183"' "$work/devices.json"
check "TPV with mode 2 or 3" test -s "$fixes"
# The drive goes a few hundred metres at most in these seconds.
# shellcheck disable=SC2016 # awk's fields
check "every fix near the start (52.5163 N, 13.3777 E)" \
  awk 'BEGIN { n = 0 } { n++; if ($1 < 52.50 || $1 > 52.53 || $2 < 13.36 || $2 > 13.40) bad = 1 }
       END { exit (bad || n == 0) }' "$fixes"
check "SKY with satellites in use" test -s "$work/sky.json"
# The receiver's clock is the machine's: the fix's time is within a minute of now.
fix_time="$(sed -nE '1s/.*"time":"([^"]+)".*/\1/p' "$work/timed.json")"
age=$(($(date -u +%s) - $(date -u -d "${fix_time:-1970-01-01T00:00:00Z}" +%s)))
check "TPV with the time of now (${fix_time:-none})" test "$age" -ge -60 -a "$age" -le 60

if [ "$failures" -ne 0 ]; then
  echo "--- gpspipe"
  head -n 60 "$reports"
  cat "$work/gpspipe.log"
  echo "--- gpsd"
  tail -n 40 "$work/gpsd.log"
  echo "--- d7o-sim"
  cat "$work/sim.log"
  echo "$failures check(s) failed"
  exit 1
fi
echo "gpsd reads d7o-sim's GPS receiver ($(wc -l <"$fixes") fixes, first $(head -n 1 "$fixes"))"
