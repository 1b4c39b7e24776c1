# Sourced by the checks that start d7o-sim in the background.
# sim_device OUT LOG: the device path d7o-sim printed as the first line of OUT, waiting up
# to 5 s for it; fails with LOG (its standard error) shown when none comes.
sim_device() {
  local device=""
  for _ in $(seq 50); do
    device="$(head -n 1 "$1" 2>/dev/null || true)"
    [ -n "$device" ] && break
    sleep 0.1
  done
  if [ -z "$device" ]; then
    echo "d7o-sim printed no device" >&2
    cat "$2" >&2
    return 1
  fi
  echo "$device"
}
