// The PC's clock as the program reads it: the local time of day (the terminal's stamps)
// and the local date and time (the clock label, the device's clock setting) agree with
// Qt's own local time in zones east and west of UTC, whole hours or not.

#include "ui/qt_host.h"

#include <ctime>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDateTime>

namespace d7o::ui {
namespace {

constexpr int kDayMs = 24 * 60 * 60 * 1000;

// Milliseconds from `a` to `b` on a clock that wraps at midnight.
int apartOnTheDial(int a, int b) {
  const int d = ((b - a) % kDayMs + kDayMs) % kDayMs;
  return d > kDayMs / 2 ? kDayMs - d : d;
}

class QtHostClock : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const char* old = ::getenv("TZ");
    m_hadZone = old != nullptr;
    if (m_hadZone) m_oldZone = old;
    ::setenv("TZ", GetParam(), 1);
    ::tzset();
  }
  void TearDown() override {
    if (m_hadZone) {
      ::setenv("TZ", m_oldZone.c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  bool m_hadZone = false;
  std::string m_oldZone;
};

TEST_P(QtHostClock, LocalTimeIsQtsLocalTime) {
  const QtHost host("/tmp");
  // Read between two readings of Qt's clock, so a second boundary in between is allowed.
  const QDateTime before = QDateTime::currentDateTime();
  const int timeOfDay = host.localTimeOfDay();
  const platform::DateTime now = host.localDateTime();
  const QDateTime after = QDateTime::currentDateTime();

  EXPECT_LE(apartOnTheDial(before.time().msecsSinceStartOfDay(), timeOfDay), 1000);
  const QDateTime read(QDate(now.year, now.month, now.day),
                       QTime(now.hour, now.minute, now.second));
  EXPECT_GE(read, before.addMSecs(-before.time().msec()));
  EXPECT_LE(read, after);
  // Many calls a second read the zone once: they must still agree when the second turns.
  for (int i = 0; i < 1000; ++i) {
    const int a = QDateTime::currentDateTime().time().msecsSinceStartOfDay();
    const int b = host.localTimeOfDay();
    ASSERT_LE(apartOnTheDial(a, b), 1000) << "call " << i;
  }
}

// Zones whose offsets a half-hour or three-quarter slip, or a sign, would show.
INSTANTIATE_TEST_SUITE_P(Zones, QtHostClock,
                         ::testing::Values("UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "<+0545>-5:45",
                                           "<-0330>3:30", "<+14>-14", "<-12>12"));

}  // namespace
}  // namespace d7o::ui
