#include "platform/line_settings.h"

#include "sim/modem_engine.h"
#include "sim/simulated_port.h"
#include "support/virtual_scheduler.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::platform {
namespace {

using Parity = LineSettings::Parity;
using StopBits = LineSettings::StopBits;

struct Good {
  std::string_view text;
  int baud;
  Parity parity;
  int dataBits;
  StopBits stopBits;
};

TEST(LineSettings, ReadsEveryFieldOfAValidText) {
  const Good cases[] = {
      {"9600,n,8,1", 9600, Parity::None, 8, StopBits::One},
      {"115200,N,8,1", 115200, Parity::None, 8, StopBits::One},
      {"2400,e,7,2", 2400, Parity::Even, 7, StopBits::Two},
      {"300,O,5,1.5", 300, Parity::Odd, 5, StopBits::OneAndHalf},
      {" 19200 , m , 6 , 1 ", 19200, Parity::Mark, 6, StopBits::One},
      {"57600,s,8,1", 57600, Parity::Space, 8, StopBits::One},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    LineSettings s;
    ASSERT_FALSE(parseLineSettings(c.text, s).has_value());
    EXPECT_EQ(s.baud, c.baud);
    EXPECT_EQ(s.parity, c.parity);
    EXPECT_EQ(s.dataBits, c.dataBits);
    EXPECT_EQ(s.stopBits, c.stopBits);
  }
}

TEST(LineSettings, RefusesABrokenTextAndKeepsWhatItHad) {
  const std::string_view cases[] = {
      "",           "9600",        "9600,n,8",   "9600,n,8,1,1", "96O0,n,8,1",
      "0,n,8,1",    "-9600,n,8,1", "9600,x,8,1", "9600,no,8,1",  "9600,n,9,1",
      "9600,n,4,1", "9600,n,8,3",
  };
  for (const auto text : cases) {
    SCOPED_TRACE(text);
    LineSettings s;
    s.baud = 4800;
    const auto error = parseLineSettings(text, s);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, kInvalidPropertyValue);
    EXPECT_EQ(s.baud, 4800);
  }
}

// A simulated port on a modem nobody talks to: only its line settings matter here.
struct SimulatedLine {
  test::VirtualScheduler scheduler;
  sim::SchedulerClock clock{scheduler};
  sim::ModemEngine modem{clock, {}};
  sim::SimulatedPort port{scheduler, modem};
};

// The simulated port reads the settings with the real port's parser, so a scenario never
// passes on a text the real adapter refuses, nor fails on one it takes. The first rows
// are those the simulated port once read differently.
TEST(LineSettings, TheSimulatedPortTakesAndRefusesWhatTheRealOneDoes) {
  struct Case {
    std::string_view name;
    std::string_view text;
    std::optional<int> baud;  // none: refused with error 380
  };
  static const Case cases[] = {
      {"rate_alone", "9600", std::nullopt},
      {"unknown_parity", "9600,x,8,1", std::nullopt},
      {"blanks_round_the_rate", " 9600 ,n,8,1", 9600},
      {"rate_word", "fast,n,8,1", std::nullopt},
      {"negative_rate", "-9600,n,8,1", std::nullopt},
      {"zero_rate", "0,n,8,1", std::nullopt},
      {"rate_and_parity_only", "115200,n", std::nullopt},
      {"nine_data_bits", "9600,n,9,1", std::nullopt},
      {"fifth_field", "9600,n,8,1,1", std::nullopt},
      {"empty", "", std::nullopt},
      {"baud_search_default", "9600,n,8,1", 9600},
      {"baud_search_fast", "115200,n,8,1", 115200},
      {"even_parity_seven_bits", "19200,E,7,2", 19200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LineSettings parsed;
    const PortResult real = parseLineSettings(c.text, parsed);
    SimulatedLine line;
    ASSERT_FALSE(line.port.setSettings("4800,n,8,1").has_value());
    const PortResult simulated = line.port.setSettings(c.text);
    ASSERT_EQ(real.has_value(), !c.baud.has_value());
    ASSERT_EQ(simulated.has_value(), real.has_value());
    if (c.baud) {
      EXPECT_EQ(parsed.baud, *c.baud);
      EXPECT_EQ(line.port.baud(), *c.baud);
      EXPECT_EQ(line.port.settings(), c.text);
      continue;
    }
    EXPECT_EQ(simulated->number, kInvalidPropertyValue);
    EXPECT_EQ(simulated->number, real->number);
    EXPECT_EQ(simulated->description, "Invalid property value (\"" + std::string(c.text) + "\")");
    EXPECT_EQ(simulated->description, real->description);
    EXPECT_EQ(line.port.baud(), 4800) << "a refused text leaves the line as it ran";
    EXPECT_EQ(line.port.settings(), "4800,n,8,1");
    EXPECT_EQ(line.port.settingsLog().size(), 1u);
  }
}

}  // namespace
}  // namespace d7o::platform
