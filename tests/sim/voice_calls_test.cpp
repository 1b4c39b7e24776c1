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

}  // namespace
}  // namespace d7o::sim
