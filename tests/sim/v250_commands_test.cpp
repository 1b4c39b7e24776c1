// The V.250 command interpreter of the simulated modem as standard clients use it: several
// basic commands on one line, result codes in words or numbers or none, the profile, the
// S-registers, dial modifiers, DTR and carrier detect.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace d7o::sim {
namespace {

using platform::Millis;

TEST(SimulatedV250, CommandLinesOfStandardClients) {
  const LineCase cases[] = {
      {"a dialler's init string", {}, "ATQ0 V1 E1 S0=0 &C1 &D2 +FCLASS=0", "\r\nOK\r\n"},
      {"basic commands without blanks", {}, "ATE1S0=0", "\r\nOK\r\n"},
      {"with blanks", {}, "ATE1 S0=0", "\r\nOK\r\n"},
      {"the same in small letters", {}, "ate1s0=0&c1&d2", "\r\nOK\r\n"},
      {"an extended command after basic ones", {}, "ATE1V1+CSQ", "\r\n+CSQ: 17,99\r\n\r\nOK\r\n"},
      {"extended commands with ;", {}, "AT+CMEE=1;+CREG=2", "\r\nOK\r\n"},
      {"basic commands with ;", {}, "ATZ;E1;+CSQ", "\r\n+CSQ: 17,99\r\n\r\nOK\r\n"},
      {"X, M and L", {}, "ATX4M1L2", "\r\nOK\r\n"},
      {"a value out of range ends the line", {}, "ATE1X9+CSQ", "\r\nERROR\r\n"},
      {"an unknown basic command", {}, "ATE1Y1", "\r\nERROR\r\n"},
      {"a stray character", {}, "ATE1?", "\r\nERROR\r\n"},
      {"the fax class", {}, "AT+FCLASS?", "\r\n0\r\n\r\nOK\r\n"},
      {"its range", {}, "AT+FCLASS=?", "\r\n0\r\n\r\nOK\r\n"},
      {"no fax", {}, "AT+FCLASS=1", "\r\nERROR\r\n"},
      {"S-register read, three digits", {}, "ATS0?", "\r\n000\r\n\r\nOK\r\n"},
      {"S-register written then read", {}, "ATS7=60S7?", "\r\n060\r\n\r\nOK\r\n"},
      {"the escape character", {}, "ATS2?", "\r\n043\r\n\r\nOK\r\n"},
      {"the guard time", {}, "ATS12?", "\r\n050\r\n\r\nOK\r\n"},
      {"a value left out is 0", {"ATS0=3"}, "ATS0=S0?", "\r\n000\r\n\r\nOK\r\n"},
      {"a register the modem lacks", {}, "ATS99?", "\r\nERROR\r\n"},
      {"a value beyond a byte", {}, "ATS0=256", "\r\nERROR\r\n"},
      {"numeric result codes", {"ATV0"}, "AT", "0\r"},
      {"numeric: information without a CR LF first", {"ATV0"}, "AT+CSQ", "+CSQ: 17,99\r\n0\r"},
      {"numeric: an error", {"ATV0"}, "ATY", "4\r"},
      {"numeric: a named error keeps its words", {"ATV0"}, "AT+CPIN=1234", "+CME ERROR: 3\r\n"},
      {"quiet: no OK", {"ATQ1"}, "AT", ""},
      {"quiet: the information still comes", {"ATQ1"}, "AT+CSQ", "\r\n+CSQ: 17,99\r\n"},
      {"quiet ends", {"ATQ1"}, "ATQ0", "\r\nOK\r\n"},
      {"ATZ restores the words", {"ATV0Q1"}, "ATZ", "\r\nOK\r\n"},
      {"AT&F too", {"ATV0"}, "AT&F", "\r\nOK\r\n"},
      {"AT&W stores them", {"ATV0&W", "ATV1"}, "ATZ", "0\r"},
      {"ATZ restores the registers", {"ATS7=90"}, "ATZS7?", "\r\n030\r\n\r\nOK\r\n"},
      {"a profile other than 0", {}, "ATZ1", "\r\nERROR\r\n"},
  };
  for (const LineCase& c : cases) expectAnswer(c);
}

// What X chooses of the call results, with the data call outcomes of the far end.
TEST(SimulatedV250, ResultSetChoosesWhatADialSays) {
  struct Case {
    const char* x;
    DataDialOutcome outcome;
    const char* result;
  };
  const Case cases[] = {
      {"X4", DataDialOutcome::Connect, "\r\nCONNECT 9600\r\n"},
      {"X0", DataDialOutcome::Connect, "\r\nCONNECT\r\n"},
      {"X1", DataDialOutcome::Connect, "\r\nCONNECT 9600\r\n"},
      {"X4", DataDialOutcome::Busy, "\r\nBUSY\r\n"},
      {"X2", DataDialOutcome::Busy, "\r\nNO CARRIER\r\n"},
      {"X3", DataDialOutcome::Busy, "\r\nBUSY\r\n"},
      {"X4", DataDialOutcome::NoDialtone, "\r\nNO DIALTONE\r\n"},
      {"X2", DataDialOutcome::NoDialtone, "\r\nNO DIALTONE\r\n"},
      {"X3", DataDialOutcome::NoDialtone, "\r\nNO CARRIER\r\n"},
      {"X0", DataDialOutcome::NoDialtone, "\r\nNO CARRIER\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.x) + " " + std::to_string(static_cast<int>(c.outcome)));
    ModemConfig config;
    config.dataDialDefault = c.outcome;
    ModemBench b(config);
    b.say("AT" + std::string(c.x) + "\r");
    const std::string line = "ATD0301234\r";
    EXPECT_EQ(b.say(line, 9600, Millis(4000)), line + c.result);
  }
}

TEST(SimulatedV250, NumericResultsOfACall) {
  ModemBench b;
  b.say("ATV0\r");
  EXPECT_EQ(b.say("ATD0301234\r", 9600, Millis(4000)), "ATD0301234\r1\r");
  b.during(Millis(1100));
  EXPECT_EQ(b.say("+++", 9600, Millis(1100)), "0\r");
  EXPECT_EQ(b.say("ATH\r"), "ATH\r0\r");
}

TEST(SimulatedV250, NumericAndQuietRing) {
  ModemBench b;
  b.say("ATV0\r");
  ASSERT_TRUE(b.modem.incomingCall(1));
  EXPECT_EQ(b.during(Millis(100)), "\r\n+CRING: VOICE\r\n2\r");
  EXPECT_EQ(b.during(Millis(3100)), "3\r") << "NO CARRIER when the caller gives up";
  b.say("ATV1Q1\r");
  ASSERT_TRUE(b.modem.incomingCall(1));
  EXPECT_EQ(b.during(Millis(100)), "\r\n+CRING: VOICE\r\n");
}

TEST(SimulatedV250, AutoAnswerAfterTheRingsOfS0) {
  ModemBench b;
  b.say("ATS0=2\r");
  ASSERT_TRUE(b.modem.incomingCall(5));
  b.during(Millis(100));
  EXPECT_EQ(b.modem.callState(), CallState::Ringing);
  EXPECT_EQ(b.during(Millis(3000)), "\r\n+CRING: VOICE\r\n\r\nRING\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Active) << "taken at the second ring";
  EXPECT_EQ(b.during(Millis(10000)), "") << "no more rings";
}

// T and P pick tone or pulse dialling and the rest are pauses and waits: all are taken and
// the number called is the digits.
TEST(SimulatedV250, DialModifiers) {
  struct Case {
    const char* line;
    const char* called;
  };
  const Case cases[] = {
      {"ATDT0301234567", "0301234567"},    {"ATDP0301234567", "0301234567"},
      {"ATD0,301W234!567@", "0301234567"}, {"ATDT 030 1234567", "0301234567"},
      {"ATE1DT0301234567", "0301234567"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemBench b;
    const std::string line = std::string(c.line) + "\r";
    EXPECT_EQ(b.say(line, 9600, Millis(4000)), line + "\r\nCONNECT 9600\r\n");
    EXPECT_EQ(b.modem.dataCalledNumber(), c.called);
  }
  ModemBench b;
  EXPECT_EQ(b.say("ATDT0123456789;\r", 9600, Millis(5000)), "ATDT0123456789;\r\r\nOK\r\n");
  EXPECT_EQ(b.modem.calledNumber(), "0123456789");
}

// What a DTR drop does to a connected data call, as AT&D says; with &C0 carrier detect
// stays high with no call.
TEST(SimulatedV250, DtrAndCarrierDetect) {
  struct Case {
    const char* setting;
    const char* afterDrop;
    DataCallState call;
    bool online;
  };
  const Case cases[] = {
      {"AT&D2", "\r\nNO CARRIER\r\n", DataCallState::Idle, false},
      {"AT&D1", "\r\nOK\r\n", DataCallState::Connected, false},
      {"AT&D0", "", DataCallState::Connected, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    ModemBench b;
    b.say(std::string(c.setting) + "\r");
    ASSERT_EQ(b.say("ATD0123\r", 9600, Millis(3500)), "ATD0123\r\r\nCONNECT 9600\r\n");
    b.modem.setDtr(false);
    EXPECT_EQ(b.during(Millis(100)), c.afterDrop);
    b.modem.setDtr(true);
    EXPECT_EQ(b.modem.dataCallState(), c.call);
    EXPECT_EQ(b.modem.onlineDataMode(), c.online);
  }
  ModemBench b;
  EXPECT_FALSE(b.modem.carrierDetect());
  b.say("AT&C0\r");
  EXPECT_TRUE(b.modem.carrierDetect()) << "&C0: always on";
  b.say("AT&C1\r");
  EXPECT_FALSE(b.modem.carrierDetect());
}

// The profile survives a restart as stored; what was only set is gone.
TEST(SimulatedV250, RestartTakesTheStoredProfile) {
  ModemBench b;
  b.say("ATV0&W\r");
  b.say("ATV1Q1\r");
  b.say("&RESET\r", 9600, Millis(5000));
  EXPECT_EQ(b.say("AT\r"), "AT\r0\r");
}

}  // namespace
}  // namespace d7o::sim
