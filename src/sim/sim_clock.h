#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

namespace d7o::sim {

using Millis = std::chrono::milliseconds;

// Time `bytes` characters take on a line at `baud`: start bit, eight data bits, stop bit.
inline Millis lineTime(std::size_t bytes, int baud) {
  if (baud <= 0) return Millis(0);
  return Millis(static_cast<long long>(bytes) * 10 * 1000 / baud);
}

// The time the simulated modem runs on: the program's scheduler when it runs in-process,
// a loop of its own behind a pseudo-terminal.
class SimClock {
 public:
  virtual ~SimClock() = default;
  virtual Millis now() const = 0;
  virtual void after(Millis delay, std::function<void()> action) = 0;
};

}  // namespace d7o::sim
