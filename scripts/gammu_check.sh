#!/usr/bin/env bash
# Checks the simulated modem against gammu, a standard AT client: d7o-sim on a
# pseudo-terminal with two messages on its SIM and one arriving a second after the start;
# gammu identifies the module, lists and reads the messages, sends one (gammu sends in PDU
# mode) and deletes one; it reads the network and its cell, the signal and the battery, the
# clock and the SIM phone book, saves a message to the SIM and empties the inbox.
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

# gammu_run NAME ARGS...: one gammu session, its output into NAME.txt and its log of every
# byte on the line into NAME.log (gammu starts its log afresh each session).
gammu_run() {
  local name=$1
  shift
  cat >"$work/$name.rc" <<EOF
[gammu]
device = $device
connection = at
logfile = $work/$name.log
logformat = textall
EOF
  timeout 40 gammu -c "$work/$name.rc" "$@" >"$work/$name.txt" 2>&1 || true
}

# batch_part NAME N: the output of command N of the batch run as NAME, into NAME-N.txt.
batch_part() {
  awk -v n="$2" '/^Executing batch .* - command [0-9]+:/ { on = ($0 ~ (" command " n ":")) ; next }
                 on' "$work/$1.txt" >"$work/$1-$2.txt"
}

# refused LOG: each command in a gammu log that the modem answered with an error, with
# the answer, once: "AT+CREG=2  ->  ERROR".
refused() {
  awk '/^1 "/ { if (cmd != "" && ans ~ /ERROR/) print cmd "  ->  " ans
                cmd = substr($0, 4, length($0) - 4); ans = ""; next }
       /^[0-9]+ "/ { a = $0; sub(/^[0-9]+ "/, "", a); sub(/"$/, "", a); ans = ans (ans == "" ? "" : " | ") a }
       END { if (cmd != "" && ans ~ /ERROR/) print cmd "  ->  " ans }' "$1" | awk '!seen[$0]++'
}

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

gammu_run identify identify
check "identify: manufacturer" "$work/identify.txt" '^Manufacturer +: Tarvik GmbH$'
check "identify: model" "$work/identify.txt" '^Model +: .*D7O'
check "identify: IMEI" "$work/identify.txt" '^IMEI +: [0-9]{15}$'
check "identify: IMSI" "$work/identify.txt" '^SIM IMSI +: [0-9]{15}$'

# One session for the messages and the phone book, so gammu's start-up probing (some five
# seconds) runs once; a batch stops at the first command that fails.
cat >"$work/messages.batch" <<'EOF'
getallsms
getsms 1 2
sendsms TEXT 0123456789 -text "hi there"
deletesms 1 1
getallsms
getallmemory SM
EOF
gammu_run messages batch "$work/messages.batch"
for n in 1 2 3 4 5 6; do batch_part messages "$n"; done

check "getallsms: three messages" "$work/messages-1.txt" '^3 SMS parts in 3 SMS sequences$'
check "getallsms: first text" "$work/messages-1.txt" '^Hello from the SIM$'
check "getallsms: first sender" "$work/messages-1.txt" '^Remote number +: "\+491711234567"$'
check "getallsms: the one that came later" "$work/messages-1.txt" '^Arrived later$'
check "getallsms: unread" "$work/messages-1.txt" '^Status +: UnRead$'
check "getallsms: service centre" "$work/messages-1.txt" '^SMSC number +: "\+491710760000"$'
check "getsms 1 2: text" "$work/messages-2.txt" '^Second one$'
check "getsms 1 2: sender" "$work/messages-2.txt" '^Remote number +: "0301234"$'
check "sendsms: accepted" "$work/messages-3.txt" 'OK, message reference=[0-9]+'
check "sendsms: the modem sent it" "$work/sim.log" '^d7o-sim: message [0-9]+ sent to 0123456789: hi there$'
check "deletesms then getallsms: two left" "$work/messages-5.txt" '^2 SMS parts in 2 SMS sequences$'
check_not "deletesms then getallsms: the first is gone" "$work/messages-5.txt" '^Hello from the SIM$'
check "deletesms then getallsms: the second stays" "$work/messages-5.txt" '^Second one$'

# The network: registered at home, the operator by its code and name, the cell.
gammu_run networkinfo networkinfo
check "networkinfo: home network" "$work/networkinfo.txt" '^Network state +: home network$'
check "networkinfo: operator, LAC and CID" "$work/networkinfo.txt" \
  '^Network +: [0-9]{3} [0-9]{2,3} \(.+\), LAC [0-9A-Fa-f]+, CID [0-9A-Fa-f]+$'
check "networkinfo: operator's name" "$work/networkinfo.txt" '^Name in phone +: ".+"$'

# One round of the monitor: the field strength, the battery, the stores and the network.
gammu_run monitor monitor 1
# Caller identification (AT+CLIP=1) and USSD results (AT+CUSD=1) switched on.
check "monitor: calls reported" "$work/monitor.txt" '^Enabling info about calls +: No error\.$'
check "monitor: USSD reported" "$work/monitor.txt" '^Enabling info about USSD +: No error\.$'
check "monitor: signal strength" "$work/monitor.txt" '^Signal strength +: -[0-9]+ dBm$'
check "monitor: network level" "$work/monitor.txt" '^Network level +: [0-9]+ percent$'
check "monitor: battery level" "$work/monitor.txt" '^Battery level +: [0-9]+ percent$'
check "monitor: SIM phone book in use" "$work/monitor.txt" '^SIM phonebook +: +3 used, +247 free$'
check "monitor: SIM message store" "$work/monitor.txt" \
  '^SIM SMS status +: [0-9]+ used, [0-9]+ unread, 10 locations$'
check "monitor: home network" "$work/monitor.txt" '^Network state +: home network$'
check_not "monitor: no error" "$work/monitor.txt" '^(Unknown error|Function not supported|Error)'

# The modem's clock runs on the local time of this machine.
gammu_run getdatetime getdatetime
check "getdatetime: a date" "$work/getdatetime.txt" \
  '^Phone time is [A-Z][a-z]{2} [A-Z][a-z]{2} +[0-9]{1,2} [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}'
phone_time="$(sed -nE 's/^Phone time is ([A-Z][a-z]{2} [A-Z][a-z]{2} +[0-9]{1,2} [0-9:]{8} [0-9]{4}).*/\1/p' \
  "$work/getdatetime.txt")"
if [ -n "$phone_time" ]; then
  drift=$(($(date -d "$phone_time" +%s) - $(date +%s)))
  if [ "$drift" -ge -120 ] && [ "$drift" -le 120 ]; then
    echo "ok   getdatetime: the time of now ($phone_time)"
  else
    echo "FAIL getdatetime: $phone_time is $drift s from now"
    failures=$((failures + 1))
  fi
fi

# The SIM phone book as it starts: positions 1, 2 and 5.
cp "$work/messages-6.txt" "$work/phonebook.txt"
entry() {  # entry LOCATION NUMBER NAME: getallmemory lists that entry with that number and name
  awk -v head="Memory SM, Location $1" -v number="$2" -v name="$3" '
    $0 == head { on = 1; next }
    /^Memory / { on = 0 }
    on && sub(/^General number +: /, "") && $0 == "\"" number "\"" { n = 1 }
    on && sub(/^Name +: /, "") && $0 == "\"" name "\"" { m = 1 }
    END { exit !(n && m) }' "$work/phonebook.txt"
}
for row in "1 0123456789 Testnumber" "2 +491711234567 Office" "5 0301234567 Workshop"; do
  read -r location number name <<<"$row"
  if entry "$location" "$number" "$name"; then
    echo "ok   getallmemory SM: $location \"$name\" $number"
  else
    echo "FAIL getallmemory SM: no entry $location \"$name\" $number"
    failures=$((failures + 1))
  fi
done
entries=$(grep -c '^Memory SM, Location ' "$work/phonebook.txt" || true)
if [ "$entries" -eq 3 ]; then
  echo "ok   getallmemory SM: three entries"
else
  echo "FAIL getallmemory SM: $entries entries, not three"
  failures=$((failures + 1))
fi

# A message saved to the SIM (AT+CMGW) is listed with the two left.
cat >"$work/save.batch" <<'EOF'
savesms TEXT -text "Saved by gammu"
getallsms
EOF
gammu_run save batch "$work/save.batch"
for n in 1 2; do batch_part save "$n"; done
check "savesms: saved on the SIM" "$work/save-1.txt" '^Saved in folder number [0-9]+ .*location [0-9]+, SIM$'
check "savesms then getallsms: the saved one" "$work/save-2.txt" '^Saved by gammu$'
check "savesms then getallsms: three messages" "$work/save-2.txt" '^3 SMS parts in 3 SMS sequences$'

# The inbox (folder 1) emptied.
cat >"$work/empty.batch" <<'EOF'
deleteallsms 1
getallsms
EOF
gammu_run empty batch "$work/empty.batch"
for n in 1 2; do batch_part empty "$n"; done
check "deleteallsms 1" "$work/empty-1.txt" '^Deleting SMS from "Inbox" folder: \*+$'
check "deleteallsms 1 then getallsms: none left" "$work/empty-2.txt" '^0 SMS parts in 0 SMS sequences$'

if [ "$failures" -ne 0 ]; then
  for step in identify messages networkinfo monitor getdatetime save empty; do
    echo "--- gammu $step"
    cat "$work/$step.txt"
    # A real modem refuses some of gammu's probes as well (AT+MODE=2, AT+CPROT=?, ...).
    if [ -f "$work/$step.log" ]; then refused "$work/$step.log" | sed 's/^/  refused: /'; fi
  done
  echo "--- d7o-sim"; cat "$work/sim.log"
  for step in networkinfo monitor getdatetime save; do
    if grep -q "ERROR" "$work/$step.log" 2>/dev/null; then
      echo "--- last of gammu's log ($step)"; tail -n 40 "$work/$step.log"
    fi
  done
  echo "$failures check(s) failed"
  exit 1
fi
echo "gammu works with d7o-sim"
