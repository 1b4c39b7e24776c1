#!/usr/bin/env bash
# Checks the simulated modem against smsd (smstools), a standard SMS gateway: smsd with a
# configuration as its documentation's easy example has it (one modem, incoming on, the
# usual spool folders, here under a temporary folder), run as the current user in the
# foreground. One message put in the outgoing folder must be sent (d7o-sim reports it) and
# land in the sent folder; one message arriving two seconds after the start must land in
# the incoming folder with its sender and text.
#
#   scripts/smsd_check.sh [path/to/d7o-sim]     (default: build/bin/d7o-sim)
#
# Exit status: 0 all checks passed, 1 a check failed, 77 smsd is not installed.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=lib/sim_device.sh
. "$here/scripts/lib/sim_device.sh"
sim="${1:-${D7O_SIM:-$here/build/bin/d7o-sim}}"

smsd=$(command -v smsd || true)
[ -n "$smsd" ] || { [ -x /usr/sbin/smsd ] && smsd=/usr/sbin/smsd; }
if [ -z "$smsd" ]; then
  echo "SKIP: smsd is not installed (apt-get install smstools)"
  exit 77
fi
[ -x "$sim" ] || { echo "no d7o-sim at $sim" >&2; exit 1; }

work="$(mktemp -d)"
sim_pid=""
smsd_pid=""
# smsd's main process forks one process per modem; the main one passes a stop on to them.
stop_smsd() {
  [ -n "$smsd_pid" ] || return 0
  local children
  children="$(pgrep -P "$smsd_pid" || true)"
  kill "$smsd_pid" 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 "$smsd_pid" 2>/dev/null || break
    sleep 0.1
  done
  # shellcheck disable=SC2086
  kill -KILL "$smsd_pid" $children 2>/dev/null || true
  wait "$smsd_pid" 2>/dev/null || true
  smsd_pid=""
}
cleanup() {
  stop_smsd
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --incoming-sms "2:+4915112345678:Hello smsd" >"$work/device" 2>"$work/sim.log" &
sim_pid=$!
device="$(sim_device "$work/device" "$work/sim.log")"

spool="$work/spool"
mkdir -p "$spool"/{outgoing,checked,failed,incoming,sent}
# The defaults but for the folders and the pauses: smsd looks every 10 s by default,
# every second or two here, so the check stays short.
cat >"$work/smsd.conf" <<EOF
devices = GSM1
outgoing = $spool/outgoing
checked = $spool/checked
failed = $spool/failed
incoming = $spool/incoming
sent = $spool/sent
logfile = $work/smsd.log
loglevel = 7
delaytime = 2
delaytime_mainprocess = 1

[GSM1]
device = $device
incoming = yes
baudrate = 9600
EOF

# The outgoing message is there from the start, as one queued while the gateway was down.
printf 'To: 491701234567\n\nHello from smsd\n' >"$spool/outgoing/check.sms"

"$smsd" -t -c"$work/smsd.conf" -p"$work/smsd.pid" -i"$work/smsd.working" \
  >"$work/smsd.out" 2>&1 </dev/null &
smsd_pid=$!

# The modem's answer to smsd's deleting of the message it read.
deleted() {
  awk '/ -> AT\+CMGD=/ { on = 1; next } on && / <- / { found = 1 } END { exit !found }' \
    "$work/smsd.log" 2>/dev/null
}
# Both messages through (the received one deleted from the SIM), or 40 s.
for _ in $(seq 400); do
  if [ -e "$spool/sent/check.sms" ] && [ -n "$(ls -A "$spool/incoming")" ] && deleted; then
    break
  fi
  kill -0 "$smsd_pid" 2>/dev/null || break
  sleep 0.1
done
stop_smsd

failures=0
check() {  # check NAME FILE PATTERN: the extended regular expression must match a line
  if [ -f "$2" ] && grep -Eq -- "$3" "$2"; then
    echo "ok   $1"
  else
    echo "FAIL $1: no line matching '$3' in ${2#"$work"/}"
    failures=$((failures + 1))
  fi
}

check "the modem sent the outgoing message" "$work/sim.log" \
  '^d7o-sim: message [0-9]+ sent to \+?491701234567: Hello from smsd$'
check "the outgoing file is in the sent folder" "$spool/sent/check.sms" '^Hello from smsd$'
check "the sent file says when it went" "$spool/sent/check.sms" '^Sent: [0-9]{2}-[0-9]{2}-[0-9]{2} [0-9:]{8}$'
check "smsd got the message reference" "$work/smsd.log" 'GSM1: SMS sent, Message_id: [0-9]+, To: 491701234567'
if [ -n "$(ls -A "$spool/failed")" ]; then
  echo "FAIL the failed folder is not empty: $(ls "$spool/failed")"
  failures=$((failures + 1))
fi

# smsd names a received message after the modem: GSM1.xxxxxx
incoming="$(find "$spool/incoming" -type f -name 'GSM1.*' | head -n 1)"
incoming="${incoming:-$spool/incoming/none}"
check "the arriving message is in the incoming folder" "$incoming" '^Hello smsd$'
check "the incoming file names the sender" "$incoming" '^From: 4915112345678$'
check "the incoming file names the service centre" "$incoming" '^From_SMSC: [0-9]+$'
check "the incoming file says when it was sent" "$incoming" '^Sent: [0-9]{2}-[0-9]{2}-[0-9]{2} [0-9:]{8}$'
# Read, it is deleted from the SIM.
awk '/ -> AT\+CMGD=/ { on = 1; next } on && / <- / { print; exit }' "$work/smsd.log" >"$work/deleted.txt"
check "smsd deleted it from the SIM: OK" "$work/deleted.txt" ' <- OK$'

# Every command smsd sent the modem answered without an error, and smsd complained of
# nothing (level 3 is its errors; it tells of its start and stop at level 2).
awk '/ GSM1: -> / { sub(/.* GSM1: -> /, ""); command = $0; next }
     / GSM1: <- / { sub(/.* GSM1: <- /, ""); if ($0 ~ /ERROR/) print command "  ->  " $0 }' \
  "$work/smsd.log" | sort -u >"$work/refused.txt"
if [ -s "$work/refused.txt" ]; then
  echo "FAIL commands the modem refused:"
  sed 's/^/       /' "$work/refused.txt"
  failures=$((failures + 1))
else
  echo "ok   no command refused"
fi
grep -E '^[0-9-]+ [0-9:]+,3, ' "$work/smsd.log" | sed -E 's/^[0-9-]+ [0-9:]+,3, //' |
  sort -u >"$work/complaints.txt" || true
if [ -s "$work/complaints.txt" ]; then
  echo "FAIL smsd's log has errors:"
  sed 's/^/       /' "$work/complaints.txt"
  failures=$((failures + 1))
else
  echo "ok   no error in smsd's log"
fi

if [ "$failures" -ne 0 ]; then
  echo "--- spool"; (cd "$spool" && find . -type f -print -exec cat {} \;)
  echo "--- smsd output"; cat "$work/smsd.out"
  echo "--- smsd log"; cat "$work/smsd.log" 2>/dev/null || true
  echo "--- d7o-sim"; cat "$work/sim.log"
  echo "$failures check(s) failed"
  exit 1
fi
echo "smsd sends and receives through d7o-sim"
