// d7o-sim's command line: the bring-up switches reach the modem they describe, and what
// cannot be run is refused with a reason.
#include "sim/simulator_options.h"

#include "sim/modem_bench.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {
namespace {

struct Parsed {
  int status = 0;
  SimulatorOptions options;
  std::string out;
  std::string err;
};

Parsed parse(const std::vector<std::string_view>& args) {
  Parsed p;
  std::ostringstream out;
  std::ostringstream err;
  p.status = parseOptions(args, p.options, out, err);
  p.out = out.str();
  p.err = err.str();
  return p;
}

TEST(SimulatorOptions, BringUpSwitchesDescribeTheModem) {
  struct Case {
    std::string_view name;
    std::vector<std::string_view> args;
    std::function<void(const ModemConfig&)> check;
  };
  const Case cases[] = {
      {"defaults",
       {},
       [](const ModemConfig& c) {
         EXPECT_EQ(c.engine, Engine::Maker);
         EXPECT_EQ(c.sim, SimCard::Ready);
         EXPECT_EQ(c.simBusyTime, Millis(0));
         EXPECT_FALSE(c.autoBaud);
         EXPECT_EQ(c.baud, 9600);
       }},
      {"engine",
       {"--engine", "siemens"},
       [](const ModemConfig& c) { EXPECT_EQ(c.engine, Engine::Siemens); }},
      {"engine joined",
       {"--engine=other"},
       [](const ModemConfig& c) { EXPECT_EQ(c.engine, Engine::Other); }},
      {"PIN",
       {"--pin", "12345678"},
       [](const ModemConfig& c) {
         EXPECT_EQ(c.sim, SimCard::PinRequired);
         EXPECT_EQ(c.pin, "12345678");
       }},
      {"PUK", {"--puk"}, [](const ModemConfig& c) { EXPECT_EQ(c.sim, SimCard::PukRequired); }},
      {"PUK with a PIN",
       {"--pin", "1234", "--puk"},
       [](const ModemConfig& c) { EXPECT_EQ(c.sim, SimCard::PukRequired); }},
      {"no SIM", {"--no-sim"}, [](const ModemConfig& c) { EXPECT_EQ(c.sim, SimCard::Missing); }},
      {"SIM busy",
       {"--sim-busy"},
       [](const ModemConfig& c) { EXPECT_EQ(c.simBusyTime, Millis(30000)); }},
      {"rate detected", {"--baud", "auto"}, [](const ModemConfig& c) { EXPECT_TRUE(c.autoBaud); }},
      {"rate detected, joined",
       {"--baud=auto"},
       [](const ModemConfig& c) { EXPECT_TRUE(c.autoBaud); }},
      {"a fixed rate still",
       {"--baud", "115200"},
       [](const ModemConfig& c) {
         EXPECT_FALSE(c.autoBaud);
         EXPECT_EQ(c.baud, 115200);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Parsed p = parse(c.args);
    ASSERT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.err, "");
    c.check(modemConfigOf(p.options));
  }
}

TEST(SimulatorOptions, EngineNamesItselfAsTheProgramReadsIt) {
  struct Case {
    std::string_view engine;
    std::string manufacturer;
  };
  const Case cases[] = {
      {"tarvik", "Tarvik GmbH"},
      {"siemens", "SIEMENS"},
      {"brellstowen", "BRELLSTOWEN"},
      {"other", "WAVECOM MODEM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.engine);
    const Parsed p = parse({"--engine", c.engine});
    ASSERT_EQ(p.status, 0) << p.err;
    ModemBench b(modemConfigOf(p.options));
    EXPECT_EQ(b.say("AT+CGMI\r"), "AT+CGMI\r\r\n" + c.manufacturer + "\r\n\r\nOK\r\n");
  }
}

TEST(SimulatorOptions, CallsAreRepeatable) {
  const Parsed p = parse({"--ring", "20:+491711234567", "--ring=2.5:0301234567"});
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(p.options.calls.size(), 2u);
  EXPECT_EQ(p.options.calls[0].seconds, 20);
  EXPECT_EQ(p.options.calls[0].number, "+491711234567");
  EXPECT_EQ(p.options.calls[1].seconds, 2.5);
  EXPECT_EQ(p.options.calls[1].number, "0301234567");
}

TEST(SimulatorOptions, WrongValuesAreRefusedWithTheReason) {
  struct Case {
    std::vector<std::string_view> args;
    std::string_view reason;  // contained in the message
  };
  const Case cases[] = {
      {{"--engine", "nokia"}, "--engine needs"},
      {{"--engine"}, "--engine needs"},
      {{"--pin", "123"}, "--pin needs"},
      {{"--pin", "123456789"}, "--pin needs"},
      {{"--pin", "12a4"}, "--pin needs"},
      {{"--ring", "20"}, "--ring needs"},
      {{"--ring", "20:"}, "--ring needs"},
      {{"--ring", "x:0171"}, "--ring needs"},
      {{"--ring", "20:0171-234"}, "--ring needs"},
      {{"--ring", "20:+"}, "--ring needs"},
      {{"--baud", "automatic"}, "not a serial rate"},
      {{"--no-sim", "--pin", "1234"}, "--no-sim leaves no SIM"},
      {{"--sim-busy", "--no-sim"}, "--no-sim leaves no SIM"},
      {{"--puk", "--no-sim"}, "--no-sim leaves no SIM"},
      {{"--replay", "x.log", "--baud", "auto"}, "--baud auto is for the simulated modem"},
      {{"--replay", "x.log", "--pin", "1234"}, "--pin is for the simulated modem"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const Parsed p = parse(c.args);
    EXPECT_EQ(p.status, 2);
    EXPECT_NE(p.err.find(c.reason), std::string::npos) << p.err;
  }
}

TEST(SimulatorOptions, HelpNamesEverySwitch) {
  const Parsed p = parse({"--help"});
  EXPECT_EQ(p.status, -1);
  for (const char* name : {"--baud auto", "--engine NAME", "--pin NNNN", "--puk", "--no-sim",
                           "--sim-busy", "--ring SECONDS:NUMBER"}) {
    EXPECT_NE(p.out.find(std::string("  ") + name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace d7o::sim
