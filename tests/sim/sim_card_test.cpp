// The SIM as the modem finds it: missing, busy while read, locked by its PIN or its PUK,
// and how each state answers the commands that need the SIM.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::sim {
namespace {

using platform::Millis;

// What one line answers, without its echo.
std::string answerTo(ModemBench& b, const std::string& line) {
  const std::string got = b.say(line + "\r");
  return got.starts_with(line + "\r") ? got.substr(line.size() + 1) : "(no echo) " + got;
}

TEST(SimulatedSim, EachStateAnswersTheSimsCommands) {
  struct Case {
    std::string_view name;
    SimCard sim;
    Millis busy;
    std::string cpin;  // AT+CPIN?
    std::string cme;   // the phone book, the IMSI, a dial
    std::string cms;   // the message store
  };
  const Case cases[] = {
      {"ready", SimCard::Ready, Millis(0), "\r\n+CPIN: READY\r\n\r\nOK\r\n", "", ""},
      {"none", SimCard::Missing, Millis(0), "\r\n+CME ERROR: 13\r\n", "\r\n+CME ERROR: 13\r\n",
       "\r\n+CMS ERROR: 310\r\n"},
      {"PIN", SimCard::PinRequired, Millis(0), "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n",
       "\r\n+CME ERROR: 11\r\n", "\r\n+CMS ERROR: 311\r\n"},
      {"PUK", SimCard::PukRequired, Millis(0), "\r\n+CPIN: SIM PUK\r\n\r\nOK\r\n",
       "\r\n+CME ERROR: 12\r\n", "\r\n+CMS ERROR: 316\r\n"},
      {"busy", SimCard::Ready, Millis(60000), "\r\n+CME ERROR: 14\r\n", "\r\n+CME ERROR: 14\r\n",
       "\r\n+CMS ERROR: 314\r\n"},
      {"busy before its PIN", SimCard::PinRequired, Millis(60000), "\r\n+CME ERROR: 14\r\n",
       "\r\n+CME ERROR: 14\r\n", "\r\n+CMS ERROR: 314\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemConfig config;
    config.sim = c.sim;
    config.simBusyTime = c.busy;
    ModemBench b(config);
    EXPECT_EQ(answerTo(b, "AT+CPIN?"), c.cpin);
    if (c.cme.empty()) {
      EXPECT_EQ(answerTo(b, "AT+CIMI"), "\r\n262019876543210\r\n\r\nOK\r\n");
      continue;
    }
    for (const char* line : {"AT+CPBS?", "AT+CIMI", "ATD0123;", "ATD0123"}) {
      EXPECT_EQ(answerTo(b, line), c.cme) << line;
    }
    EXPECT_EQ(answerTo(b, "AT+CPMS?"), c.cms);
    EXPECT_EQ(answerTo(b, "AT+CGMI"), "\r\nTarvik GmbH\r\n\r\nOK\r\n") << "needs no SIM";
    EXPECT_EQ(b.modem.callState(), CallState::Idle);
    EXPECT_EQ(b.modem.dataCallState(), DataCallState::Idle);
    EXPECT_FALSE(b.modem.incomingCall(3, "+491711234567")) << "no network, no call";
    EXPECT_EQ(b.modem.deliverSms("+491711234567", "Hi").arrival, SmsArrival::Refused);
  }
}

TEST(SimulatedSim, EmergencyCallsNeedNoSim) {
  ModemConfig config;
  config.sim = SimCard::Missing;
  ModemBench b(config);
  EXPECT_EQ(b.say("ATD112;\r", 9600, Millis(6000)), "ATD112;\r\r\nOK\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Active);
}

TEST(SimulatedSim, BusyAfterPowerOnAndAfterEachRestart) {
  ModemConfig config;
  config.simBusyTime = Millis(5000);
  ModemBench b(config);
  b.during(Millis(3900));
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CME ERROR: 14\r\n") << "at 3.9 s";
  b.during(Millis(1000));
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: READY\r\n\r\nOK\r\n") << "at 5.9 s";

  b.say("&RESET\r", 9600, Millis(3500));  // up again after the restart time
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CME ERROR: 14\r\n");
  b.during(Millis(2500));
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CME ERROR: 14\r\n") << "7 s after the reset";
  b.during(Millis(1000));
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: READY\r\n\r\nOK\r\n");
}

TEST(SimulatedSim, PinEntry) {
  struct Case {
    std::string_view name;
    SimCard sim;
    std::string line;
    std::string answer;
    bool unlocked;
  };
  const Case cases[] = {
      {"right PIN", SimCard::PinRequired, "AT+CPIN=5937", "\r\nOK\r\n", true},
      {"quoted", SimCard::PinRequired, "AT+CPIN=\"5937\"", "\r\nOK\r\n", true},
      {"wrong PIN", SimCard::PinRequired, "AT+CPIN=1234", "\r\n+CME ERROR: 16\r\n", false},
      {"a PIN and more", SimCard::PinRequired, "AT+CPIN=5937,1234", "\r\nERROR\r\n", false},
      {"nothing to unlock", SimCard::Ready, "AT+CPIN=5937", "\r\n+CME ERROR: 3\r\n", false},
      {"no SIM to unlock", SimCard::Missing, "AT+CPIN=5937", "\r\n+CME ERROR: 13\r\n", false},
      {"a PIN where the PUK is wanted", SimCard::PukRequired, "AT+CPIN=5937",
       "\r\n+CME ERROR: 12\r\n", false},
      {"right PUK, new PIN", SimCard::PukRequired, "AT+CPIN=\"12345678\",\"2468\"", "\r\nOK\r\n",
       true},
      {"wrong PUK", SimCard::PukRequired, "AT+CPIN=\"12345679\",\"2468\"", "\r\n+CME ERROR: 16\r\n",
       false},
      {"new PIN too short", SimCard::PukRequired, "AT+CPIN=12345678,246", "\r\nERROR\r\n", false},
      {"new PIN not digits", SimCard::PukRequired, "AT+CPIN=12345678,24A8", "\r\nERROR\r\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemConfig config;
    config.sim = c.sim;
    ModemBench b(config);
    EXPECT_EQ(answerTo(b, c.line), c.answer);
    EXPECT_EQ(b.modem.simUnlocked(), c.unlocked);
  }
}

TEST(SimulatedSim, ThreeWrongPinsLockTheSimToItsPuk) {
  ModemConfig config;
  config.sim = SimCard::PinRequired;
  ModemBench b(config);
  EXPECT_EQ(answerTo(b, "AT+CPIN=1111"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPIN=2222"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n") << "one try left";
  EXPECT_EQ(answerTo(b, "AT+CPIN=3333"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: SIM PUK\r\n\r\nOK\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPIN=5937"), "\r\n+CME ERROR: 12\r\n") << "the right PIN is late";
  EXPECT_FALSE(b.modem.simUnlocked());

  b.say("&RESET\r", 9600, Millis(4000));
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: SIM PUK\r\n\r\nOK\r\n") << "the SIM remembers";

  EXPECT_EQ(answerTo(b, "AT+CPIN=\"12345678\",\"4321\""), "\r\nOK\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: READY\r\n\r\nOK\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPBS?"), "\r\n+CPBS: \"SM\",3,250\r\n\r\nOK\r\n");
  EXPECT_EQ(b.modem.config().pin, "4321");

  // After a restart the SIM asks for its new PIN, with three tries again.
  b.say("&RESET\r", 9600, Millis(4000));
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPIN=5937"), "\r\n+CME ERROR: 16\r\n") << "the old PIN is gone";
  EXPECT_EQ(answerTo(b, "AT+CPIN=9999"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(answerTo(b, "AT+CPIN=4321"), "\r\nOK\r\n");
  EXPECT_TRUE(b.modem.simUnlocked());
}

TEST(SimulatedSim, ARightPinGivesTheTriesBack) {
  ModemConfig config;
  config.sim = SimCard::PinRequired;
  ModemBench b(config);
  answerTo(b, "AT+CPIN=1111");
  answerTo(b, "AT+CPIN=2222");
  EXPECT_EQ(answerTo(b, "AT+CPIN=5937"), "\r\nOK\r\n");
  b.say("&RESET\r", 9600, Millis(4000));
  answerTo(b, "AT+CPIN=1111");
  answerTo(b, "AT+CPIN=2222");
  EXPECT_EQ(answerTo(b, "AT+CPIN?"), "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n");
}

}  // namespace
}  // namespace d7o::sim
