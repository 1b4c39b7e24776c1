#!/usr/bin/env bash
# Pictures of every tab and window (at their default size, the tabs also enlarged, and
# all of them again at 200 % scale) into docs/. Renders offscreen, so it needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake --build "$build" -j2 --target ui_tests
# A bench screen of 1280x1024, where the main window opens with every tab whole.
screen="offscreen:configfile=$PWD/scripts/offscreen-1280x1024.json"
D7O_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM="$screen" \
  "$build/bin/ui_tests" --gtest_filter='Screenshots.*'
# The same at 200 % scale, as on a high-density bench screen: NAME-200.png.
D7O_SCREENSHOT_DIR="$PWD/docs" D7O_SCREENSHOT_SUFFIX=-200 QT_SCALE_FACTOR=2 \
  QT_QPA_PLATFORM="$screen" "$build/bin/ui_tests" --gtest_filter='Screenshots.*'
ls -l docs/*.png
