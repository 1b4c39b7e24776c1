#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite, then the
# Windows build's check under wine (scripts/windows_check.sh; WINDOWS_CHECK=0 leaves it out).
# Extra arguments go to cmake's configure step (e.g. -DD7O_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
# A short run of every fuzz target (12 s each, about a minute); libFuzzer comes with clang.
if command -v clang++ >/dev/null; then
  scripts/fuzz.sh 12
fi
if [[ ${WINDOWS_CHECK:-1} != 0 ]]; then
  BUILD_DIR=$build scripts/windows_check.sh
fi
