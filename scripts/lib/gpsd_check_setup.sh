# Sourced by the gpsd checks after sim_device.sh: finds gpsd and gpspipe (status 77 when
# either is missing) and d7o-sim ($sim), and makes the work folder $work with a cleanup
# that stops every process in $pids.
gpsd=$(command -v gpsd || true)
[ -n "$gpsd" ] || { [ -x /usr/sbin/gpsd ] && gpsd=/usr/sbin/gpsd; }
if [ -z "$gpsd" ] || ! command -v gpspipe >/dev/null; then
  echo "SKIP: gpsd or gpspipe is not installed (apt-get install gpsd gpsd-clients)"
  exit 77
fi
[ -x "$sim" ] || {
  echo "no d7o-sim at $sim" >&2
  exit 1
}

work="$(mktemp -d)"
# gpsd drops to its own user; it must still reach its control socket folder.
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# start_gpsd DEVICE: a private gpsd on DEVICE, in the foreground, read-only, with no
# hot-plug socket of the system, on a port nobody listens on (so a gpsd of the system is
# left alone); sets $port once it listens.
start_gpsd() {
  port=""
  for candidate in $(shuf -i 20000-40000 -n 20); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
      port=$candidate
      break
    fi
  done
  [ -n "$port" ] || {
    echo "no free port for gpsd" >&2
    exit 1
  }
  "$gpsd" -N -n -b -S "$port" -F "$work/gpsd.sock" -P "$work/gpsd.pid" "$1" \
    2>"$work/gpsd.log" &
  pids+=($!)
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
}
