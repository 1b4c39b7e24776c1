// The simulated device restarts on "&RESET" and on a long BREAK.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using platform::Millis;

TEST(SimulatedRestart, ResetConfirmsThenGoesQuietForTheRestartTime) {
  ModemBench b;
  EXPECT_TRUE(b.modem.cts());
  EXPECT_EQ(b.say("&RESET\r", 9600, Millis(100)), "&RESET\r\r\n$CNFOK\r\n");
  EXPECT_EQ(b.modem.restarts(), 1);
  EXPECT_TRUE(b.modem.restarting());
  EXPECT_FALSE(b.modem.cts());
  EXPECT_EQ(b.say("AT\r", 9600, Millis(2000)), "") << "deaf while it starts";
  b.during(Millis(1000));
  EXPECT_TRUE(b.modem.cts());
  EXPECT_FALSE(b.modem.restarting());
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n");
}

TEST(SimulatedRestart, RestartTimeIsConfigurable) {
  ModemConfig config;
  config.restartTime = Millis(500);
  ModemBench b(config);
  b.say("&RESET\r", 9600, Millis(100));
  EXPECT_FALSE(b.modem.cts());
  b.during(Millis(500));
  EXPECT_TRUE(b.modem.cts());
}

TEST(SimulatedRestart, ForgetsWhatIsNotStored) {
  ModemConfig config;
  config.sim = SimCard::PinRequired;
  config.pollsUntilRegistered = 1;
  ModemBench b(config);
  b.say("AT+CPIN=5937\r");
  ASSERT_TRUE(b.modem.simUnlocked());
  EXPECT_EQ(b.say("AT+CREG?\r"), "AT+CREG?\r\r\n+CREG: 0,2\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CREG?\r"), "AT+CREG?\r\r\n+CREG: 0,1\r\n\r\nOK\r\n");
  b.say("ATE0\r");
  b.say("&CNF IGN,7\r");
  b.say("ATD0123;\r");
  b.modem.receive("&RESET\r", 9600);
  b.modem.receive("AT+CS", 9600);  // half typed when the device goes down
  b.during(Millis(4000));
  EXPECT_FALSE(b.modem.simUnlocked());
  EXPECT_EQ(b.modem.callState(), CallState::Idle);
  EXPECT_EQ(b.during(Millis(10000)), "") << "the call's result is lost with it";
  EXPECT_EQ(b.say("Q\r"), "Q\r") << "the half line is gone; echo is back on";
  EXPECT_EQ(b.say("AT+CPIN?\r"), "AT+CPIN?\r\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CREG?\r"), "AT+CREG?\r\r\n+CREG: 0,2\r\n\r\nOK\r\n")
      << "registration is counted afresh";
  EXPECT_EQ(b.modem.device().ignitionMinutes, 7) << "the device keeps its configuration";
}

TEST(SimulatedRestart, LongBreakRestartsShortBreakDoesNot) {
  ModemBench b;
  b.modem.setBreak(true);
  b.during(Millis(100));
  b.modem.setBreak(false);
  EXPECT_EQ(b.modem.restarts(), 0);
  EXPECT_TRUE(b.modem.cts());
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n");

  b.modem.setBreak(true);
  b.during(Millis(250));
  b.modem.setBreak(false);
  EXPECT_EQ(b.modem.restarts(), 1);
  EXPECT_FALSE(b.modem.cts());
  EXPECT_EQ(b.during(Millis(3000)), "") << "a restart announces nothing";
  EXPECT_TRUE(b.modem.cts());
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n");
}

TEST(SimulatedRestart, BreakSpoilsAHalfLine) {
  ModemBench b;
  b.modem.receive("AT+CS", 9600);
  b.modem.setBreak(true);
  b.modem.setBreak(false);
  EXPECT_EQ(b.say("Q\r"), "Q\r");
}

TEST(SimulatedRestart, SwitchedOffModemIgnoresBreak) {
  ModemConfig config;
  config.powered = false;
  ModemBench b(config);
  b.modem.setBreak(true);
  b.during(Millis(1000));
  b.modem.setBreak(false);
  EXPECT_EQ(b.modem.restarts(), 0);
}

TEST(SimulatedRestart, ThroughTheInProcessPort) {
  test::VirtualScheduler scheduler;
  SchedulerClock clock{scheduler};
  ModemEngine modem(clock, {});
  SimulatedPort port(scheduler, modem);
  ASSERT_FALSE(port.open());
  port.setBreak(true);
  scheduler.runFor(Millis(300));
  port.setBreak(false);
  EXPECT_EQ(modem.restarts(), 1);
  EXPECT_FALSE(port.ctsHolding());
  scheduler.runFor(Millis(3000));
  EXPECT_TRUE(port.ctsHolding());
}

}  // namespace
}  // namespace d7o::sim
