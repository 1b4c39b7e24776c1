#!/usr/bin/env bash
# Checks the simulated modem against wvdial, a standard dialler: wvdial with the
# initialisation wvdialconf writes (ATZ, then ATQ0 V1 E1 S0=0 &C1 &D2 +FCLASS=0) dials a
# data call and must see "CONNECT 9600"; in its stupid mode it then hands the line to
# pppd, here a stand-in that records how it was called and leaves, as the simulated far
# end speaks no PPP. Once wvdial has closed the device the call must be over (&D2: DTR
# off ends it) and "AT" gets "OK", and a second wvdial dials again. On a pseudo-terminal
# the close is all there is of a DTR drop: wvdial cannot read the carrier there
# (TIOCMGET fails), so it neither drops DTR nor sends "+++" and ATH before it closes;
# only as it opens the device does it set the rate to 0 (DTR off) for a moment.
#
#   scripts/wvdial_check.sh [path/to/d7o-sim]     (default: build/bin/d7o-sim)
#
# Exit status: 0 all checks passed, 1 a check failed, 77 wvdial or python3 is not installed.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=lib/sim_device.sh
. "$here/scripts/lib/sim_device.sh"
sim="${1:-${D7O_SIM:-$here/build/bin/d7o-sim}}"

for program in wvdial python3; do
  if ! command -v "$program" >/dev/null; then
    echo "SKIP: $program is not installed (apt-get install $program)"
    exit 77
  fi
done
[ -x "$sim" ] || { echo "no d7o-sim at $sim" >&2; exit 1; }

work="$(mktemp -d)"
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --connect-delay 1 >"$work/device" 2>"$work/sim.log" &
sim_pid=$!
device="$(sim_device "$work/device" "$work/sim.log")"

# pppd would take the line over and, with no PPP at the far end, wait out its own
# timeouts (and want root); the stand-in notes the line it got (its standard input) and
# its arguments, and gives the line back.
cat >"$work/pppd" <<EOF
#!/bin/sh
echo "\$(readlink /proc/\$\$/fd/0) \$*" >"$work/pppd.args"
sleep 1
exit 1
EOF
chmod +x "$work/pppd"

# As wvdialconf writes it, with a number and account to dial; one try, no redial.
cat >"$work/wvdial.conf" <<EOF
[Dialer Defaults]
Init1 = ATZ
Init2 = ATQ0 V1 E1 S0=0 &C1 &D2 +FCLASS=0
Modem Type = Analog Modem
Modem = $device
Baud = 9600
Phone = 0301234567
Username = user
Password = secret
New PPPD = yes
Stupid Mode = 1
Auto Reconnect = off
PPPD Path = $work/pppd
EOF

wvdial=(wvdial -C "$work/wvdial.conf")
# Run as root, wvdial writes the account into /etc/ppp/pap-secrets and chap-secrets and
# its lock into /var/lock; here it gets empty private ones in a mount namespace of its own.
if [ "$(id -u)" -eq 0 ]; then
  if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "SKIP: as root, wvdial would write /etc/ppp/pap-secrets, and unshare --mount to keep it private is not available"
    exit 77
  fi
  mkdir -p "$work/etc-ppp" "$work/lock"
  # shellcheck disable=SC2016 # the inner shell expands its own arguments
  wvdial=(unshare --mount --propagation private
    sh -c 'mount --bind "$1" /etc/ppp && mount --bind "$2" "$3" && shift 3 && exec "$@"'
    sh "$work/etc-ppp" "$work/lock" "$(readlink -f /var/lock)" "${wvdial[@]}")
fi

failures=0
check() {  # check NAME FILE PATTERN: the extended regular expression must match a line
  if [ -f "$2" ] && grep -Eq -- "$3" "$2"; then
    echo "ok   $1"
  else
    echo "FAIL $1: no line matching '$3'"
    failures=$((failures + 1))
  fi
}

# run N: one wvdial session into run-N.log; it ends by itself once the stand-in pppd has
# left (no redial), or after 15 s (a modem that never connects). wvdial 1.61 now and then
# aborts on an assertion of its own task switcher (wvtask.cc, "stack_magic") while it
# waits for the carrier, whatever the modem sends (in one run of five or so); such a run is
# kept as run-N.abort-K.log and tried again, up to five times in all. The modem must take
# each abort as the end of the call: the device closed, DTR off.
run() {
  local log="$work/run-$1.log" attempt pid
  for attempt in 1 2 3 4 5; do
    rm -f "$work/pppd.args"
    timeout 15 "${wvdial[@]}" >"$log" 2>&1 &
    pid=$!
    wait "$pid" 2>/dev/null || true
    grep -q 'wvtask\.cc:.*Assertion' "$log" || return 0
    mv "$log" "$work/run-$1.abort-$attempt.log"
    echo "note wvdial run $1 aborted on its own assertion; again"
  done
  cp "$work/run-$1.abort-5.log" "$log"
}

# answer N COMMAND: what the modem answered to the first sending of COMMAND in run N (the
# lines up to wvdial's next "-->" remark), into answer.txt.
answer() {
  awk -v sent="--> Sending: $2" '$0 == sent && !done { on = 1; done = 1; next } /^--> / { on = 0 } on' \
    "$work/run-$1.log" >"$work/answer.txt"
}

run 1
answer 1 ATZ
check "ATZ: OK" "$work/answer.txt" '^OK$'
answer 1 'ATQ0 V1 E1 S0=0 &C1 &D2 +FCLASS=0'
check "ATQ0 V1 E1 S0=0 &C1 &D2 +FCLASS=0: OK" "$work/answer.txt" '^OK$'
check "modem initialized" "$work/run-1.log" '^--> Modem initialized\.$'
check "dialled with ATDT" "$work/run-1.log" '^--> Sending: ATDT0301234567$'
check "CONNECT 9600" "$work/run-1.log" '^CONNECT 9600$'
check "carrier detected" "$work/run-1.log" '^--> Carrier detected\.'
check "pppd started" "$work/run-1.log" '^--> Starting pppd'
check "pppd given the device at 9600" "$work/pppd.args" "^$device 9600 "

# wvdial is gone: the device is closed, and with it DTR dropped, so the call must be over.
python3 "$here/scripts/lib/at_chat.py" "$device" --timeout 3 AT ATI >"$work/after.txt" 2>&1 || true
if grep -q '^CONNECT 9600$' "$work/run-1.log"; then
  check "command mode once wvdial closed the device: AT gets OK" "$work/after.txt" '^<- AT\\r\\r\\nOK\\r\\n$'
else
  echo "--   command mode once wvdial closed the device: not reached (no call)"
fi

# And a second dial works as the first.
run 2
check "second run: modem initialized" "$work/run-2.log" '^--> Modem initialized\.$'
check "second run: CONNECT 9600" "$work/run-2.log" '^CONNECT 9600$'

if [ "$failures" -ne 0 ]; then
  for log in "$work"/run-*.log; do echo "--- wvdial ${log#"$work"/}"; cat "$log"; done
  echo "--- AT after the first run"; cat "$work/after.txt"
  echo "--- d7o-sim"; cat "$work/sim.log"
  echo "$failures check(s) failed"
  exit 1
fi
echo "wvdial dials out through d7o-sim"
