#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the simulated modem in a
# demo folder (created with a default TARVIK.INI on the first run). Extra arguments go to
# the program (e.g. "?" for the command-line help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake --build "$build" -j2 --target rezedev7 d7o-sim
demo=${DEMO_DIR:-$PWD/demo}
"$build/bin/rezedev7" --create-ini "$demo" 1
exec "$build/bin/rezedev7" --simulate --home "$demo" "$@"
