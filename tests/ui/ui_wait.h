#pragma once

#include <functional>

#include <QTest>

namespace d7o::ui {

// Long enough for any refresh beat of a window, short enough for a failing test.
inline constexpr int kWidgetWaitMs = 2000;

// Pumps Qt's events in real time until `done` holds; false after `timeoutMs`. Widgets
// follow their model on their window's refresh beat, which runs in real time also where
// the core runs in virtual time: a test waits for what it expects to see.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = kWidgetWaitMs) {
  return QTest::qWaitFor(done, timeoutMs);
}

}  // namespace d7o::ui
