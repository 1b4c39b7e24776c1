#!/usr/bin/env bash
# Pictures of the SMS, phone-book, alarm and GPS tabs, the PDU creator and the 7-bit
# converter (at their default size, the tabs also enlarged), into docs/. Renders offscreen, so it needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake --build "$build" -j2 --target ui_tests
D7O_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM=offscreen \
  "$build/bin/ui_tests" --gtest_filter='Screenshots.*'
ls -l docs/*.png
