#!/usr/bin/env bash
# Times d7o-tool's "nmea" command against gpsdecode (gpsd's batch decoder) on the same
# NMEA log: a generated, realistic one-fix-a-second stream of GGA, RMC, GSA and three GSV
# sentences an epoch, valid checksums, a moving position and changing satellites.
# Prints lines per second for each run of each program and the ratio of the best runs.
# Builds nothing (BUILD_DIR, default build). Environment: BENCH_LINES (200000),
# BENCH_RUNS (3), BENCH_KEEP (a path to keep the generated log at, default none),
# REF (a file of JSON lines d7o-tool's output must equal, byte for byte).
set -euo pipefail
export LC_ALL=C  # a "." in $EPOCHREALTIME and printf, whatever the locale
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
lines=${BENCH_LINES:-200000}
runs=${BENCH_RUNS:-3}
tool="$build/bin/d7o-tool"
[[ -x $tool ]] || { echo "no $tool: build it first" >&2; exit 2; }
command -v gpsdecode >/dev/null || { echo "gpsdecode not found (Debian: gpsd-tools)" >&2; exit 2; }
command -v python3 >/dev/null || { echo "python3 not found" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log="$work/stream.nmea"

python3 - "$lines" >"$log" <<'PY'
import math, random, sys

total = int(sys.argv[1])
rng = random.Random(7)  # the same log every time, so runs and outputs compare

def sentence(body):
    checksum = 0
    for c in body.encode("ascii"):
        checksum ^= c
    return "$%s*%02X\r\n" % (body, checksum)

def ddmm(value, width):
    degrees = int(abs(value))
    minutes = (abs(value) - degrees) * 60
    return "%0*d%07.4f" % (width, degrees, minutes)

sats = [{"prn": p, "el": rng.uniform(5, 85), "az": rng.uniform(0, 359), "snr": rng.uniform(20, 48)}
        for p in rng.sample(range(1, 33), 12)]
lat, lon, course, knots = 48.1173, 11.5167, 84.4, 22.4
out = sys.stdout
written = 0
t = 0
while written < total:
    hh, mm, ss = (t // 3600) % 24, (t // 60) % 60, t % 60
    utc = "%02d%02d%02d.00" % (hh, mm, ss)
    date = "%02d%02d%02d" % (1 + (t // 86400) % 28, 3, 94)
    course = (course + rng.uniform(-3, 3)) % 360
    knots = max(0.0, knots + rng.uniform(-0.5, 0.5))
    lat += knots * 0.514 * math.cos(math.radians(course)) / 111320
    lon += knots * 0.514 * math.sin(math.radians(course)) / (111320 * math.cos(math.radians(lat)))
    used = [s for s in sats if s["snr"] > 0][:12]
    ns, ew = ("N" if lat >= 0 else "S"), ("E" if lon >= 0 else "W")
    hdop = 0.8 + rng.random()
    alt = 545.4 + rng.uniform(-5, 5)
    epoch = [
        sentence("GPGGA,%s,%s,%s,%s,%s,1,%02d,%.1f,%.1f,M,46.9,M,," %
                 (utc, ddmm(lat, 2), ns, ddmm(lon, 3), ew, len(used), hdop, alt)),
        sentence("GPRMC,%s,A,%s,%s,%s,%s,%05.1f,%05.1f,%s,003.1,W" %
                 (utc, ddmm(lat, 2), ns, ddmm(lon, 3), ew, knots, course, date)),
        sentence("GPGSA,A,3,%s,%.1f,%.1f,%.1f" %
                 (",".join(["%02d" % s["prn"] for s in used] + [""] * (12 - len(used))),
                  hdop + 0.9, hdop, hdop + 0.5)),
    ]
    for n in range(3):
        blocks = []
        for s in sats[4 * n:4 * n + 4]:
            snr = "" if s["snr"] < 22 else "%02d" % s["snr"]
            blocks.append("%02d,%02d,%03d,%s" % (s["prn"], s["el"], s["az"], snr))
        epoch.append(sentence("GPGSV,3,%d,%02d,%s" % (n + 1, len(sats), ",".join(blocks))))
    for s in sats:
        s["el"] = min(89, max(1, s["el"] + rng.uniform(-0.2, 0.2)))
        s["az"] = (s["az"] + rng.uniform(-0.3, 0.3)) % 360
        s["snr"] = min(50, max(15, s["snr"] + rng.uniform(-2, 2)))
    for line in epoch[:total - written]:
        out.write(line)
    written += min(len(epoch), total - written)
    t += 1
PY
[[ -n ${BENCH_KEEP:-} ]] && cp "$log" "$BENCH_KEEP"

# gpsdecode must really decode the log, not skip it: a TPV report for every epoch (six
# lines).
decoded=$(gpsdecode <"$log" | grep -c '"class":"TPV"' || true)
((decoded >= lines / 6)) || { echo "gpsdecode decoded only $decoded TPV reports" >&2; exit 1; }
echo "gpsdecode: $decoded TPV reports for $lines lines"
produced=$("$tool" nmea "$log" | wc -l)
((produced == lines)) || { echo "d7o-tool printed $produced lines for $lines" >&2; exit 1; }
if [[ -n ${REF:-} ]]; then
  if "$tool" nmea "$log" | cmp -s - "$REF"; then
    echo "d7o-tool output equals $REF"
  else
    echo "d7o-tool output differs from $REF" >&2
    exit 1
  fi
fi

# Wall-clock seconds of one run, input from the file, output discarded.
seconds() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null
  python3 -c "print('%.3f' % ($EPOCHREALTIME - $start))"
}
rate() { python3 -c "print('%.0f' % ($lines / $1))"; }

best_tool=0
best_gpsd=0
for ((i = 1; i <= runs; i++)); do
  t=$(seconds "$tool" nmea "$log")
  r=$(rate "$t")
  printf 'd7o-tool nmea  run %d: %8s lines/s (%.3f s)\n' "$i" "$r" "$t"
  ((r > best_tool)) && best_tool=$r
  t=$(seconds sh -c 'exec gpsdecode <"$1"' gpsdecode "$log")
  r=$(rate "$t")
  printf 'gpsdecode      run %d: %8s lines/s (%.3f s)\n' "$i" "$r" "$t"
  ((r > best_gpsd)) && best_gpsd=$r
done
python3 -c "print('best: d7o-tool %d, gpsdecode %d lines/s; d7o-tool/gpsdecode %.2f' % ($best_tool, $best_gpsd, $best_tool / $best_gpsd))"
