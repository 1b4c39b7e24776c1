#!/usr/bin/env bash
# Checks the simulated modem against gammu, a standard AT client: d7o-sim on a
# pseudo-terminal with two messages on its SIM and one arriving a second after the start;
# gammu identifies the module, lists and reads the messages, sends one (gammu sends in PDU
# mode) and deletes one.
#
#   scripts/gammu_check.sh [path/to/d7o-sim]     (default: build/bin/d7o-sim)
#
# Exit status: 0 all checks passed, 1 a check failed, 77 gammu is not installed.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=lib/sim_device.sh
. "$here/scripts/lib/sim_device.sh"
sim="${1:-${D7O_SIM:-$here/build/bin/d7o-sim}}"

if ! command -v gammu >/dev/null; then
  echo "SKIP: gammu is not installed (apt-get install gammu)"
  exit 77
fi
[ -x "$sim" ] || { echo "no d7o-sim at $sim" >&2; exit 1; }

work="$(mktemp -d)"
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --sms-store 10 \
  --sms "+491711234567:Hello from the SIM" \
  --sms "0301234:Second one" \
  --incoming-sms "1:+4915112345678:Arrived later" \
  >"$work/device" 2>"$work/sim.log" &
sim_pid=$!

device="$(sim_device "$work/device" "$work/sim.log")"

cat >"$work/gammurc" <<EOF
[gammu]
device = $device
connection = at
logfile = $work/gammu.log
logformat = textall
EOF

failures=0
check() {  # check NAME FILE PATTERN: the extended regular expression must match a line
  if grep -Eq -- "$3" "$2"; then
    echo "ok   $1"
  else
    echo "FAIL $1: no line matching '$3'"
    failures=$((failures + 1))
  fi
}
check_not() {  # check_not NAME FILE PATTERN: no line may match
  if grep -Eq -- "$3" "$2"; then
    echo "FAIL $1: a line matches '$3'"
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}

# The incoming message is on the SIM before gammu looks.
for _ in $(seq 50); do
  grep -q "stored at 3" "$work/sim.log" && break
  sleep 0.1
done

gammu -c "$work/gammurc" identify >"$work/identify.txt" 2>&1 || true
check "identify: manufacturer" "$work/identify.txt" '^Manufacturer +: Tarvik GmbH$'
check "identify: model" "$work/identify.txt" '^Model +: .*D7O'
check "identify: IMEI" "$work/identify.txt" '^IMEI +: [0-9]{15}$'
check "identify: IMSI" "$work/identify.txt" '^SIM IMSI +: [0-9]{15}$'

# One session for the rest, so gammu's start-up probing runs once.
cat >"$work/batch" <<'EOF'
getallsms
getsms 1 2
sendsms TEXT 0123456789 -text "hi there"
deletesms 1 1
getallsms
EOF
gammu -c "$work/gammurc" batch "$work/batch" >"$work/batch.txt" 2>&1 || true
# The output of command N of the batch.
section() {
  awk -v n="$1" '/^Executing batch .* - command [0-9]+:/ { on = ($0 ~ (" command " n ":")) ; next }
                 on' "$work/batch.txt" >"$work/part$1.txt"
}
for n in 1 2 3 4 5; do section "$n"; done

check "getallsms: three messages" "$work/part1.txt" '^3 SMS parts in 3 SMS sequences$'
check "getallsms: first text" "$work/part1.txt" '^Hello from the SIM$'
check "getallsms: first sender" "$work/part1.txt" '^Remote number +: "\+491711234567"$'
check "getallsms: the one that came later" "$work/part1.txt" '^Arrived later$'
check "getallsms: unread" "$work/part1.txt" '^Status +: UnRead$'
check "getallsms: service centre" "$work/part1.txt" '^SMSC number +: "\+491710760000"$'
check "getsms 1 2: text" "$work/part2.txt" '^Second one$'
check "getsms 1 2: sender" "$work/part2.txt" '^Remote number +: "0301234"$'
check "sendsms: accepted" "$work/part3.txt" 'OK, message reference=[0-9]+'
check "sendsms: the modem sent it" "$work/sim.log" '^d7o-sim: message [0-9]+ sent to 0123456789: hi there$'
check "deletesms then getallsms: two left" "$work/part5.txt" '^2 SMS parts in 2 SMS sequences$'
check_not "deletesms then getallsms: the first is gone" "$work/part5.txt" '^Hello from the SIM$'
check "deletesms then getallsms: the second stays" "$work/part5.txt" '^Second one$'

if [ "$failures" -ne 0 ]; then
  echo "--- gammu identify"; cat "$work/identify.txt"
  echo "--- gammu batch"; cat "$work/batch.txt"
  echo "--- d7o-sim"; cat "$work/sim.log"
  echo "--- last of gammu's log"; tail -n 60 "$work/gammu.log" 2>/dev/null || true
  echo "$failures check(s) failed"
  exit 1
fi
echo "gammu works with d7o-sim"
