#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace d7o::platform {

using Millis = std::chrono::milliseconds;

// The clock, timers and event pump the program runs on. Real time under Qt; virtual time
// in tests, where a wait jumps straight to the next due event.
class Scheduler {
 public:
  using TimerId = std::uint64_t;

  virtual ~Scheduler() = default;

  // Monotonic time since an arbitrary start.
  virtual Millis now() const = 0;

  // A repeating timer; the first tick comes one interval from now.
  virtual TimerId startTimer(Millis interval, std::function<void()> tick) = 0;
  virtual void stopTimer(TimerId id) = 0;

  // Runs `action` once from the event loop after `delay` (0: as soon as the loop runs).
  virtual void post(Millis delay, std::function<void()> action) = 0;

  // Runs the events that are due; when none is, waits for the next one but not beyond
  // `deadline`. A wait loop calls this until its condition holds or its time is up.
  virtual void pumpEvents(Millis deadline) = 0;

  // Runs what is due without waiting (the classic DoEvents).
  void pumpPending() { pumpEvents(now()); }
};

}  // namespace d7o::platform
