// Voice calls on the simulated modem: dialling out, ringing in, answering, hanging up.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using platform::Millis;

int count(const std::string& text, const std::string& word) {
  int n = 0;
  for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

TEST(SimulatedCalls, DialOutcomeComesAfterTheRingOut) {
  struct Case {
    DialOutcome outcome;
    const char* result;
    CallState after;
  };
  const Case cases[] = {
      {DialOutcome::Connected, "\r\nOK\r\n", CallState::Active},
      {DialOutcome::NoCarrier, "\r\nNO CARRIER\r\n", CallState::Idle},
      {DialOutcome::Busy, "\r\nBUSY\r\n", CallState::Idle},
      {DialOutcome::NoDialtone, "\r\nNO DIALTONE\r\n", CallState::Idle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    ModemConfig config;
    config.dialOutcome = c.outcome;
    ModemBench b(config);
    EXPECT_EQ(b.say("ATD0123456789;\r"), "ATD0123456789;\r") << "only the echo at first";
    EXPECT_EQ(b.modem.callState(), CallState::Dialling);
    EXPECT_EQ(b.during(Millis(2500)), "") << "still ringing out at 3.5 s";
    EXPECT_EQ(b.during(Millis(1000)), c.result);
    EXPECT_EQ(b.modem.callState(), c.after);
    EXPECT_EQ(b.modem.dialledNumber(), "0123456789");
  }
}

TEST(SimulatedCalls, RingOutDelayIsConfigurable) {
  ModemConfig config;
  config.ringOutDelay = Millis(200);
  ModemBench b(config);
  EXPECT_EQ(b.say("ATD0123;\r", 9600, Millis(500)), "ATD0123;\r\r\nOK\r\n");
}

TEST(SimulatedCalls, DialStrings) {
  struct Case {
    const char* line;
    bool accepted;
  };
  const Case cases[] = {
      {"ATD;\r", true},      {"ATD>5;\r", true},    {"atd+49 (30) 123-45;\r", true},
      {"ATD*100#;\r", true}, {"ATD01;3;\r", false}, {"ATD>;\r", false},
      {"ATD>X;\r", false},   {"ATD01?3;\r", false}, {"ATD>0;\r", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemBench b;
    const std::string got = b.say(c.line, 9600, Millis(6000));
    EXPECT_EQ(got.find("ERROR") == std::string::npos, c.accepted) << got;
    EXPECT_EQ(b.modem.callState(), c.accepted ? CallState::Active : CallState::Idle);
  }
}

TEST(SimulatedCalls, HangUpEndsTheCall) {
  ModemBench b;
  b.say("ATD0123;\r", 9600, Millis(6000));
  ASSERT_EQ(b.modem.callState(), CallState::Active);
  EXPECT_EQ(b.say("ATD0456;\r"), "ATD0456;\r\r\nERROR\r\n") << "one call at a time";
  EXPECT_EQ(b.say("ATH\r"), "ATH\r\r\nOK\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Idle);
  EXPECT_EQ(b.say("ATH\r"), "ATH\r\r\nOK\r\n") << "nothing to end is still fine";
}

TEST(SimulatedCalls, HangUpDuringTheRingOutCancelsTheDial) {
  ModemBench b;
  b.say("ATD0123;\r");
  EXPECT_EQ(b.say("ATH\r"), "ATH\r\r\nOK\r\n");
  EXPECT_EQ(b.during(Millis(10000)), "");
  EXPECT_EQ(b.modem.callState(), CallState::Idle);
}

TEST(SimulatedCalls, IncomingCallRingsEveryThreeSecondsUntilTheCallerGivesUp) {
  ModemBench b;
  ASSERT_TRUE(b.modem.incomingCall(3));
  EXPECT_EQ(b.modem.callState(), CallState::Ringing);
  EXPECT_EQ(b.during(Millis(100)), "\r\n+CRING: VOICE\r\n\r\nRING\r\n");
  EXPECT_EQ(b.during(Millis(2800)), "");
  EXPECT_EQ(b.during(Millis(200)), "\r\n+CRING: VOICE\r\n\r\nRING\r\n");
  const std::string rest = b.during(Millis(10000));
  EXPECT_EQ(count(rest, "+CRING: VOICE"), 1);
  EXPECT_EQ(count(rest, "\r\nRING\r\n"), 1);
  EXPECT_EQ(rest.substr(rest.size() - 14), "\r\nNO CARRIER\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Idle);
}

TEST(SimulatedCalls, AnsweredCallIsUpUntilTheFarEndHangsUp) {
  ModemBench b;
  ASSERT_TRUE(b.modem.incomingCall(5));
  b.during(Millis(100));
  EXPECT_EQ(b.say("ATA\r"), "ATA\r\r\nOK\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Active);
  EXPECT_EQ(b.during(Millis(20000)), "") << "no more rings once answered";
  EXPECT_FALSE(b.modem.incomingCall(1)) << "busy with a call";
  EXPECT_TRUE(b.modem.farEndHangUp());
  EXPECT_EQ(b.during(Millis(100)), "\r\nNO CARRIER\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Idle);
  EXPECT_FALSE(b.modem.farEndHangUp());
}

TEST(SimulatedCalls, HangUpRejectsARingingCall) {
  ModemBench b;
  ASSERT_TRUE(b.modem.incomingCall(5));
  b.during(Millis(100));
  EXPECT_EQ(b.say("ATH\r"), "ATH\r\r\nOK\r\n");
  EXPECT_EQ(b.during(Millis(20000)), "");
  EXPECT_EQ(b.modem.callState(), CallState::Idle);
}

TEST(SimulatedCalls, NothingToAnswer) {
  ModemBench b;
  EXPECT_EQ(b.say("ATA\r"), "ATA\r\r\nNO CARRIER\r\n");
  EXPECT_FALSE(b.modem.incomingCall(0));
  EXPECT_EQ(b.modem.callState(), CallState::Idle);
  b.modem.config().powered = false;
  EXPECT_FALSE(b.modem.incomingCall(3)) << "a switched-off modem does not ring";
}

TEST(SimulatedCalls, CallerLineIdentificationSettings) {
  struct Case {
    const char* line;
    const char* answer;
  };
  const Case cases[] = {
      {"AT+CLIP=?", "\r\n+CLIP: (0,1)\r\n\r\nOK\r\n"},
      {"AT+CLIP?", "\r\n+CLIP: 0,1\r\n\r\nOK\r\n"},
      {"AT+CLIP=1;+CLIP?", "\r\n+CLIP: 1,1\r\n\r\nOK\r\n"},
      {"AT+CLIP=1;+CLIP=0;+CLIP?", "\r\n+CLIP: 0,1\r\n\r\nOK\r\n"},
      {"AT+CLIP=2", "\r\nERROR\r\n"},
      {"AT+CLIP=", "\r\nERROR\r\n"},
      {"AT+CLIP=1,0", "\r\nERROR\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemBench b;
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
}

TEST(SimulatedCalls, EachRingShowsTheCallerOnceAskedTo) {
  struct Case {
    const char* name;
    bool clip;
    const char* caller;
    const char* rings;  // what each ring sends
  };
  const Case cases[] = {
      {"international", true, "+491711234567",
       "\r\n+CRING: VOICE\r\n\r\nRING\r\n\r\n+CLIP: \"+491711234567\",145\r\n"},
      {"national", true, "0301234567",
       "\r\n+CRING: VOICE\r\n\r\nRING\r\n\r\n+CLIP: \"0301234567\",129\r\n"},
      {"number not known", true, "", "\r\n+CRING: VOICE\r\n\r\nRING\r\n"},
      {"not asked for", false, "+491711234567", "\r\n+CRING: VOICE\r\n\r\nRING\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b;
    if (c.clip) b.say("AT+CLIP=1\r");
    ASSERT_TRUE(b.modem.incomingCall(2, c.caller));
    EXPECT_EQ(b.during(Millis(100)), c.rings);
    EXPECT_EQ(b.during(Millis(3000)), c.rings);
    EXPECT_EQ(b.during(Millis(3000)), "\r\nNO CARRIER\r\n");
  }
}

TEST(SimulatedCalls, CallerLineIdentificationIsLostWithARestart) {
  ModemBench b;
  b.say("AT+CLIP=1\r");
  b.say("&RESET\r", 9600, Millis(4000));
  EXPECT_EQ(b.say("AT+CLIP?\r"), "AT+CLIP?\r\r\n+CLIP: 0,1\r\n\r\nOK\r\n");
  ASSERT_TRUE(b.modem.incomingCall(1, "+491711234567"));
  EXPECT_EQ(count(b.during(Millis(100)), "+CLIP"), 0);
}

TEST(SimulatedCalls, NoCallBeforeTheNetwork) {
  ModemConfig config;
  config.pollsUntilRegistered = 2;
  ModemBench b(config);
  EXPECT_FALSE(b.modem.incomingCall(3, "+491711234567"));
  b.say("AT+CREG?\r");
  b.say("AT+CREG?\r");
  EXPECT_TRUE(b.modem.incomingCall(3, "+491711234567"));
}

}  // namespace
}  // namespace d7o::sim
