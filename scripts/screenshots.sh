#!/usr/bin/env bash
# Pictures of every tab and window (at their default size, the tabs also enlarged, and
# all of them again at 200 % scale) into docs/. Renders offscreen, so it needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake --build "$build" -j2 --target ui_tests
D7O_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM=offscreen \
  "$build/bin/ui_tests" --gtest_filter='Screenshots.*'
# The same at 200 % scale, as on a high-density bench screen: NAME-200.png.
D7O_SCREENSHOT_DIR="$PWD/docs" D7O_SCREENSHOT_SUFFIX=-200 QT_SCALE_FACTOR=2 \
  QT_QPA_PLATFORM=offscreen "$build/bin/ui_tests" --gtest_filter='Screenshots.*'
ls -l docs/*.png
