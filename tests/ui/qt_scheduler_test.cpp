// QtScheduler in real time: timers, posted actions and the event pump a wait loop uses.

#include "ui/qt_scheduler.h"

#include <gtest/gtest.h>
#include <vector>

#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;
using namespace std::chrono_literals;

// Pumps the way the program's waits do, until `done` or `limit`.
template <typename Done>
bool pumpUntil(QtScheduler& scheduler, Done done, Millis limit) {
  const Millis deadline = scheduler.now() + limit;
  while (!done()) {
    if (scheduler.now() >= deadline) return false;
    scheduler.pumpEvents(deadline);
  }
  return true;
}

TEST(QtScheduler, TheClockRunsForward) {
  QtScheduler scheduler;
  const Millis start = scheduler.now();
  EXPECT_TRUE(QTest::qWaitFor([&] { return scheduler.now() - start >= 15ms; }, 1000));
}

TEST(QtScheduler, PostedActionsRunInTheirOrderFromTheEventLoop) {
  QtScheduler scheduler;
  std::vector<int> ran;
  scheduler.post(30ms, [&] { ran.push_back(3); });
  scheduler.post(0ms, [&] { ran.push_back(1); });
  scheduler.post(10ms, [&] { ran.push_back(2); });
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(pumpUntil(
      scheduler, [&] { return ran.size() == 3; }, 1000ms));
  EXPECT_EQ(ran, std::vector<int>({1, 2, 3}));
}

TEST(QtScheduler, ATimerRepeatsUntilStoppedFromItsOwnTick) {
  QtScheduler scheduler;
  int ticks = 0;
  platform::Scheduler::TimerId id = 0;
  id = scheduler.startTimer(5ms, [&] {
    if (++ticks == 3) scheduler.stopTimer(id);
  });
  EXPECT_TRUE(pumpUntil(
      scheduler, [&] { return ticks >= 3; }, 1000ms));
  // A stopped timer must not tick again: only waiting a while can show that.
  QTest::qWait(40);
  EXPECT_EQ(ticks, 3);
}

TEST(QtScheduler, StoppingAnUnknownOrStoppedTimerIsHarmless) {
  QtScheduler scheduler;
  const auto id = scheduler.startTimer(1000ms, [] {});
  scheduler.stopTimer(id);
  scheduler.stopTimer(id);
  scheduler.stopTimer(12345);
}

TEST(QtScheduler, AWaitSleepsUntilItsDeadlineInsteadOfSpinning) {
  QtScheduler scheduler;
  int pumps = 0;
  const Millis deadline = scheduler.now() + 100ms;
  while (scheduler.now() < deadline) {
    scheduler.pumpEvents(deadline);
    ++pumps;
  }
  // A spinning wait would pump many thousand times in 100 ms.
  EXPECT_LT(pumps, 50);
}

TEST(QtScheduler, AWaitWakesForAnEventBeforeItsDeadline) {
  QtScheduler scheduler;
  bool posted = false;
  scheduler.post(10ms, [&] { posted = true; });
  const Millis start = scheduler.now();
  EXPECT_TRUE(pumpUntil(
      scheduler, [&] { return posted; }, 2000ms));
  EXPECT_LT(scheduler.now() - start, 1000ms);
}

}  // namespace
}  // namespace d7o::ui
