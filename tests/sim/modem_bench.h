#pragma once

#include "sim/modem_engine.h"
#include "sim/simulated_port.h"
#include "support/virtual_scheduler.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace d7o::sim {

// The simulated modem on virtual time, with everything it sends collected.
struct ModemBench {
  explicit ModemBench(ModemConfig c = {}) : modem(clock, c) {
    modem.setOutput([this](std::string_view b) { out.append(b); });
  }
  // Sends a line (with its line end) and returns what the modem sent within `wait`.
  std::string say(const std::string& line, int baud = 9600,
                  platform::Millis wait = platform::Millis(1000)) {
    out.clear();
    modem.receive(line, baud);
    scheduler.runFor(wait);
    return out;
  }
  // What the modem sent during `duration` from now.
  std::string during(platform::Millis duration) {
    out.clear();
    scheduler.runFor(duration);
    return out;
  }
  test::VirtualScheduler scheduler;
  SchedulerClock clock{scheduler};
  ModemEngine modem;
  std::string out;
};

// A command line sent after some others, and what the modem answers it after its echo.
struct LineCase {
  const char* what;
  std::vector<const char*> before;  // lines sent first, answers not checked
  const char* line;
  const char* answer;
};

inline void expectAnswer(const LineCase& c, ModemConfig config = {}) {
  SCOPED_TRACE(c.what);
  ModemBench b(config);
  for (const char* line : c.before) b.say(std::string(line) + "\r");
  const std::string line = std::string(c.line) + "\r";
  EXPECT_EQ(b.say(line, 9600, platform::Millis(3000)), line + c.answer);
}

}  // namespace d7o::sim
