#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need (Debian 12), and
# the further packages named as arguments (scripts/windows_check.sh names its own).
# Runs apt-get only when something is missing, so repeated builds stay quick.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  clang clang-format
  xvfb xauth
  gammu python3-gammu
  smstools wvdial
  gpsbabel
  gpsd gpsd-clients
  dpkg-dev file desktop-file-utils librsvg2-bin
  # the stream benchmark: windows driven by xdotool, CuteCom as the yardstick, perf profiles
  xdotool cutecom linux-perf
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
