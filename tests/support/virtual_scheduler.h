#pragma once

#include "platform/scheduler.h"

#include <map>
#include <utility>

namespace d7o::test {

// Virtual time: nothing sleeps. A wait jumps the clock straight to the next due timer
// tick or modem event, so a 24-second baud search runs in microseconds and always the
// same way. Events due at the same moment run in the order they were scheduled.
class VirtualScheduler : public platform::Scheduler {
 public:
  platform::Millis now() const override { return m_now; }
  TimerId startTimer(platform::Millis interval, std::function<void()> tick) override;
  void stopTimer(TimerId id) override;
  void post(platform::Millis delay, std::function<void()> action) override;
  void pumpEvents(platform::Millis deadline) override;

  // The top-level event loop: runs everything due within `duration` of virtual time.
  void runFor(platform::Millis duration);
  // Runs until `done` holds or `limit` passes; true when it held.
  bool runUntil(const std::function<bool()>& done, platform::Millis limit);

 private:
  struct Entry {
    std::function<void()> action;
    TimerId timer = 0;  // 0: a one-shot
    platform::Millis interval{0};
  };
  using Key = std::pair<platform::Millis, std::uint64_t>;  // due time, then order of scheduling

  bool runNextDueBy(platform::Millis limit);

  platform::Millis m_now{0};
  std::uint64_t m_seq = 0;
  TimerId m_lastTimer = 0;
  std::map<Key, Entry> m_queue;
};

}  // namespace d7o::test
