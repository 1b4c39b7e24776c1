// Incoming messages on the simulated modem: stored and announced with "+CMTI", shown with
// "+CMT", kept back by AT+CNMI, held by the centre while the store is full.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using platform::Millis;

TEST(SimulatedSmsIncoming, StoredAndAnnounced) {
  ModemBench b;
  b.during(Millis(90'000));
  const SmsDelivery d = b.modem.deliverSms("+491711234567", "Hello");
  EXPECT_EQ(d.arrival, SmsArrival::Stored);
  EXPECT_EQ(d.index, 1);
  EXPECT_EQ(b.during(Millis(100)), "\r\n+CMTI: \"SM\",1\r\n");
  // The program reads the position it was told, the former line end as two blanks.
  EXPECT_EQ(b.say("AT+CMGR=1  \r"),
            "AT+CMGR=1  \r\r\n+CMGR: \"REC UNREAD\",\"+491711234567\",,\"26/12/09,14:06:30+04\""
            "\r\nHello\r\n\r\nOK\r\n")
      << "the centre's time stamp counts on from power-on";
  EXPECT_EQ(b.modem.deliverSms("0301234", "Next").index, 2) << "the first free position";
}

TEST(SimulatedSmsIncoming, IndicationsAsChosen) {
  struct Case {
    const char* setting;
    SmsArrival arrival;
    const char* shown;
  };
  const Case cases[] = {
      {"AT+CNMI=2,1,0,0,0", SmsArrival::Stored, "\r\n+CMTI: \"SM\",1\r\n"},
      {"AT+CNMI=1,3", SmsArrival::Stored, "\r\n+CMTI: \"SM\",1\r\n"},
      {"AT+CNMI=1,0", SmsArrival::Stored, ""},
      {"AT+CNMI=1,2", SmsArrival::Forwarded,
       "\r\n+CMT: \"+4917\",,\"26/12/09,14:05:01+04\"\r\nHi\r\n"},
      {"AT+CMGF=0;+CNMI=1,2", SmsArrival::Forwarded,
       "\r\n+CMT: ,17\r\n0791947101670000040491947100006221904150104002C834\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    ModemBench b;
    b.say(std::string(c.setting) + "\r");  // a second passes
    EXPECT_EQ(b.modem.deliverSms("+4917", "Hi").arrival, c.arrival);
    EXPECT_EQ(b.during(Millis(100)), c.shown);
    EXPECT_EQ(b.modem.smsStore().used(), c.arrival == SmsArrival::Stored ? 1 : 0);
  }
}

TEST(SimulatedSmsIncoming, ModeZeroKeepsIndicationsUntilTheProgramAsks) {
  ModemBench b;
  b.say("AT+CNMI=0,1\r");
  b.modem.deliverSms("+4917", "one");
  b.modem.deliverSms("+4917", "two");
  EXPECT_EQ(b.during(Millis(1000)), "");
  EXPECT_EQ(b.say("AT+CNMI=1,1\r"),
            "AT+CNMI=1,1\r\r\nOK\r\n\r\n+CMTI: \"SM\",1\r\n\r\n+CMTI: \"SM\",2\r\n");

  ModemBench dropped;
  dropped.say("AT+CNMI=0,1\r");
  dropped.modem.deliverSms("+4917", "one");
  EXPECT_EQ(dropped.say("AT+CNMI=1,1,0,0,1\r"), "AT+CNMI=1,1,0,0,1\r\r\nOK\r\n");
  EXPECT_EQ(dropped.modem.smsStore().used(), 1) << "only the indication is dropped";
}

TEST(SimulatedSmsIncoming, AFullStoreLeavesTheMessageWithTheCentre) {
  ModemConfig config;
  config.smsStoreSize = 1;
  ModemBench b(config);
  ASSERT_EQ(b.modem.deliverSms("+4917", "first").arrival, SmsArrival::Stored);
  b.during(Millis(100));
  EXPECT_EQ(b.modem.deliverSms("+4917", "second").arrival, SmsArrival::Waiting);
  EXPECT_EQ(b.during(Millis(1000)), "") << "nothing to announce";
  EXPECT_EQ(b.modem.smsWaiting(), 1u);
  EXPECT_EQ(b.say("AT+CMGD=1\r"), "AT+CMGD=1\r\r\nOK\r\n\r\n+CMTI: \"SM\",1\r\n")
      << "the room is taken at once";
  EXPECT_EQ(b.modem.smsStore().at(1)->text, "second");
  EXPECT_EQ(b.modem.smsWaiting(), 0u);
}

TEST(SimulatedSmsIncoming, HeldBackWhileAMessageIsTyped) {
  ModemBench b;
  b.say("AT+CMGS=\"0123\"\r");
  b.modem.deliverSms("+4917", "meanwhile");
  EXPECT_EQ(b.during(Millis(1000)), "") << "not into the middle of the text";
  EXPECT_EQ(b.say("out\x1a", 9600, Millis(2000)),
            "out\x1a\r\n+CMGS: 1\r\n\r\nOK\r\n\r\n+CMTI: \"SM\",1\r\n");
}

TEST(SimulatedSmsIncoming, RefusedWhenNoneCanArrive) {
  struct Case {
    const char* name;
    ModemConfig config;
    const char* from;
    std::string text;
  };
  ModemConfig off;
  off.powered = false;
  ModemConfig locked;
  locked.sim = SimCard::PinRequired;
  ModemConfig searching;
  searching.pollsUntilRegistered = -1;
  const Case cases[] = {
      {"switched off", off, "+4917", "x"},
      {"SIM locked", locked, "+4917", "x"},
      {"no network", searching, "+4917", "x"},
      {"a name is no number here", {}, "Bank", "x"},
      {"more than one message", {}, "+4917", std::string(161, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b(c.config);
    EXPECT_EQ(b.modem.deliverSms(c.from, c.text).arrival, SmsArrival::Refused);
    EXPECT_EQ(b.during(Millis(100)), "");
    EXPECT_EQ(b.modem.smsStore().used(), 0);
  }
}

TEST(SimulatedSmsIncoming, RestartForgetsSettingsNotTheSim) {
  ModemBench b;
  b.say("AT+CMGF=0;+CNMI=1,0\r");
  b.modem.deliverSms("+4917", "kept");
  b.modem.setBreak(true);
  b.during(ModemEngine::kLongBreak);
  b.modem.setBreak(false);
  b.during(b.modem.config().restartTime + Millis(100));
  EXPECT_EQ(b.say("AT+CMGF?;+CNMI?\r"),
            "AT+CMGF?;+CNMI?\r\r\n+CMGF: 1\r\n\r\n+CNMI: 1,1,0,0,0\r\n\r\nOK\r\n");
  EXPECT_EQ(b.modem.smsStore().used(), 1);
}

}  // namespace
}  // namespace d7o::sim
