#pragma once

#include <chrono>
#include <functional>

namespace d7o::sim {

using Millis = std::chrono::milliseconds;

// The time the simulated modem runs on: the program's scheduler when it runs in-process,
// a loop of its own behind a pseudo-terminal.
class SimClock {
 public:
  virtual ~SimClock() = default;
  virtual Millis now() const = 0;
  virtual void after(Millis delay, std::function<void()> action) = 0;
};

}  // namespace d7o::sim
