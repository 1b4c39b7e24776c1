#!/usr/bin/env bash
# Feeds rezedev7 a paced 115200-baud NMEA stream (11520 bytes a second) on a
# pseudo-terminal, with the GPS analyzer open and its satellite panel shown, and reports
# the program's CPU time and memory over the measurement. With CuteCom installed, a
# second identical stream on a second pseudo-terminal goes to CuteCom, open on it at
# 115200 baud, measured over the same interval, as a yardstick: a plain serial terminal
# showing the same bytes.
#
# The stream is written at line rate whatever speed the program sets (a pseudo-terminal
# keeps no baud rate), so the program's first search setting already reads it cleanly and
# it takes the device for a streaming GPS device. Bytes the program does not take in time
# are dropped, as a UART overruns, and counted (scripts/lib/pty_feeder.py).
#
# Needs Xvfb, xdotool and python3; CuteCom also a C compiler (cc) for a small preload
# helper, as QSerialPort closes a port whose modem lines it cannot read and a
# pseudo-terminal has none. Builds nothing of the project (BUILD_DIR, default build).
# Environment: BENCH_SECONDS (60), BENCH_DISPLAY (:98), BENCH_SHOT (a PNG screenshot to
# take at the end of the last run, default none), BENCH_ANALYZER (1; 0 measures the main
# window with the terminal alone), BENCH_CUTECOM (1 where cutecom is installed, else 0),
# BENCH_RUNS (1: how often the whole measurement is repeated; more print each and the mean),
# BENCH_RECORD (0; 1 records the session into a capture file as it runs, to measure what
# recording costs), BENCH_STATISTICS (0; 1 opens the analyzer's NMEA statistics panel too),
# BENCH_PERF (a file prefix: records a perf profile of rezedev7 over each measurement into
# PREFIX.N.data, which costs CPU of its own, so profile runs are not measurement runs).
#
# BENCH_MODE picks the measurement:
#   paced    (the default) as above;
#   unpaced  the same sentences written 4 KiB at a time as fast as the reader takes them,
#            for BENCH_SECONDS (20): lines a second taken, CPU and memory, first rezedev7
#            (main window, terminal) and then CuteCom, each with the machine to itself. A
#            click on rezedev7's "Capture" menu every two seconds measures how soon its
#            menu shows (BENCH_MENU_X, BENCH_MENU_Y: the click in the window, 216,10);
#   startup  start to first window on the screen, `rezedev7 --simulate` and CuteCom by
#            turns, BENCH_STARTS (5) times each, with the medians.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
mode=${BENCH_MODE:-paced}
case $mode in
  paced) seconds=${BENCH_SECONDS:-60} ;;
  unpaced) seconds=${BENCH_SECONDS:-20} ;;
  startup) seconds=0 ;;
  *) echo "BENCH_MODE is paced, unpaced or startup, not $mode" >&2; exit 2 ;;
esac
display=${BENCH_DISPLAY:-:98}
runs=${BENCH_RUNS:-1}
analyzer=${BENCH_ANALYZER:-1}
record=${BENCH_RECORD:-0}
if command -v cutecom >/dev/null; then cutecom=${BENCH_CUTECOM:-1}; else cutecom=${BENCH_CUTECOM:-0}; fi
program="$build/bin/rezedev7"
lib="$PWD/scripts/lib"
[[ -x $program ]] || { echo "no $program: build it first" >&2; exit 2; }
if [[ $cutecom == 1 ]]; then
  command -v cutecom >/dev/null || { echo "BENCH_CUTECOM=1 but no cutecom installed" >&2; exit 2; }
  command -v cc >/dev/null || { echo "BENCH_CUTECOM=1 needs cc for the preload helper" >&2; exit 2; }
fi

work=$(mktemp -d)
pids=()     # for the whole script: Xvfb
runpids=()  # for one run: the feeders and the programs
stop_run() {
  for p in "${runpids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${runpids[@]}"; do wait "$p" 2>/dev/null || true; done
  runpids=()
}
cleanup() {
  stop_run
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/lib/bench_common.sh
source "$lib/bench_common.sh"
# Room on the right for CuteCom's window, so a screenshot shows both.
screen=1280x1024
[[ $cutecom == 1 ]] && screen=1990x1024
start_xvfb "$display" "$screen"

if [[ $cutecom == 1 ]]; then
  cc -shared -fPIC -O2 -o "$work/pty_modem_lines.so" "$lib/pty_modem_lines.c" -ldl
  cutecom_version=$(dpkg-query -W -f '${Version}' cutecom 2>/dev/null || echo "?")
fi

# CuteCom on the pty named in $1/tty, through a session of its own in a HOME of its own:
# 115200 8N1, no flow control, read/write, no log file. Its port is opened by its "Open"
# button (Alt+O), and the process must then hold the pty open, else it is clicked.
start_cutecom() {
  local dir=$1 dev
  dev=$(cat "$dir/tty")
  mkdir -p "$dir/home/.config/CuteCom"
  cat >"$dir/home/.config/CuteCom/CuteCom5.conf" <<EOF
[CuteCom]
session=bench

[sessions]
1\\BaudRate=115200
1\\DataBits=8
1\\Device=$dev
1\\FlowControl=0
1\\OpenMode=3
1\\Parity=0
1\\StopBits=1
1\\autoReconnect=false
1\\name=bench
1\\showCtrlCharacters=false
1\\showTimestamp=false
size=1
EOF
  HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" LD_PRELOAD="$work/pty_modem_lines.so" \
    cutecom -s bench >"$dir/log" 2>&1 &
  cpid=$!
  runpids+=("$cpid")
  cwin=$(window_of "$cpid")
  [[ -n $cwin ]] || { echo "CuteCom shows no window: $(alive "$cpid")" >&2; exit 1; }
  if [[ $screen == 1990x1024 ]]; then xdotool windowmove --sync "$cwin" 1290 0 2>/dev/null || true; fi
  xdotool windowfocus --sync "$cwin" key alt+o
  for _ in $(seq 20); do holds_pty "$cpid" "$dev" && return; sleep 0.1; done
  # "Open": the first button of the device bar, top left.
  xdotool mousemove --window "$cwin" 50 43 click 1
  sleep 1
}

holds_pty() {
  local fd
  for fd in /proc/"$1"/fd/*; do [[ $(readlink "$fd") == "$2" ]] && return 0; done
  return 1
}

run() {
  local n=$1
  start_feeder "$work/ours$n" nmea
  [[ $cutecom == 1 ]] && start_feeder "$work/cute$n" nmea

  "$program" --create-ini "$work/home$n" 1 >/dev/null
  recording=()
  [[ $record == 1 ]] && recording=(--record "$work/home$n/bench.d7ocap")
  REZEDEV7_COM1=$(cat "$work/ours$n/tty") "$program" --home "$work/home$n" "${recording[@]}" &
  pid=$!
  runpids+=("$pid")
  echo "rezedev7 runs as process $pid on $(cat "$work/ours$n/tty")"

  # The baud search hears the stream at its first setting, after the modem's start-up time.
  main=$(window_of "$pid")
  [[ -n $main ]] || { echo "rezedev7 shows no window: $(alive "$pid")" >&2; exit 1; }
  cpid=""
  local t_started=$SECONDS
  if [[ $cutecom == 1 ]]; then
    start_cutecom "$work/cute$n"
    echo "CuteCom $cutecom_version runs as process $cpid on $(cat "$work/cute$n/tty")"
  fi
  sleep $((8 - (SECONDS - t_started) > 0 ? 8 - (SECONDS - t_started) : 0))
  panel="-"
  [[ $analyzer == 1 ]] && open_analyzer "$main"

  local cpu0 cpu1 rss0 rss1 hwm ccpu0=0 ccpu1=0 crss0=0 crss1=0 chwm=0 cport="-"
  local t0 t1 d0 d1 x0 x1 ct0=0 ct1=1 cd0=0 cd1=0 cx0=0 cx1=0
  local w0 w1
  w0=$EPOCHREALTIME; cpu0=$(cpu "$pid"); rss0=$(mem "$pid" VmRSS)
  read -r t0 d0 x0 _ <"$work/ours$n/stats"
  if [[ -n $cpid ]]; then
    ccpu0=$(cpu "$cpid"); crss0=$(mem "$cpid" VmRSS)
    read -r ct0 cd0 cx0 _ <"$work/cute$n/stats"
  fi
  if [[ -n ${BENCH_PERF:-} ]]; then
    perf record -q -F 499 --call-graph dwarf,16384 -p "$pid" -o "$BENCH_PERF.$n.data" -- sleep "$seconds" 2>/dev/null
  else
    sleep "$seconds"
  fi
  w1=$EPOCHREALTIME; cpu1=$(cpu "$pid"); rss1=$(mem "$pid" VmRSS); hwm=$(mem "$pid" VmHWM)
  read -r t1 d1 x1 _ <"$work/ours$n/stats"
  if [[ -n $cpid ]]; then
    ccpu1=$(cpu "$cpid"); crss1=$(mem "$cpid" VmRSS); chwm=$(mem "$cpid" VmHWM)
    read -r ct1 cd1 cx1 _ <"$work/cute$n/stats"
    if holds_pty "$cpid" "$(cat "$work/cute$n/tty")"; then cport="open"; else cport="NOT open"; fi
  fi
  if [[ -n ${BENCH_SHOT:-} && $n == "$runs" ]]; then shot "$BENCH_SHOT"; fi
  stop_run

  awk -v hz="$(getconf CLK_TCK)" -v panel="$panel" -v cute="$cutecom" -v cport="$cport" \
    -v w0="$w0" -v w1="$w1" -v c0="$cpu0" -v c1="$cpu1" -v t0="$t0" -v t1="$t1" -v d0="$d0" -v d1="$d1" -v x0="$x0" -v x1="$x1" \
    -v rss0="$rss0" -v rss1="$rss1" -v hwm="$hwm" \
    -v cc0="$ccpu0" -v cc1="$ccpu1" -v ct0="$ct0" -v ct1="$ct1" -v cd0="$cd0" -v cd1="$cd1" \
    -v cx0="$cx0" -v cx1="$cx1" -v crss0="$crss0" -v crss1="$crss1" -v chwm="$chwm" \
    -v version="${cutecom_version:-}" -v results="$work/results" \
    'function block(cpu, wall, hwm, rss0, rss1, d, x, feedwall) {
       printf "CPU (user+system) %.2f s  (%.1f %% of one core)\n", cpu, 100 * cpu / wall
       printf "peak memory       %s kB (VmHWM)\n", hwm
       printf "resident memory   %s kB at start, %s kB at end (VmRSS, %+d kB)\n", rss0, rss1, rss1 - rss0
       printf "stream delivered  %d bytes (%.0f bytes/s), dropped %d\n", d, d / feedwall, x
     }
     BEGIN {
       # CPU over the wall time between the two reads of it; the feeders count once a
       # second, so their rates are over their own times.
       wall = w1 - w0; cpu = (c1 - c0) / hz; feed = t1 - t0
       printf "measured          %.1f s, satellite panel of the analyzer: %s\n", wall, panel
       block(cpu, wall, hwm, rss0, rss1, d1 - d0, x1 - x0, feed)
       line = sprintf("%f %d %d %d %d %d", 100 * cpu / wall, hwm, rss0, rss1, (d1 - d0) / feed, x1 - x0)
       if (cute == 1) {
         cfeed = ct1 - ct0; ccpu = (cc1 - cc0) / hz
         printf "CuteCom %s, same interval, port %s:\n", version, cport
         block(ccpu, wall, chwm, crss0, crss1, cd1 - cd0, cx1 - cx0, cfeed)
         if (ccpu > 0) printf "CPU rezedev7/CuteCom %.2f\n", cpu / ccpu
         line = line sprintf(" %f %d %d %d %d %d", 100 * ccpu / wall, chwm, crss0, crss1,
                             (cd1 - cd0) / cfeed, cx1 - cx0)
       }
       print line >>results
     }'
}

# shellcheck source=scripts/lib/bench_modes.sh
source "$lib/bench_modes.sh"
if [[ $mode == startup ]]; then
  run_startup
  exit 0
fi
if [[ $mode == unpaced ]]; then
  for n in $(seq "$runs"); do
    ((runs > 1)) && echo "run $n of $runs"
    run_unpaced "$n"
  done
  ((runs > 1)) && unpaced_summary
  exit 0
fi

for n in $(seq "$runs"); do
  ((runs > 1)) && echo "run $n of $runs"
  run "$n"
done

if ((runs > 1)); then
  awk -v cute="$cutecom" -v runs="$runs" \
    '{ for (i = 1; i <= NF; i++) sum[i] += $i }
     END {
       printf "mean of %d runs\n", runs
       printf "rezedev7  CPU %.1f %% of one core, VmHWM %.0f kB, VmRSS %.0f -> %.0f kB, %.0f bytes/s, dropped %.0f\n",
         sum[1] / NR, sum[2] / NR, sum[3] / NR, sum[4] / NR, sum[5] / NR, sum[6] / NR
       if (cute == 1) {
         printf "CuteCom   CPU %.1f %% of one core, VmHWM %.0f kB, VmRSS %.0f -> %.0f kB, %.0f bytes/s, dropped %.0f\n",
           sum[7] / NR, sum[8] / NR, sum[9] / NR, sum[10] / NR, sum[11] / NR, sum[12] / NR
         if (sum[7] > 0) printf "CPU rezedev7/CuteCom %.2f\n", sum[1] / sum[7]
       }
     }' "$work/results"
fi
