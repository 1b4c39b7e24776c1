// The simulated modem keeps the contract the program relies on.
#include "sim/modem_engine.h"

#include "sim/modem_bench.h"
#include "sim/simulated_port.h"
#include "support/virtual_scheduler.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using platform::Millis;

using Bench = ModemBench;

TEST(SimulatedModem, AnswersCommandLines) {
  struct Case {
    const char* line;
    const char* answer;
  };
  const Case cases[] = {
      {"AT\r", "AT\r\r\nOK\r\n"},
      {"at\r", "at\r\r\nOK\r\n"},
      {"AT+IFC=2,2\r", "AT+IFC=2,2\r\r\nOK\r\n"},
      {"AT+IFC=0,0\r", "AT+IFC=0,0\r\r\nOK\r\n"},
      {"AT+IFC=1,1\r", "AT+IFC=1,1\r\r\nERROR\r\n"},
      {"AT+NOSUCH\r", "AT+NOSUCH\r\r\nERROR\r\n"},
      {"AT\r\n", "AT\r\r\nOK\r\n"},
      {"ATX\bZ\r", "ATZ\r\r\nOK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Bench b;
    EXPECT_EQ(b.say(c.line), c.answer);
  }
}

TEST(SimulatedModem, EchoCanBeSwitchedOff) {
  Bench b;
  EXPECT_EQ(b.say("ATE0\r"), "ATE0\r\r\nOK\r\n");
  EXPECT_EQ(b.say("AT\r"), "\r\nOK\r\n");
  EXPECT_EQ(b.say("ATE1\r"), "\r\nOK\r\n");
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n");
}

TEST(SimulatedModem, ResetAndFactoryProfileRestoreTheEcho) {
  struct Case {
    const char* what;
    bool bootEcho;
    std::vector<const char*> before;  // lines sent first, answers not checked
    const char* line;
    const char* next;  // the answer to "AT" after `line`
  };
  const Case cases[] = {
      {"ATZ after ATE0", true, {"ATE0\r"}, "ATZ\r", "AT\r\r\nOK\r\n"},
      {"AT&F after ATE0", true, {"ATE0\r"}, "AT&F\r", "AT\r\r\nOK\r\n"},
      {"ATZ of a modem stored without echo", false, {"ATE1\r"}, "ATZ\r", "\r\nOK\r\n"},
      {"AT&F of a modem stored without echo", false, {}, "AT&F\r", "AT\r\r\nOK\r\n"},
      {"ATZ after AT&W stored the echo off",
       true,
       {"ATE0\r", "AT&W\r", "ATE1\r"},
       "ATZ\r",
       "\r\nOK\r\n"},
      {"ATZ in a line of several", true, {"ATE0\r"}, "ATZ;+CMEE=1\r", "AT\r\r\nOK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModemConfig config;
    config.echo = c.bootEcho;
    Bench b(config);
    for (const char* line : c.before) b.say(line);
    b.say(c.line);
    EXPECT_EQ(b.say("AT\r"), c.next);
  }
}

TEST(SimulatedModem, IgnoresNulBytesInACommandLine) {
  Bench b;
  EXPECT_EQ(b.say(std::string("AT+CSQ\0\r", 8)), "AT+CSQ\r\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say(std::string("A\0T\r", 5)), "AT\r\r\nOK\r\n");
}

TEST(SimulatedModem, OnlyItsOwnBaudRateIsUnderstood) {
  ModemConfig c;
  c.baud = 115200;
  Bench b(c);
  EXPECT_EQ(b.say("AT\r", 9600), "");
  EXPECT_EQ(b.say("AT\r", 115200), "AT\r\r\nOK\r\n");
  const std::string noise = ModemEngine::garble("AT\r\r\nOK\r\n");
  EXPECT_EQ(noise.find_first_of("\r\n"), std::string::npos);
}

TEST(SimulatedModem, SwitchedOffIsSilentWithCtsLow) {
  ModemConfig c;
  c.powered = false;
  Bench b(c);
  EXPECT_EQ(b.say("AT\r"), "");
  EXPECT_FALSE(b.modem.cts());
}

TEST(SimulatedPort, ProgramAtTheWrongRateSeesNoise) {
  test::VirtualScheduler scheduler;
  SchedulerClock clock{scheduler};
  ModemEngine modem(clock, {});
  SimulatedPort port(scheduler, modem);
  ASSERT_FALSE(port.open());
  ASSERT_FALSE(port.setSettings("115200,n,8,1"));
  modem.sendUnsolicited("RING\r\n");
  scheduler.runFor(Millis(10));
  const std::string got = port.readAll();
  EXPECT_EQ(got.size(), 6u);
  EXPECT_EQ(got.find_first_of("\r\n"), std::string::npos);
  EXPECT_TRUE(port.setSettings("fast,n,8,1"));
  EXPECT_EQ(port.setCommPort(17)->number, 8002);
  EXPECT_EQ(port.setCommPort(2)->number, 8005) << "the number of an open port stays";
}

}  // namespace
}  // namespace d7o::sim
