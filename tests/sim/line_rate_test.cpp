// The modem's line rate: fixed, switched with AT+IPR, or detected from the program's.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"
#include "sim/simulated_port.h"

#include <gtest/gtest.h>
#include <string>

namespace d7o::sim {
namespace {

using platform::Millis;

TEST(SimulatedLineRate, RateCommands) {
  struct Case {
    const char* name;
    bool autoBaud;
    const char* line;
    const char* answer;
  };
  const Case cases[] = {
      {"the rates", false, "AT+IPR=?",
       "\r\n+IPR: (0,300,1200,2400,4800,9600,19200,38400,57600,115200),()\r\n\r\nOK\r\n"},
      {"a fixed rate", false, "AT+IPR?", "\r\n+IPR: 9600\r\n\r\nOK\r\n"},
      {"detecting it", true, "AT+IPR?", "\r\n+IPR: 0\r\n\r\nOK\r\n"},
      {"its own rate", false, "AT+IPR=9600", "\r\nOK\r\n"},
      {"no such rate", false, "AT+IPR=9601", "\r\nERROR\r\n"},
      {"not a rate", false, "AT+IPR=fast", "\r\nERROR\r\n"},
      {"nothing", false, "AT+IPR=", "\r\nERROR\r\n"},
      {"no other form", false, "AT+IPR", "\r\nERROR\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemConfig config;
    config.autoBaud = c.autoBaud;
    ModemBench b(config);
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
}

TEST(SimulatedLineRate, NewFixedRateComesAfterTheAnswer) {
  ModemBench b;
  std::vector<bool> understood;  // at 9600, as each part of the answer goes out
  b.modem.setOutput([&](std::string_view bytes) {
    b.out.append(bytes);
    understood.push_back(b.modem.understandsRate(9600));
  });
  EXPECT_EQ(b.say("AT+IPR=115200\r"), "AT+IPR=115200\r\r\nOK\r\n");
  EXPECT_EQ(understood, std::vector<bool>{true}) << "the answer still at the old rate";
  EXPECT_EQ(b.say("AT\r", 9600), "") << "the old rate is noise now";
  EXPECT_EQ(b.say("AT+IPR?\r", 115200), "AT+IPR?\r\r\n+IPR: 115200\r\n\r\nOK\r\n");
  b.say("&RESET\r", 115200, Millis(4000));
  EXPECT_EQ(b.say("AT\r", 115200), "AT\r\r\nOK\r\n") << "the rate outlives a restart";
  EXPECT_EQ(b.say("AT+IPR=0\r", 115200), "AT+IPR=0\r\r\nOK\r\n");
  EXPECT_EQ(b.say("AT\r", 2400), "AT\r\r\nOK\r\n") << "now it detects the rate";
  EXPECT_EQ(b.say("AT+IPR=4800\r", 2400), "AT+IPR=4800\r\r\nOK\r\n");
  EXPECT_EQ(b.say("AT\r", 2400), "");
  EXPECT_EQ(b.say("AT\r", 4800), "AT\r\r\nOK\r\n");
}

TEST(SimulatedLineRate, DetectingTheRateAnswersAtAnyOfTheProgram) {
  ModemConfig config;
  config.autoBaud = true;
  ModemBench b(config);
  for (const int baud : {9600, 115200, 2400, 57600}) {
    SCOPED_TRACE(baud);
    EXPECT_EQ(b.say("AT+CSQ\r", baud), "AT+CSQ\r\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
    EXPECT_EQ(b.modem.config().baud, baud) << "the rate it detected last";
  }
  // At 300 baud the answer takes its time on the line: a character is 33 ms.
  EXPECT_EQ(b.say("AT\r", 300, Millis(200)), "");
  EXPECT_EQ(b.during(Millis(300)), "AT\r\r\nOK\r\n");
}

// The in-process port: a program that moves to another rate is understood there too.
TEST(SimulatedLineRate, PortAtAnyRateReachesADetectingModem) {
  test::VirtualScheduler scheduler;
  SchedulerClock clock{scheduler};
  ModemConfig config;
  config.autoBaud = true;
  ModemEngine modem(clock, config);
  SimulatedPort port(scheduler, modem);
  ASSERT_FALSE(port.open());
  ASSERT_FALSE(port.setSettings("38400,n,8,1"));
  ASSERT_FALSE(port.write("AT\r"));
  scheduler.runFor(Millis(500));
  EXPECT_EQ(port.readAll(), "AT\r\r\nOK\r\n");
  ASSERT_FALSE(port.setSettings("4800,n,8,1"));
  modem.sendUnsolicited("\r\nRING\r\n");
  scheduler.runFor(Millis(10));
  EXPECT_EQ(port.readAll(), "\r\nRING\r\n");
}

}  // namespace
}  // namespace d7o::sim
