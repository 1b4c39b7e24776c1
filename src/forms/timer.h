#pragma once

#include "forms/signal.h"
#include "platform/scheduler.h"

#include <optional>
#include <string>

namespace d7o::forms {

// A window's timer: Interval, Enabled and its tick. A tick that comes due while the
// previous tick of the same timer still runs (its waits pump events) is skipped, never
// nested: a wake-up tick that is still waiting for the modem must not start a second one.
class Timer {
 public:
  Timer(std::string name, int intervalMs) : m_name(std::move(name)), m_interval(intervalMs) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  // Without a scheduler the timer keeps its state but never ticks.
  void attach(platform::Scheduler* scheduler);

  const std::string& name() const { return m_name; }
  int interval() const { return m_interval; }
  // A new interval restarts the count, as the classic timer does.
  void setInterval(int ms);
  bool enabled() const { return m_enabled; }
  // Enabling a running timer changes nothing; enabling a stopped one starts a full interval.
  void setEnabled(bool enabled);
  bool ticking() const { return m_inTick; }
  int skippedTicks() const { return m_skipped; }

  Signal<> Tick;

 private:
  void arm();
  void disarm();
  void fire();

  std::string m_name;
  int m_interval;
  bool m_enabled = false;
  bool m_inTick = false;
  int m_skipped = 0;
  platform::Scheduler* m_scheduler = nullptr;
  std::optional<platform::Scheduler::TimerId> m_id;
};

}  // namespace d7o::forms
