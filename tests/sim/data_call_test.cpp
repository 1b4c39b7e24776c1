// Data calls on the simulated modem: dialling the remote R7O-3 device, online data mode
// with the device's answers and NMEA stream coming back, the "+++" escape, "ATO", hanging
// up from either end.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"
#include "sim/nmea_check.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace d7o::sim {
namespace {

using platform::Millis;
using test_nmea::checksumValid;
using test_nmea::fieldsOf;
using test_nmea::linesOf;
using test_nmea::sentences;

const std::string kConnect = "\r\nCONNECT 9600\r\n";

// Dials "0123" and waits for the connection.
void connect(ModemBench& b) {
  ASSERT_EQ(b.say("ATD0123\r", 9600, Millis(3500)), "ATD0123\r" + kConnect);
  ASSERT_TRUE(b.modem.onlineDataMode());
}

// A second of silence, "+++", a second of silence: command mode. What the remote device
// sent until then may still come before the "OK".
void escape(ModemBench& b) {
  b.during(Millis(1100));
  ASSERT_TRUE(b.say("+++", 9600, Millis(1100)).ends_with("\r\nOK\r\n"));
  ASSERT_FALSE(b.modem.onlineDataMode());
}

// On to the middle of a second: a second's sentences, sent on the whole second, are through.
void toMidSecond(ModemBench& b) {
  const long long ms = b.clock.now().count() % 1000;
  b.during(Millis((ms < 500 ? 500 : 1500) - ms));
}

// The remote device's lines, the ones the program sent over the link.
std::vector<std::string> remoteLines(const ModemBench& b) {
  return b.modem.remoteDevice().lines();
}

TEST(SimulatedDataCall, OutcomeComesAfterItsDelayWithCarrierDetect) {
  struct Case {
    DataDialOutcome outcome;
    Millis quietFor;  // from the command line, nothing but its echo
    const char* result;
    bool connected;
  };
  const Case cases[] = {
      {DataDialOutcome::Connect, Millis(2900), "\r\nCONNECT 9600\r\n", true},
      {DataDialOutcome::Busy, Millis(1400), "\r\nBUSY\r\n", false},
      {DataDialOutcome::NoDialtone, Millis(1400), "\r\nNO DIALTONE\r\n", false},
      {DataDialOutcome::NoAnswer, Millis(29900), "\r\nNO CARRIER\r\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    ModemConfig config;
    config.dataDialOutcomes["0123456"] = c.outcome;
    ModemBench b(config);
    EXPECT_EQ(b.say("ATD0123456\r", 9600, Millis(100)), "ATD0123456\r") << "no OK at once";
    EXPECT_EQ(b.modem.dataCallState(), DataCallState::Dialling);
    EXPECT_FALSE(b.modem.carrierDetect());
    EXPECT_EQ(b.during(c.quietFor - Millis(100)), "");
    EXPECT_FALSE(b.modem.carrierDetect()) << "no carrier while dialling";
    EXPECT_EQ(b.during(Millis(300)), c.result);
    EXPECT_EQ(b.modem.carrierDetect(), c.connected);
    EXPECT_EQ(b.modem.dataCallUp(), c.connected);
    EXPECT_EQ(b.modem.onlineDataMode(), c.connected);
    EXPECT_EQ(b.modem.dataDialledNumber(), "0123456");
    EXPECT_EQ(b.modem.callState(), CallState::Idle) << "no voice call";
  }
}

TEST(SimulatedDataCall, DelaysAreConfigurable) {
  ModemConfig config;
  config.dataConnectDelay = Millis(500);
  ModemBench b(config);
  EXPECT_EQ(b.say("ATD0123\r", 9600, Millis(600)), "ATD0123\r" + kConnect);
}

TEST(SimulatedDataCall, OutcomeByTheNumberDialledOrCalled) {
  struct Case {
    const char* line;
    const char* result;
  };
  const Case cases[] = {
      {"ATD0301234567\r", "\r\nNO DIALTONE\r\n"},
      {"ATD 0301-234 567\r", "\r\nNO DIALTONE\r\n"},  // separators count for nothing
      {"ATD>5\r", "\r\nNO DIALTONE\r\n"},             // position 5 holds 0301234567
      {"ATD>2\r", "\r\nCONNECT 9600\r\n"},            // by its own entry
      {"ATD0999\r", "\r\nBUSY\r\n"},                  // the default
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemConfig config;
    config.dataDialDefault = DataDialOutcome::Busy;
    config.dataDialOutcomes["0301234567"] = DataDialOutcome::NoDialtone;
    config.dataDialOutcomes[">2"] = DataDialOutcome::Connect;
    ModemBench b(config);
    const std::string got = b.say(c.line, 9600, Millis(3500));
    EXPECT_EQ(got.substr(got.find('\r') + 1), c.result);
  }
}

TEST(SimulatedDataCall, BadDialStringsAreRefused) {
  for (const char* line : {"ATD\r", "ATD01?3\r", "ATD>0\r", "ATD>9\r"}) {
    SCOPED_TRACE(line);
    ModemBench b;
    const std::string got = b.say(line, 9600, Millis(4000));
    EXPECT_NE(got.find("ERROR"), std::string::npos) << got;
    EXPECT_EQ(b.modem.dataCallState(), DataCallState::Idle);
  }
}

TEST(SimulatedDataCall, LinesReachTheRemoteDeviceAndItsAnswersComeBack) {
  ModemConfig config;
  config.remoteFirmware = "V2.01";
  ModemBench b(config);
  connect(b);
  const std::size_t commands = b.modem.commandLog().size();
  struct Step {
    const char* line;
    const char* answer;
  };
  const Step steps[] = {
      {"&CNF GPS,GPGGA,100\r", "\r\n$CNFOK\r\n"},
      {"&CNF GPS,GPXXX,100\r", "\r\n$ERROR\r\n"},
      {"&REQ TM\r", "\r\n$TARVIK R7O-3 Alarm/GPS V2.01\r\n"},
      {"&PASS,secret,0000\r", "\r\n$CNFOK\r\n"},
      {"ATI\r", ""},  // no modem command online, and not the firmware's
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.line);
    EXPECT_EQ(b.say(s.line), s.answer) << "no echo online";
  }
  EXPECT_EQ(b.modem.remoteDevice().state().gpsSentences, std::vector<std::string>{"GPGGA"});
  EXPECT_EQ(b.modem.remoteDevice().state().password, "secret");
  EXPECT_EQ(b.modem.device().gpsSentences.size(), 4u) << "the local device is untouched";
  EXPECT_EQ(b.modem.device().password, "0000");
  EXPECT_EQ(b.modem.commandLog().size(), commands) << "the local modem read no command";
  EXPECT_EQ(remoteLines(b).back(), "ATI");
}

TEST(SimulatedDataCall, AnswersComeAtTheLinkRate) {
  ModemConfig config;
  config.baud = 115200;
  ModemBench b(config);
  ASSERT_EQ(b.say("ATD0123\r", 115200, Millis(3500)), "ATD0123\r" + kConnect);
  // 35 characters of ten bits at the connection's 9600 baud, after the device's 30 ms.
  b.modem.receive("&REQ TM\r", 115200);
  EXPECT_EQ(b.during(Millis(55)), "") << "not at the program's 115200 baud";
  EXPECT_EQ(b.during(Millis(30)), "\r\n$TARVIK R7O-3 Alarm/GPS V1.63\r\n");
}

TEST(SimulatedDataCall, PositionRequestGivesTheRemoteDevicesPosition) {
  ModemBench b;
  connect(b);
  const std::string got = b.say("&REQ POS\r");
  const std::vector<std::string> lines = linesOf(got);
  ASSERT_EQ(lines.size(), 2u) << got;
  ASSERT_TRUE(checksumValid(lines[0])) << lines[0];
  const std::vector<std::string> f = fieldsOf(lines[0]);
  ASSERT_EQ(f[0], "$GPRMC");
  EXPECT_EQ(f[2], "A") << "the remote receiver has its fix";
  EXPECT_EQ(f[3].substr(0, 4), "3351");
  EXPECT_EQ(f[4], "S");
  EXPECT_EQ(f[5].substr(0, 5), "15112");
  EXPECT_EQ(f[6], "E");
  EXPECT_EQ(lines[1], "$CNFOK");
  EXPECT_EQ(b.modem.device().positionRequests, 0);
  EXPECT_EQ(b.modem.remoteDevice().state().positionRequests, 1);
}

TEST(SimulatedDataCall, RemoteStreamCarriesTheSentencesItsDeviceChose) {
  ModemConfig config;
  config.remoteLatitude = 40.0;
  config.remoteLongitude = -74.0;
  ModemBench b(config);
  connect(b);
  EXPECT_EQ(b.say("&REQ INT\r", 9600, Millis(50)), "\r\n$CNFOK\r\n");
  const std::string all = b.during(Millis(3000));
  for (const char* type : {"$GPGGA", "$GPGSV", "$GPRMC", "$GPGSA"}) {
    EXPECT_EQ(sentences(all, type).size() >= 2, true) << type;
  }
  for (const std::string& gga : sentences(all, "$GPGGA")) {
    EXPECT_TRUE(checksumValid(gga)) << gga;
    EXPECT_EQ(fieldsOf(gga)[2].substr(0, 2), "40");
    EXPECT_EQ(fieldsOf(gga)[5], "W");
  }

  toMidSecond(b);
  b.say("&CNF GPS,GPGGA,100\r", 9600, Millis(0));
  const std::string chosen = b.during(Millis(3000));
  for (const std::string& line : linesOf(chosen)) {
    if (line.empty()) continue;
    EXPECT_TRUE(line.starts_with("$GPGGA,") || line == "$CNFOK") << line;
  }
  EXPECT_GE(sentences(chosen, "$GPGGA").size(), 2u);

  EXPECT_EQ(b.say("&CNF GPS,,100\r"), "\r\n$CNFOK\r\n");
  EXPECT_EQ(b.during(Millis(3000)), "") << "no sentences chosen, none sent";
}

TEST(SimulatedDataCall, LocalStreamStaysOffTheLineDuringTheCall) {
  ModemConfig config;
  config.nmeaFromPowerOn = true;
  ModemBench b(config);
  EXPECT_FALSE(sentences(b.during(Millis(2000)), "$GPGGA").empty());
  b.modem.receive("ATD0123\r", 9600);
  b.scheduler.runUntil([&b] { return b.modem.dataCallUp(); }, Millis(5000));
  b.during(Millis(1000));  // the second's sentences already on the line, and "CONNECT"
  EXPECT_EQ(b.during(Millis(5000)), "");
  escape(b);
  EXPECT_EQ(b.during(Millis(3000)), "") << "nor in command mode during the call";
  EXPECT_TRUE(b.say("ATH\r", 9600, Millis(100)).starts_with("ATH\r\r\nOK\r\n"));
  EXPECT_FALSE(sentences(b.during(Millis(2000)), "$GPGGA").empty()) << "back once it ended";
}

TEST(SimulatedDataCall, EscapeWithGuardTimesThenHangUp) {
  ModemBench b;
  connect(b);
  b.during(Millis(1500));
  // The program's way: "+++", two seconds, "ATH".
  EXPECT_EQ(b.say("+++", 9600, Millis(900)), "") << "not before the guard time";
  EXPECT_EQ(b.during(Millis(1100)), "\r\nOK\r\n");
  EXPECT_TRUE(b.modem.dataCallUp());
  EXPECT_FALSE(b.modem.onlineDataMode());
  EXPECT_TRUE(b.modem.carrierDetect()) << "the call is still up";
  EXPECT_EQ(b.say("ATH\r"), "ATH\r\r\nOK\r\n");
  EXPECT_FALSE(b.modem.carrierDetect());
  EXPECT_FALSE(b.modem.dataCallUp());
  EXPECT_EQ(b.modem.dataCallState(), DataCallState::Idle);
  EXPECT_TRUE(remoteLines(b).empty()) << "the escape never reached the remote device";
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n");
}

TEST(SimulatedDataCall, CommandModeDuringTheCallAnswersAsUsual) {
  ModemBench b;
  connect(b);
  escape(b);
  EXPECT_EQ(b.say("AT+CSQ\r"), "AT+CSQ\r\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("ATE0\r"), "ATE0\r\r\nOK\r\n");
  EXPECT_EQ(b.say("AT\r"), "\r\nOK\r\n");
  EXPECT_TRUE(b.modem.carrierDetect());
}

TEST(SimulatedDataCall, OnlineAgainAfterTheEscape) {
  ModemBench b;
  connect(b);
  EXPECT_EQ(b.say("&REQ INT\r", 9600, Millis(50)), "\r\n$CNFOK\r\n");
  escape(b);
  EXPECT_EQ(linesOf(b.during(Millis(3000))).size(), 0u) << "the stream waits in the modem";
  const std::string back = b.say("ATO\r", 9600, Millis(2000));
  ASSERT_TRUE(back.starts_with("ATO\r" + kConnect)) << back;
  EXPECT_TRUE(back.find("$GPGGA", 4) != std::string::npos) << "then what came meanwhile";
  EXPECT_TRUE(b.modem.onlineDataMode());
  EXPECT_EQ(b.say("&CNF GPS,,100\r", 9600, Millis(3000)).find("$CNFOK") != std::string::npos, true);
  EXPECT_EQ(b.say("&REQ TM\r"), "\r\n$TARVIK R7O-3 Alarm/GPS V1.63\r\n")
      << "nothing of the escape before the line";
}

TEST(SimulatedDataCall, PlusesWithoutTheGuardTimesAreData) {
  struct Case {
    const char* name;
    Millis before;      // silence before the first byte
    const char* bytes;  // then these at once
    Millis between;
    const char* more;  // and these after `between`
    const char* line;  // what the remote device takes, its line ended by CR
  };
  const Case cases[] = {
      {"no silence before", Millis(300), "+++", Millis(1500), "\r", "+++"},
      {"a byte right after", Millis(1500), "+++", Millis(500), "x\r", "+++x"},
      {"a fourth plus", Millis(1500), "++++", Millis(1500), "\r", "++++"},
      {"a byte right before", Millis(1500), "a+++", Millis(1500), "\r", "a+++"},
      {"a slow third plus", Millis(1500), "++", Millis(1200), "+\r", "+++"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b;
    connect(b);
    b.during(c.before);
    EXPECT_EQ(b.say(c.bytes, 9600, c.between), "");
    EXPECT_EQ(b.say(c.more, 9600, Millis(1500)), "");
    EXPECT_TRUE(b.modem.onlineDataMode());
    ASSERT_FALSE(remoteLines(b).empty());
    EXPECT_EQ(remoteLines(b).back(), c.line);
  }
}

TEST(SimulatedDataCall, OnlineWithoutACallIsNoCarrier) {
  ModemBench b;
  EXPECT_EQ(b.say("ATO\r"), "ATO\r\r\nNO CARRIER\r\n");
}

TEST(SimulatedDataCall, RemoteHangUpIsNoCarrier) {
  ModemBench b;
  connect(b);
  EXPECT_TRUE(b.modem.remoteHangUp());
  EXPECT_FALSE(b.modem.carrierDetect()) << "at once";
  EXPECT_EQ(b.during(Millis(100)), "\r\nNO CARRIER\r\n");
  EXPECT_FALSE(b.modem.dataCallUp());
  EXPECT_FALSE(b.modem.remoteHangUp()) << "nothing left to hang up";
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n") << "command mode";
}

TEST(SimulatedDataCall, RemoteHangUpAfterWhatItSent) {
  ModemBench b;
  connect(b);
  b.modem.receive("&REQ CNF\r", 9600);
  b.during(Millis(40));
  EXPECT_TRUE(b.modem.remoteHangUp());
  const std::string got = b.during(Millis(2000));
  EXPECT_EQ(got.substr(got.size() - 24), "\r\n$CNFOK\r\n\r\nNO CARRIER\r\n");
}

TEST(SimulatedDataCall, RemoteRestartEndsTheCall) {
  ModemBench b;
  connect(b);
  EXPECT_EQ(b.say("&RESET\r"), "\r\n$CNFOK\r\n\r\nNO CARRIER\r\n");
  EXPECT_FALSE(b.modem.carrierDetect());
  EXPECT_EQ(b.modem.restarts(), 0) << "the local device goes on";
}

TEST(SimulatedDataCall, HangUpFromCommandModeWhileEscaped) {
  ModemBench b;
  connect(b);
  escape(b);
  EXPECT_TRUE(b.modem.remoteHangUp());
  EXPECT_EQ(b.during(Millis(100)), "\r\nNO CARRIER\r\n");
  EXPECT_FALSE(b.modem.carrierDetect());
}

TEST(SimulatedDataCall, OneCallAtATime) {
  for (const char* line : {"ATD0456\r", "ATD0456;\r"}) {
    SCOPED_TRACE(line);
    ModemBench b;
    connect(b);
    escape(b);
    EXPECT_EQ(b.say(line, 9600, Millis(5000)), std::string(line) + "\r\nERROR\r\n");
    EXPECT_EQ(b.modem.dataDialledNumber(), "0123");
    EXPECT_TRUE(b.modem.dataCallUp());
    EXPECT_FALSE(b.modem.incomingCall(2)) << "no ringing into a data call";
  }
  ModemBench voice;
  voice.say("ATD0123;\r", 9600, Millis(5000));
  EXPECT_EQ(voice.say("ATD0456\r"), "ATD0456\r\r\nERROR\r\n") << "nor during a voice call";
}

TEST(SimulatedDataCall, VoiceDialIsUnchanged) {
  ModemBench b;
  EXPECT_EQ(b.say("ATD0123;\r", 9600, Millis(3500)), "ATD0123;\r");
  EXPECT_EQ(b.during(Millis(1000)), "\r\nOK\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Active);
  EXPECT_EQ(b.modem.dataCallState(), DataCallState::Idle);
  EXPECT_FALSE(b.modem.carrierDetect());
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n") << "still in command mode";
}

// V.250: any character from the program while a call is dialled aborts it with "NO
// CARRIER"; the aborting line is gone, and the modem is in command mode at once.
TEST(SimulatedDataCall, AnyCharacterWhileDiallingAbortsTheCall) {
  for (const char* abort : {"ATH\r", "+++", "ATD0456\r", "x"}) {
    SCOPED_TRACE(abort);
    ModemBench b;
    b.say("ATD0123\r", 9600, Millis(500));
    EXPECT_EQ(b.say(abort), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(b.during(Millis(5000)), "") << "the far end never connects";
    EXPECT_FALSE(b.modem.carrierDetect());
    EXPECT_EQ(b.modem.dataCallState(), DataCallState::Idle);
    EXPECT_EQ(b.say("ATH\r"), "ATH\r\r\nOK\r\n");
  }
}

TEST(SimulatedDataCall, DtrDropHangsUp) {
  for (const bool hangsUp : {true, false}) {
    SCOPED_TRACE(hangsUp);
    ModemConfig config;
    config.dtrDropHangsUp = hangsUp;
    ModemBench b(config);
    connect(b);
    b.modem.setDtr(false);
    EXPECT_EQ(b.during(Millis(100)), hangsUp ? "\r\nNO CARRIER\r\n" : "");
    EXPECT_EQ(b.modem.carrierDetect(), !hangsUp);
    b.modem.setDtr(true);
  }
}

TEST(SimulatedDataCall, RestartOrPowerOffEndsTheCall) {
  {
    ModemBench b;
    connect(b);
    escape(b);
    EXPECT_EQ(b.say("&RESET\r", 9600, Millis(100)), "&RESET\r\r\n$CNFOK\r\n");
    EXPECT_FALSE(b.modem.carrierDetect());
    EXPECT_EQ(b.modem.dataCallState(), DataCallState::Idle);
  }
  {
    ModemBench b;
    connect(b);
    b.modem.config().powered = false;
    EXPECT_FALSE(b.modem.carrierDetect());
    b.during(Millis(500));
    b.modem.config().powered = true;
    EXPECT_EQ(b.modem.dataCallState(), DataCallState::Idle) << "no call after power-on";
    EXPECT_FALSE(b.modem.carrierDetect());
    EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n");
  }
}

TEST(SimulatedDataCall, MessageIndicationWaitsForCommandMode) {
  ModemBench b;
  connect(b);
  EXPECT_EQ(b.modem.deliverSms("+4930123", "Alarm").arrival, SmsArrival::Stored);
  EXPECT_EQ(b.during(Millis(1500)), "") << "not into the connection's data";
  EXPECT_EQ(b.say("+++", 9600, Millis(1100)), "\r\nOK\r\n\r\n+CMTI: \"SM\",1\r\n");
}

TEST(SimulatedDataCall, RemoteDeviceKeepsItsSettingsButNotItsStream) {
  ModemBench b;
  connect(b);
  b.say("&CNF GPS,GPRMC,100\r");
  b.say("&REQ INT\r");
  EXPECT_TRUE(b.modem.remoteHangUp());
  b.during(Millis(2000));
  connect(b);
  EXPECT_EQ(b.during(Millis(3000)), "") << "a new call asks for the stream again";
  EXPECT_EQ(b.modem.remoteDevice().state().gpsSentences, std::vector<std::string>{"GPRMC"});
}

TEST(SimulatedDataCall, CallEventsAreLogged) {
  ModemBench b;
  std::vector<std::string> log;
  b.modem.setCallLog([&log](std::string_view m) { log.emplace_back(m); });
  connect(b);
  escape(b);
  b.say("ATH\r");
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "data call to 0123 dialled");
  EXPECT_EQ(log[1], "data call to 0123 connected (CONNECT 9600)");
  EXPECT_EQ(log[2], "data call to 0123: command mode (+++)");
  EXPECT_EQ(log[3], "data call to 0123 ended: hung up (ATH)");
}

}  // namespace
}  // namespace d7o::sim
