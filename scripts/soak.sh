#!/usr/bin/env bash
# Runs rezedev7 for a long time on a pseudo-terminal and watches it: resident memory and
# CPU every interval, and at the end whether its window still answers. The device on the
# pty (scripts/lib/pty_feeder.py) is one of
#   nmea     the paced full-rate NMEA stream of gps_stream_bench.sh (11520 bytes a second)
#   garbage  random bytes at the same rate, as a device heard at the wrong baud rate
#   silent   a port that never answers: the program keeps sending its search and AT commands
#
# Needs Xvfb, xdotool, python3 and ss; builds nothing (BUILD_DIR, default build).
# Environment: SOAK_SECONDS (3600), SOAK_INTERVAL (60), SOAK_FEED (nmea), SOAK_ANALYZER
# (0; 1 opens the GPS analyzer with its satellite panel, as the bench does), SOAK_DISPLAY
# (:99), SOAK_SHOT (a PNG screenshot to take at the end, default none).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
seconds=${SOAK_SECONDS:-3600}
interval=${SOAK_INTERVAL:-60}
feed=${SOAK_FEED:-nmea}
display=${SOAK_DISPLAY:-:99}
program="$build/bin/rezedev7"
lib="$PWD/scripts/lib"
[[ -x $program ]] || { echo "no $program: build it first" >&2; exit 2; }
case $feed in nmea | garbage | silent) ;; *) echo "SOAK_FEED is nmea, garbage or silent" >&2; exit 2 ;; esac

work=$(mktemp -d)
pids=()
runpids=()
cleanup() {
  for p in "${runpids[@]}" "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/lib/bench_common.sh
source "$lib/bench_common.sh"
start_xvfb "$display" 1280x1024

start_feeder "$work/dev" "$feed"
"$program" --create-ini "$work/home" 1 >/dev/null
REZEDEV7_COM1=$(cat "$work/dev/tty") "$program" --home "$work/home" &
pid=$!
runpids+=("$pid")
echo "rezedev7 runs as process $pid on $(cat "$work/dev/tty"), fed $feed, for $seconds s"

main=$(window_of "$pid")
[[ -n $main ]] || { echo "rezedev7 shows no window: $(alive "$pid")" >&2; exit 1; }
sleep 8  # the modem's start-up time and the first baud search setting
panel="-"
if [[ ${SOAK_ANALYZER:-0} == 1 ]]; then
  open_analyzer "$main"
  echo "GPS analyzer open, satellite panel: $panel"
fi

hz=$(getconf CLK_TCK)
start=$SECONDS
c_prev=$(cpu "$pid") w_prev=$EPOCHREALTIME
read -r t_prev d_prev x_prev r_prev _ <"$work/dev/stats"
rss=$(mem "$pid" VmRSS)
first=$rss max=$rss last=$rss last_cpu=0
printf "%8s %10s %7s %12s %10s %10s\n" elapsed "VmRSS kB" "CPU %" "delivered/s" dropped "sent by it"
printf "%7ds %10d %7s %12s %10s %10s\n" 0 "$rss" - - - -
while ((SECONDS - start < seconds)); do
  left=$((seconds - (SECONDS - start)))
  sleep $((left < interval ? left : interval))
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "rezedev7 is gone after $((SECONDS - start)) s"
    exit 1
  fi
  c=$(cpu "$pid") w=$EPOCHREALTIME
  read -r t d x r _ <"$work/dev/stats"
  rss=$(mem "$pid" VmRSS)
  last=$rss
  ((rss > max)) && max=$rss
  # The feeder's counters are a second old at most: their rate is over their own times.
  read -r last_cpu rate < <(awk -v c0="$c_prev" -v c1="$c" -v hz="$hz" -v w0="$w_prev" -v w1="$w" \
    -v t0="$t_prev" -v t1="$t" -v d0="$d_prev" -v d1="$d" 'BEGIN { t = t1 - t0; if (t <= 0) t = 1
      printf "%.1f %.0f\n", 100 * (c1 - c0) / hz / (w1 - w0), (d1 - d0) / t }')
  printf "%7ds %10d %7.1f %12s %10d %10d\n" $((SECONDS - start)) "$rss" "$last_cpu" "$rate" \
    $((x - x_prev)) $((r - r_prev))
  c_prev=$c w_prev=$w t_prev=$t d_prev=$d x_prev=$x r_prev=$r
done

# Does the window still answer? It must still be found; a key that changes nothing (Shift)
# goes to it, and the program must then read what the X server has for it: a stuck event
# loop leaves its socket's receive queue filling. And it must not be spinning.
verdict="responds"
win=$(timeout 10 xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 || true)
if [[ -z $win ]]; then
  verdict="NOT responding: no visible window"
else
  timeout 10 xdotool windowfocus --sync "$win" key shift mousemove --window "$win" 20 20 \
    >/dev/null 2>&1 || verdict="NOT responding: the window takes no focus"
  # Twice, a second apart: a live loop may just not have come round to it yet.
  queued=0
  for _ in 1 2; do
    sleep 1
    q=$(ss -xp 2>/dev/null | awk -v p="pid=$pid," 'index($0, p) { q += $3 } END { print q + 0 }')
    ((q > 0)) || { queued=0; break; }
    queued=$q
  done
  ((queued > 0)) && verdict="NOT responding: $queued bytes wait unread on its sockets"
  state=$(awk '{ print $3 }' "/proc/$pid/stat")
  [[ $state == D || $state == Z ]] && verdict="NOT responding: process state $state"
fi
busy=$(awk -v c="$last_cpu" 'BEGIN { print (c >= 90) ? "yes" : "no" }')
[[ $busy == yes && $verdict == responds ]] && verdict="busy: CPU at $last_cpu % in the last interval"
[[ -n ${SOAK_SHOT:-} ]] && shot "$SOAK_SHOT"

echo "VmRSS first $first kB, last $last kB ($((last - first)) kB), max $max kB; VmHWM $(mem "$pid" VmHWM) kB"
echo "window: $verdict"
[[ $verdict == responds ]]
