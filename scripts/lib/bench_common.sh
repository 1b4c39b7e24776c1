# Shared by gps_stream_bench.sh and soak.sh: sourced, never run. Expects $work (a
# temporary folder), $lib (this folder) and the arrays pids (for the whole script) and
# runpids (for one run) from the script.

# An Xvfb on display $1 of size $2 (WIDTHxHEIGHT), unless one answers there already.
# Ours keeps its screen in a file (-fbdir), for a screenshot without ImageMagick.
fbdir=""
start_xvfb() {
  if ! xdpyinfo -display "$1" >/dev/null 2>&1; then
    fbdir="$work/fb"
    mkdir -p "$fbdir"
    Xvfb "$1" -screen 0 "$2"x24 -fbdir "$fbdir" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xdpyinfo -display "$1" >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  export DISPLAY=$1
}

shot() {
  if command -v import >/dev/null; then
    import -window root "$1"
  elif [[ -n $fbdir ]]; then
    python3 "$lib/xwd_to_png.py" "$fbdir/Xvfb_screen0" "$1"
  else
    echo "no screenshot: neither ImageMagick's import nor an Xvfb of this script" >&2
  fi
}

# A device on a pty (scripts/lib/pty_feeder.py, mode $2): its name lands in $1/tty, its
# counters "time delivered dropped received" in $1/stats.
start_feeder() {
  mkdir -p "$1"
  python3 "$lib/pty_feeder.py" "$2" "$1/tty" "$1/stats" &
  runpids+=($!)
  for _ in $(seq 50); do [[ -s $1/tty && -s $1/stats ]] && break; sleep 0.1; done
}

# The first visible window of process $1, waiting up to 60 s for it; empty if none.
window_of() { timeout 60 xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null | head -1 || true; }
alive() { if kill -0 "$1" 2>/dev/null; then echo "still running"; else echo "it exited"; fi; }

cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # user+system, in clock ticks
mem() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }  # kB

# Opens the GPS analyzer from main window $1 and shows its satellite panel; sets panel
# to what came of it.
open_analyzer() {
  # "&GPS-Analyzer" in the main window's menu bar, by its mnemonic.
  xdotool windowfocus --sync "$1" key alt+g
  gps=$(timeout 30 xdotool search --sync --onlyvisible --name '^GPS-Analyzer' | head -1 || true)
  if [[ -z $gps ]]; then panel="NOT open (no analyzer window)"; return; fi
  sleep 1
  # "show satellite level": the protocol row's sixth box, left of the buttons (where the
  # default style and fonts put it). The open panel widens the window.
  eval "$(xdotool getwindowgeometry --shell "$gps")"
  local closedWidth=$WIDTH
  xdotool mousemove --window "$gps" "${BENCH_CHECK6_X:-397}" \
    $((HEIGHT - ${BENCH_CHECK6_FROM_BOTTOM:-60})) click 1
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$gps")"
  if ((WIDTH > closedWidth)); then panel="open"; else panel="NOT open (set BENCH_CHECK6_X)"; fi
  # BENCH_STATISTICS=1: "show statistics" too, the box right of it.
  if [[ ${BENCH_STATISTICS:-0} == 1 ]]; then
    eval "$(xdotool getwindowgeometry --shell "$gps")"
    local openWidth=$WIDTH openHeight=$HEIGHT
    xdotool mousemove --window "$gps" "${BENCH_STATISTICS_X:-545}" \
      $((HEIGHT - ${BENCH_CHECK6_FROM_BOTTOM:-60})) click 1
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$gps")"
    if ((HEIGHT > openHeight || WIDTH > openWidth)); then panel+=", statistics shown"; fi
  fi
}
