#!/usr/bin/env bash
# Checks d7o-tool's capture exports against gpsbabel, a standard GPS data converter: a
# capture of a ten-minute drive (a receiver at 1 Hz on the modem's line, the fix lost now
# and then, a sentence garbled now and then, AT commands in between, the bytes cut into
# records anywhere) goes out as GPX and as NMEA, and gpsbabel must read back every valid
# fix, at its place and time, from both. The golden NMEA logs of the tests, read as plain
# logs, must come back from the GPX as well.
#
#   scripts/capture_check.sh [path/to/d7o-tool]     (default: build/bin/d7o-tool)
#
# Exit status: 0 all checks passed, 1 a check failed, 77 gpsbabel (or python3) is missing.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
tool="${1:-${D7O_TOOL:-$here/build/bin/d7o-tool}}"

for program in gpsbabel python3; do
  if ! command -v "$program" >/dev/null; then
    echo "SKIP: $program is not installed (apt-get install $program)"
    exit 77
  fi
done
[ -x "$tool" ] || { echo "no d7o-tool at $tool" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The drive as a capture, and beside it what a track of it must hold: one line per valid
# fix, "lat,lon,altitude,yyyy/mm/dd,hh:mm:ss" as gpsbabel's unicsv writes it; and for the
# NMEA log "lat,lon,hh:mm:ss" per second with a valid GGA or RMC (a garbled RMC leaves the
# GGA of its second).
python3 - "$work/drive.d7ocap" "$work/expected.csv" "$work/expected_nmea.csv" <<'EOF'
import json, math, random, sys

capture_path, expected_path, expected_nmea_path = sys.argv[1:4]
random.seed(7)

def sentence(body):
    sum = 0
    for c in body:
        sum ^= ord(c)
    return "$%s*%02X\r\n" % (body, sum)

def angle(value, degree_digits, positive, negative):
    hemisphere = positive if value >= 0 else negative
    value = abs(value)
    degrees = int(value)
    minutes = "%07.4f" % ((value - degrees) * 60)
    if minutes == "60.0000":
        degrees, minutes = degrees + 1, "00.0000"
    text = "%0*d%s" % (degree_digits, degrees, minutes)
    exact = degrees + float(minutes) / 60
    return text, hemisphere, exact if hemisphere == positive else -exact

received = []   # (ms, bytes)
sent = []
expected = []
expected_nmea = []
lat, lon = -33.8, -70.6   # south and west, so both signs are negative
start_ms = 18 * 3600 * 1000 + 22 * 60 * 1000 + 20123
for second in range(600):
    t = second * 1000 + 300
    lat += 0.00011 * math.cos(second / 90)
    lon += 0.00013 * math.sin(second / 70)
    clock = (start_ms // 1000 + second) % 86400
    hhmmss = "%02d%02d%02d" % (clock // 3600, clock // 60 % 60, clock % 60)
    lat_text, ns, lat_exact = angle(lat, 2, "N", "S")
    lon_text, ew, lon_exact = angle(lon, 3, "E", "W")
    altitude = "%.1f" % (520 + 30 * math.sin(second / 40))
    lost = second % 50 in (20, 21, 22)
    garbled = second % 97 == 40
    quality = "0" if lost else "1"
    gga = sentence("GPGGA,%s,%s,%s,%s,%s,%s,08,0.9,%s,M,46.9,M,,"
                   % (hhmmss, lat_text, ns, lon_text, ew, quality, altitude))
    rmc = sentence("GPRMC,%s,%s,%s,%s,%s,%s,022.4,084.4,091226,003.1,W"
                   % (hhmmss, "V" if lost else "A", lat_text, ns, lon_text, ew))
    if garbled:
        rmc = rmc.replace(",022.4,", ",022.5,")  # the checksum no longer fits
    gsa = sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1")
    received.append((t, gga + gsa + rmc))
    time_of_day = "%02d:%02d:%02d" % (clock // 3600, clock // 60 % 60, clock % 60)
    if not lost and not garbled:
        expected.append("%.6f,%.6f,%s,2026/12/09,%s" % (lat_exact, lon_exact, altitude,
                                                        time_of_day))
    if not lost:
        expected_nmea.append("%.6f,%.6f,%s" % (lat_exact, lon_exact, time_of_day))
    if second % 10 == 5:
        sent.append((t + 100, "AT+CSQ\r"))
        received.append((t + 140, "AT+CSQ\r\r\n+CSQ: %d,99\r\n\r\nOK\r\n" % (10 + second % 20)))

# The received bytes cut anywhere, each piece at a time of its own within its second.
records = []
for t, data in received:
    at = 0
    while at < len(data):
        n = random.randint(1, 90)
        records.append((t, {"t": t, "rx": data[at:at + n]}))
        at += n
        t += 3
records += [(t, {"t": t, "tx": data}) for t, data in sent]
records.sort(key=lambda r: r[0])

with open(capture_path, "w", encoding="utf-8", newline="") as out:
    out.write(json.dumps({"d7o_capture": 1, "open": True, "port": "COM1",
                          "program": "rezedev7 8.0.7", "settings": "9600,n,8,1",
                          "start": "2026-12-09T18:22:20.123Z"}, sort_keys=True) + "\n")
    # Records written compactly, as the recorder writes them.
    out.write(json.dumps({"t": 0, "ev": "open"}, separators=(",", ":")) + "\n")
    for _, record in records:
        out.write(json.dumps(record, separators=(",", ":")) + "\n")
with open(expected_path, "w") as out:
    out.write("\n".join(expected) + "\n")
with open(expected_nmea_path, "w") as out:
    out.write("\n".join(expected_nmea) + "\n")
EOF

failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }

# Columns of gpsbabel's unicsv by name, without its header line.
points() {  # points FORMAT FILE NAME...
  local format=$1 file=$2
  shift 2
  gpsbabel -t -i "$format" -f "$file" -o unicsv -F - 2>"$work/gpsbabel.err" |
    awk -F, -v names="$*" '
      { sub(/\r$/, "") }
      NR == 1 { n = split(names, want, " "); for (i = 1; i <= NF; i++) column[$i] = i; next }
      { line = ""; for (k = 1; k <= n; k++) line = line (k > 1 ? "," : "") $(column[want[k]]); print line }'
}

"$tool" capture "$work/drive.d7ocap" --to gpx >"$work/drive.gpx" 2>"$work/gpx.err" ||
  fail "d7o-tool capture --to gpx: status $?"
expected_count=$(wc -l <"$work/expected.csv")
if points gpx "$work/drive.gpx" Latitude Longitude Altitude Date Time >"$work/gpx.csv" && diff -u "$work/expected.csv" "$work/gpx.csv" >"$work/gpx.diff"; then
  pass "gpsbabel reads the GPX: $expected_count points, each valid fix at its place and time"
else
  fail "the GPX read by gpsbabel is not the drive's valid fixes:"
  head -20 "$work/gpx.diff" "$work/gpsbabel.err"
fi
# The drive garbles the RMC of six seconds and loses its fix in 36.
if grep -q "^d7o-tool: 6 sentences with a wrong checksum left out$" "$work/gpx.err"; then
  pass "the garbled sentences are left out and counted"
else
  fail "the garbled sentences: $(cat "$work/gpx.err")"
fi

"$tool" capture "$work/drive.d7ocap" --to nmea >"$work/drive.nmea" 2>/dev/null ||
  fail "d7o-tool capture --to nmea: status $?"
# gpsbabel's NMEA reader gives a century of its own to a two-digit year; place and time of
# day are what count here.
if points nmea "$work/drive.nmea" Latitude Longitude Time >"$work/nmea.csv" &&
  diff -u "$work/expected_nmea.csv" "$work/nmea.csv" >"$work/nmea.diff" &&
  ! grep -qi checksum "$work/gpsbabel.err"; then
  pass "gpsbabel reads the NMEA log: $(wc -l <"$work/expected_nmea.csv") fixes, no checksum complaint"
else
  fail "the NMEA log read by gpsbabel is not the drive's valid fixes:"
  head -20 "$work/nmea.diff" "$work/gpsbabel.err"
fi
if [ "$(grep -c $'\r$' "$work/drive.nmea")" -eq "$(wc -l <"$work/drive.nmea")" ] &&
  [ "$(grep -c '^[$]GP' "$work/drive.nmea")" -eq $((3 * 600 - 6)) ]; then
  pass "the NMEA log holds every sentence with a fitting checksum, each with CR LF"
else
  fail "the NMEA log's sentences or line ends"
fi

rows=$("$tool" capture "$work/drive.d7ocap" --to csv | tail -n +2 | grep -c '' || true)
if [ "$rows" -eq 60 ]; then pass "the CSV has a row per +CSQ reply"; else fail "the CSV has $rows rows, not 60"; fi

# The golden logs as plain logs: a point per RMC with status A, a fitting checksum (or
# none) and fields of the right shape.
python3 - "$here"/tests/gps/data/*.nmea >"$work/golden.txt" <<'EOF'
import re, sys
shapes = {1: r"\d{6}(\.\d+)?", 2: "A", 3: r"\d{4}(\.\d+)?", 4: "[NS]", 5: r"\d{5}(\.\d+)?",
          6: "[EW]", 9: r"\d{6}"}
for path in sys.argv[1:]:
    count = 0
    for raw in open(path, "rb").read().replace(b"\r", b"\n").split(b"\n"):
        line = raw.decode("latin-1")
        if not line.startswith("$") or line[3:6] != "RMC":
            continue
        body, star, given = line[1:].partition("*")
        if star:
            sum = 0
            for c in body:
                sum ^= ord(c)
            if given.upper() != "%02X" % sum:
                continue
        fields = body.split(",")
        if len(fields) > 9 and all(re.fullmatch(shapes[i], fields[i]) for i in shapes):
            count += 1
    print("%s\t%d" % (path, count))
EOF
while IFS=$'\t' read -r log want; do
  got=$("$tool" capture "$log" --to gpx 2>/dev/null | gpsbabel -t -i gpx -f - -o unicsv -F - | tail -n +2 | grep -c '' || true)
  if [ "$got" -eq "$want" ]; then
    pass "$(basename "$log"): $got points"
  else
    fail "$(basename "$log"): gpsbabel read $got points, the log has $want valid fixes"
  fi
done <"$work/golden.txt"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
