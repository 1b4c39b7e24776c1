# The unpaced and start-up measurements of gps_stream_bench.sh: sourced, never run. Uses
# what the script defines (program, work, cutecom, seconds, runs, start_feeder,
# start_cutecom, window_of, cpu, mem, stop_run, runpids).

# The visible windows of process $1, counted.
windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l || true; }

# Milliseconds from a click at ($2,$3) in window $1 of process $4 to a new window of the
# process on the screen (the menu the click drops down), then closes it with Escape.
# Prints nothing when no window came within 5 s.
click_answer_ms() {
  local win=$1 x=$2 y=$3 pid=$4 before t0 now
  before=$(windows_of "$pid")
  t0=$EPOCHREALTIME
  xdotool mousemove --window "$win" "$x" "$y" click 1
  while :; do
    now=$EPOCHREALTIME
    if (($(windows_of "$pid") > before)); then
      awk -v a="$t0" -v b="$now" 'BEGIN { printf "%.0f\n", 1000 * (b - a) }'
      break
    fi
    awk -v a="$t0" -v b="$now" 'BEGIN { exit !(b - a > 5) }' && break
  done
  xdotool key Escape
  sleep 0.3
}

# Lines a second the program on the flood in $1 takes over $seconds, with its CPU and
# memory; for rezedev7 also the answers to a click every two seconds. Appends
# "lines_per_s cpu_percent rss0 rss1 hwm click_median click_max" to $2.
measure_flood() {
  local dir=$1 out=$2 pid=$3 win=$4 clicks=$5
  local t0 l0 t1 l1 c0 c1 r0 r1 w0 w1 hwm lat=()
  read -r t0 _ _ _ l0 <"$dir/stats"
  w0=$EPOCHREALTIME; c0=$(cpu "$pid"); r0=$(mem "$pid" VmRSS)
  local until=$((SECONDS + seconds))
  while ((SECONDS < until)); do
    if [[ $clicks == 1 ]]; then
      local ms
      ms=$(click_answer_ms "$win" "${BENCH_MENU_X:-216}" "${BENCH_MENU_Y:-10}" "$pid")
      lat+=("${ms:-5000}")
    fi
    sleep 2
  done
  w1=$EPOCHREALTIME; c1=$(cpu "$pid"); r1=$(mem "$pid" VmRSS); hwm=$(mem "$pid" VmHWM)
  read -r t1 _ _ _ l1 <"$dir/stats"
  local median="-" max="-"
  if ((${#lat[@]} > 0)); then
    median=$(printf '%s\n' "${lat[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    max=$(printf '%s\n' "${lat[@]}" | sort -n | tail -1)
  fi
  awk -v hz="$(getconf CLK_TCK)" -v t0="$t0" -v t1="$t1" -v l0="$l0" -v l1="$l1" \
    -v c0="$c0" -v c1="$c1" -v w0="$w0" -v w1="$w1" -v r0="$r0" -v r1="$r1" -v hwm="$hwm" \
    -v med="$median" -v max="$max" \
    'BEGIN { printf "%.0f %.1f %d %d %d %s %s\n", (l1 - l0) / (t1 - t0),
             100 * (c1 - c0) / hz / (w1 - w0), r0, r1, hwm, med, max }' >>"$out"
}

# One unpaced run: rezedev7 (main window, terminal) on a flood for $seconds, then CuteCom
# on one, one after the other, so each has the machine to itself.
run_unpaced() {
  local n=$1 pid main
  start_feeder "$work/flood$n" flood
  "$program" --create-ini "$work/uhome$n" 1 >/dev/null
  REZEDEV7_COM1=$(cat "$work/flood$n/tty") "$program" --home "$work/uhome$n" &
  pid=$!
  runpids+=("$pid")
  main=$(window_of "$pid")
  [[ -n $main ]] || { echo "rezedev7 shows no window: $(alive "$pid")" >&2; exit 1; }
  sleep 8  # the baud search hears the stream at its first setting
  measure_flood "$work/flood$n" "$work/ours$n.unpaced" "$pid" "$main" 1
  stop_run
  if [[ $cutecom == 1 ]]; then
    start_feeder "$work/cuteflood$n" flood
    start_cutecom "$work/cuteflood$n"
    sleep 3
    measure_flood "$work/cuteflood$n" "$work/cute$n.unpaced" "$cpid" "$cwin" 0
    stop_run
  fi
  local ours cute=""
  ours=$(cat "$work/ours$n.unpaced")
  [[ $cutecom == 1 ]] && cute=$(cat "$work/cute$n.unpaced")
  awk -v ours="$ours" -v cute="$cute" -v version="${cutecom_version:-}" -v results="$work/results" \
    'BEGIN {
       split(ours, o, " ")
       printf "rezedev7 unpaced  %d lines/s, CPU %.1f %% of one core, VmRSS %d -> %d kB (VmHWM %d), click answered in %s ms (median), %s ms (slowest)\n",
         o[1], o[2], o[3], o[4], o[5], o[6], o[7]
       line = sprintf("%d %f %d %d %d %s %s", o[1], o[2], o[3], o[4], o[5], o[6], o[7])
       if (cute != "") {
         split(cute, c, " ")
         printf "CuteCom %s unpaced  %d lines/s, CPU %.1f %% of one core, VmRSS %d -> %d kB (VmHWM %d)\n",
           version, c[1], c[2], c[3], c[4], c[5]
         if (c[1] > 0) printf "lines/s rezedev7/CuteCom %.2f\n", o[1] / c[1]
         line = line sprintf(" %d %f %d %d %d", c[1], c[2], c[3], c[4], c[5])
       }
       print line >>results
     }'
}

unpaced_summary() {
  awk -v cute="$cutecom" -v runs="$runs" \
    '{ for (i = 1; i <= NF; i++) sum[i] += $i; if ($7 > slowest) slowest = $7 }
     END {
       printf "mean of %d unpaced runs\n", runs
       printf "rezedev7  %.0f lines/s, CPU %.1f %%, VmRSS %.0f -> %.0f kB, click median %.0f ms, slowest %d ms\n",
         sum[1] / NR, sum[2] / NR, sum[3] / NR, sum[4] / NR, sum[6] / NR, slowest
       if (cute == 1) {
         printf "CuteCom   %.0f lines/s, CPU %.1f %%, VmRSS %.0f -> %.0f kB\n",
           sum[8] / NR, sum[9] / NR, sum[10] / NR, sum[11] / NR
         if (sum[8] > 0) printf "lines/s rezedev7/CuteCom %.2f\n", sum[1] / sum[8]
       }
     }' "$work/results"
}

# Milliseconds from starting command "$@" (its process) to its first window on the
# screen. xdotool's own --sync looks only every half second, so this looks every 10 ms.
start_ms() {
  local pid t0 now
  t0=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 &
  pid=$!
  runpids+=("$pid")
  while :; do
    now=$EPOCHREALTIME
    if (($(windows_of "$pid") > 0)); then
      awk -v a="$t0" -v b="$now" 'BEGIN { printf "%.0f\n", 1000 * (b - a) }'
      break
    fi
    if ! kill -0 "$pid" 2>/dev/null || awk -v a="$t0" -v b="$now" 'BEGIN { exit !(b - a > 60) }'; then
      echo "no window"
      break
    fi
    sleep 0.01
  done
  stop_run
}

# Start to first window, five times each (BENCH_STARTS), alternating the programs.
run_startup() {
  local starts=${BENCH_STARTS:-5} i ours=() cute=()
  for i in $(seq "$starts"); do
    "$program" --create-ini "$work/shome$i" 1 >/dev/null
    ours+=("$(start_ms "$program" --simulate --home "$work/shome$i")")
    if [[ $cutecom == 1 ]]; then
      mkdir -p "$work/chome$i"
      cute+=("$(HOME="$work/chome$i" XDG_CONFIG_HOME="$work/chome$i/.config" start_ms cutecom)")
    fi
  done
  # Of the starts that showed a window; one that showed none is listed, not counted.
  median() {
    printf '%s\n' "$@" | grep -E '^[0-9]+$' | sort -n |
      awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "none") }'
  }
  echo "rezedev7 --simulate, start to window: ${ours[*]} ms; median $(median "${ours[@]}") ms"
  if [[ $cutecom == 1 ]]; then
    echo "CuteCom ${cutecom_version:-}, start to window: ${cute[*]} ms; median $(median "${cute[@]}") ms"
    awk -v a="$(median "${ours[@]}")" -v b="$(median "${cute[@]}")" \
      'BEGIN { if (b + 0 > 0) printf "start rezedev7/CuteCom %.2f\n", a / b }'
  fi
}
