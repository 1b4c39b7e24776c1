#!/usr/bin/env bash
# Feeds rezedev7 a paced 115200-baud NMEA stream (11520 bytes a second) on a
# pseudo-terminal, with the GPS analyzer open and its satellite panel shown, and reports
# the program's CPU time and peak memory over the measurement.
#
# The stream is written at line rate whatever speed the program sets (a pseudo-terminal
# keeps no baud rate), so the program's first search setting already reads it cleanly and
# it takes the device for a streaming GPS device. Bytes the program does not take in time
# are dropped, as a UART overruns, and counted.
#
# Needs Xvfb, xdotool and python3; builds nothing (BUILD_DIR, default build).
# Environment: BENCH_SECONDS (60), BENCH_DISPLAY (:98), BENCH_SHOT (a screenshot file to
# take at the end, default none), BENCH_ANALYZER (1; 0 measures the main window alone).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
seconds=${BENCH_SECONDS:-60}
display=${BENCH_DISPLAY:-:98}
program="$build/bin/rezedev7"
[[ -x $program ]] || { echo "no $program: build it first" >&2; exit 2; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The device: a car driving a circle, one fix a second of its clock, but as many fixes as
# the line carries (about 25 a second), so every value of the analyzer keeps changing.
cat >"$work/feeder.py" <<'PY'
import math, os, select, sys, time, tty

RATE = 11520  # bytes a second at 115200 baud, 8N1
tty_file, stats_file = sys.argv[1], sys.argv[2]

def sentence(body):
    check = 0
    for c in body.encode():
        check ^= c
    return "$%s*%02X\r\n" % (body, check)

def coordinate(value, width):
    degrees = int(abs(value))
    return "%0*d%07.4f" % (width, degrees, (abs(value) - degrees) * 60)

def epoch(n):
    t = 12 * 3600 + 35 * 60 + n
    hms = "%02d%02d%02d" % (t // 3600 % 24, t // 60 % 60, t % 60)
    heading = (n * 2) % 360
    lat = 48.1173 + 0.01 * math.sin(math.radians(heading))
    lon = 11.5167 + 0.015 * (1 - math.cos(math.radians(heading)))
    ns_lat = coordinate(lat, 2) + ",N"
    ew_lon = coordinate(lon, 3) + ",E"
    used = [1, 3, 6, 9, 14, 17, 19, 22]
    sky = [(prn, 10 + prn * 3 % 70, prn * 37 % 360, 20 + (prn * 7 + n) % 30)
           for prn in [1, 3, 6, 9, 11, 14, 17, 19, 22, 28]]
    lines = [
        sentence("GPGGA,%s,%s,%s,1,08,0.9,%.1f,M,46.9,M,," % (hms, ns_lat, ew_lon,
                                                               520 + 5 * math.sin(n / 9))),
        sentence("GPRMC,%s,A,%s,%s,%05.1f,%05.1f,230324,003.1,W" % (hms, ns_lat, ew_lon,
                                                                      27 + n % 5, heading)),
        sentence("GPGSA,A,3,%s,2.5,1.3,2.1" % ",".join(
            ["%02d" % p for p in used] + [""] * (12 - len(used)))),
    ]
    for block in range(3):
        sats = sky[block * 4:block * 4 + 4]
        body = "GPGSV,3,%d,%02d" % (block + 1, len(sky))
        for prn, el, az, snr in sats:
            body += ",%02d,%02d,%03d,%02d" % (prn, el, az, snr)
        lines.append(sentence(body))
    return "".join(lines).encode()

master, slave = os.openpty()
tty.setraw(slave)
os.set_blocking(master, False)
with open(tty_file, "w") as f:
    f.write(os.ttyname(slave))

stream, n = b"", 0
delivered = dropped = 0
start = last = time.monotonic()
last_stats = 0.0
while True:
    readable, _, _ = select.select([master], [], [], 0.005)
    if readable:
        try:
            os.read(master, 4096)  # what the program sends: not needed here
        except OSError:
            pass
    now = time.monotonic()
    due = int((now - start) * RATE) - (delivered + dropped)
    while len(stream) < due:
        stream += epoch(n)
        n += 1
    if due > 0:
        try:
            written = os.write(master, stream[:due])
        except (BlockingIOError, OSError):
            written = 0
        delivered += written
        dropped += due - written
        stream = stream[due:]
    if now - last_stats >= 1:
        last_stats = now
        with open(stats_file + ".tmp", "w") as f:
            f.write("%f %d %d\n" % (now, delivered, dropped))
        os.replace(stats_file + ".tmp", stats_file)
PY

if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi
export DISPLAY=$display

python3 "$work/feeder.py" "$work/tty" "$work/stats" &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/tty ]] && break; sleep 0.1; done

"$program" --create-ini "$work/home" 1 >/dev/null
REZEDEV7_COM1=$(cat "$work/tty") "$program" --home "$work/home" &
pid=$!
pids+=("$pid")
echo "rezedev7 runs as process $pid on $(cat "$work/tty")"

# The baud search hears the stream at its first setting, after the modem's start-up time.
main=$(xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1)
sleep 8
panel="-"
if [[ ${BENCH_ANALYZER:-1} == 1 ]]; then
  # "&GPS-Analyzer" in the main window's menu bar, by its mnemonic.
  xdotool windowfocus --sync "$main" key alt+g
  gps=$(xdotool search --sync --onlyvisible --name '^GPS-Analyzer' | head -1)
  sleep 1
  # "show satellite level": the protocol row's sixth box, left of the buttons (where the
  # default style and fonts put it). The open panel widens the window.
  eval "$(xdotool getwindowgeometry --shell "$gps")"
  closedWidth=$WIDTH
  xdotool mousemove --window "$gps" "${BENCH_CHECK6_X:-397}" \
    $((HEIGHT - ${BENCH_CHECK6_FROM_BOTTOM:-60})) click 1
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$gps")"
  if ((WIDTH > closedWidth)); then panel="open"; else panel="NOT open (set BENCH_CHECK6_X)"; fi
fi

ticks=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
stats() { cat "$work/stats"; }
cpu0=$(cpu)
read -r t0 delivered0 dropped0 < <(stats)
sleep "$seconds"
cpu1=$(cpu)
read -r t1 delivered1 dropped1 < <(stats)
hwm=$(awk '/VmHWM/ { print $2, $3 }' "/proc/$pid/status")
[[ -n ${BENCH_SHOT:-} ]] && import -window root "$BENCH_SHOT"

awk -v c0="$cpu0" -v c1="$cpu1" -v hz="$ticks" -v t0="$t0" -v t1="$t1" \
  -v d0="$delivered0" -v d1="$delivered1" -v x0="$dropped0" -v x1="$dropped1" -v hwm="$hwm" -v panel="$panel" \
  'BEGIN {
     wall = t1 - t0; cpu = (c1 - c0) / hz
     printf "measured          %.1f s, satellite panel of the analyzer: %s\n", wall, panel
     printf "CPU (user+system) %.2f s  (%.1f %% of one core)\n", cpu, 100 * cpu / wall
     printf "peak memory       %s (VmHWM)\n", hwm
     printf "stream delivered  %d bytes (%.0f bytes/s), dropped %d\n", d1 - d0, (d1 - d0) / wall, x1 - x0
   }'
