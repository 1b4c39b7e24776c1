// Sending with AT+CMGS on the simulated modem: the prompt, the echo of what follows it, the
// network's reference, and what is no message; in text mode and as the program sends PDUs.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using platform::Millis;

constexpr Millis kSendWait{2000};  // the network's time and more
// An SMS-SUBMIT without its own centre to national 0123456789, "test" in the default
// alphabet, reference 0 (the modem chooses): 17 octets after the "00" centre part.
constexpr const char* kTestPdu = "0011000A8110325476980000A704F4F29C0E";

TEST(SimulatedSmsSending, TextModeAsTheProgramSendsIt) {
  ModemBench b;
  EXPECT_EQ(b.say("AT+CMGF=1;+CNMI=1,1,0,0,0\r"), "AT+CMGF=1;+CNMI=1,1,0,0,0\r\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGS=\"0123456789\"\r"), "AT+CMGS=\"0123456789\"\r\r\n> ");
  EXPECT_TRUE(b.modem.awaitingSmsText());
  EXPECT_EQ(b.say("Test-SMS\x1a", 9600, Millis(500)), "Test-SMS\x1a")
      << "the echo at once, the network's answer later";
  EXPECT_EQ(b.during(Millis(1000)), "\r\n+CMGS: 1\r\n\r\nOK\r\n");
  EXPECT_FALSE(b.modem.awaitingSmsText());
  ASSERT_EQ(b.modem.sentSms().size(), 1u);
  const SentSms& sent = b.modem.sentSms()[0];
  EXPECT_EQ(sent.number, "0123456789");
  EXPECT_EQ(sent.text, "Test-SMS");
  EXPECT_EQ(sent.messageReference, 1);
  EXPECT_FALSE(sent.pduMode);
  EXPECT_EQ(sent.pdu, "079194710167000011010A8110325476980000A708D4F29CDE9A36A7");

  b.say("AT+CMGS=\"+491711234567\"\r");
  EXPECT_EQ(b.say("again\x1a", 9600, kSendWait), "again\x1a\r\n+CMGS: 2\r\n\r\nOK\r\n");
  EXPECT_EQ(b.modem.sentSms()[1].number, "+491711234567");
  EXPECT_EQ(b.say("AT\r"), "AT\r\r\nOK\r\n") << "back to commands";
}

TEST(SimulatedSmsSending, PduModeAsTheProgramSendsIt) {
  ModemBench b;
  b.say("AT+CMGF=0\r");
  // The program ends this line with two CRs; the second one is no part of the PDU.
  EXPECT_EQ(b.say("AT+CMGS=17\r\r"), "AT+CMGS=17\r\r\n> \r");
  EXPECT_EQ(b.say(std::string(kTestPdu) + "\x1a", 9600, kSendWait),
            std::string(kTestPdu) + "\x1a\r\n+CMGS: 1\r\n\r\nOK\r\n");
  ASSERT_EQ(b.modem.sentSms().size(), 1u);
  const SentSms& sent = b.modem.sentSms()[0];
  EXPECT_EQ(sent.number, "0123456789");
  EXPECT_EQ(sent.text, "test");
  EXPECT_EQ(sent.pdu, kTestPdu);
  EXPECT_TRUE(sent.pduMode);
}

TEST(SimulatedSmsSending, CommandLineAndTextInOneWrite) {
  ModemBench b;
  b.say("AT+CMGF=0\r");
  EXPECT_EQ(b.say("AT+CMGS=17\r\r" + std::string(kTestPdu) + "\x1a", 9600, kSendWait),
            "AT+CMGS=17\r\r\n> \r" + std::string(kTestPdu) + "\x1a\r\n+CMGS: 1\r\n\r\nOK\r\n")
      << "the echo of the text never overtakes the prompt";
}

TEST(SimulatedSmsSending, AReferenceInThePduIsKept) {
  ModemBench b;
  b.say("AT+CMGF=0\r");
  b.say("AT+CMGS=17\r");
  EXPECT_EQ(b.say("00112A0A8110325476980000A704F4F29C0E\x1a", 9600, kSendWait),
            "00112A0A8110325476980000A704F4F29C0E\x1a\r\n+CMGS: 42\r\n\r\nOK\r\n");
}

TEST(SimulatedSmsSending, EscapeCancels) {
  ModemBench b;
  b.say("AT+CMGS=\"0123\"\r");
  EXPECT_EQ(b.say("Draft\x1b"), "Draft\x1b\r\nOK\r\n");
  EXPECT_TRUE(b.modem.sentSms().empty());
  EXPECT_FALSE(b.modem.awaitingSmsText());
}

TEST(SimulatedSmsSending, WithoutEchoOnlyThePromptAndTheResult) {
  ModemBench b;
  b.say("ATE0\r");
  EXPECT_EQ(b.say("AT+CMGS=\"0123\"\r"), "\r\n> ");
  EXPECT_EQ(b.say("quiet\x1a", 9600, kSendWait), "\r\n+CMGS: 1\r\n\r\nOK\r\n");
}

TEST(SimulatedSmsSending, LineBreaksAndCorrectionsInText) {
  ModemBench b;
  b.say("AT+CMGS=\"0123\"\r");
  EXPECT_EQ(b.say("one\rtwx\bo\x1a", 9600, kSendWait),
            "one\r\n> twx\bo\x1a\r\n+CMGS: 1\r\n\r\nOK\r\n");
  EXPECT_EQ(b.modem.sentSms()[0].text, "one\ntwo");
}

TEST(SimulatedSmsSending, DataCodingsOfTextMode) {
  struct Case {
    const char* setting;
    std::string typed;
    const char* text;
  };
  const Case cases[] = {
      {"AT+CSMP=17,167,0,8", "00480069", "Hi"},  // UCS2 in hex
      {"AT+CSMP=17,167,0,4", "4869", "Hi"},      // 8-bit in hex
      {"AT+CSMP=1,0,0,0", "no validity", "no validity"},
      {"AT+CSCS=\"GSM\"", std::string("\0\x02", 2), "@$"},  // septet codes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    ModemBench b;
    b.say(std::string(c.setting) + "\r");
    b.say("AT+CMGS=\"0123\"\r");
    EXPECT_NE(b.say(c.typed + "\x1a", 9600, kSendWait).find("+CMGS: 1"), std::string::npos);
    ASSERT_EQ(b.modem.sentSms().size(), 1u);
    EXPECT_EQ(b.modem.sentSms()[0].text, c.text);
  }
}

TEST(SimulatedSmsSending, WhatIsNoMessage) {
  struct Case {
    const char* name;
    bool pduMode;
    std::string line;   // the command line, with its CR
    std::string typed;  // after the prompt; empty: no prompt comes
    const char* result;
  };
  const std::string longText(161, 'x');
  const Case cases[] = {
      {"length does not match", true, "AT+CMGS=16\r", std::string(kTestPdu) + "\x1a",
       "\r\n+CMS ERROR: 304\r\n"},
      {"not hex", true, "AT+CMGS=2\r", "00ZZ11\x1a", "\r\n+CMS ERROR: 304\r\n"},
      {"odd hex", true, "AT+CMGS=17\r", std::string(kTestPdu) + "0\x1a", "\r\n+CMS ERROR: 304\r\n"},
      {"a DELIVER is not sent", true, "AT+CMGS=24\r",
       "0791947101670000040C9194711132547600006221904150004005C8329BFD06\x1a",
       "\r\n+CMS ERROR: 304\r\n"},
      {"no length", true, "AT+CMGS=0\r", "", "\r\n+CMS ERROR: 304\r\n"},
      {"length beyond any PDU", true, "AT+CMGS=165\r", "", "\r\n+CMS ERROR: 304\r\n"},
      {"a number in PDU mode", true, "AT+CMGS=\"0123\"\r", "", "\r\n+CMS ERROR: 304\r\n"},
      {"unquoted number", false, "AT+CMGS=0123\r", "", "\r\n+CMS ERROR: 305\r\n"},
      {"empty number", false, "AT+CMGS=\"\"\r", "", "\r\n+CMS ERROR: 305\r\n"},
      {"letters in the number", false, "AT+CMGS=\"01a3\"\r", "", "\r\n+CMS ERROR: 305\r\n"},
      {"text beyond one message", false, "AT+CMGS=\"0123\"\r", longText + "\x1a",
       "\r\n+CMS ERROR: 305\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b;
    b.say(c.pduMode ? "AT+CMGF=0\r" : "AT+CMGF=1\r");
    const std::string prompted = b.say(c.line);
    if (c.typed.empty()) {
      EXPECT_EQ(prompted.substr(c.line.size()), c.result);
      EXPECT_FALSE(b.modem.awaitingSmsText());
    } else {
      EXPECT_EQ(b.say(c.typed, 9600, kSendWait), c.typed + c.result);
    }
    EXPECT_TRUE(b.modem.sentSms().empty());
  }
}

TEST(SimulatedSmsSending, NetworkCentreAndLine) {
  ModemConfig noNetwork;
  noNetwork.pollsUntilRegistered = -1;
  ModemBench b(noNetwork);
  b.say("AT+CMGS=\"0123\"\r");
  EXPECT_EQ(b.say("x\x1a", 9600, kSendWait), "x\x1a\r\n+CMS ERROR: 331\r\n");

  ModemConfig noCentre;
  noCentre.serviceCentre = "";
  ModemBench c(noCentre);
  c.say("AT+CMGS=\"0123\"\r");
  EXPECT_EQ(c.say("x\x1a", 9600, kSendWait), "x\x1a\r\n+CMS ERROR: 330\r\n");
  c.say("AT+CMGF=0\r");
  c.say("AT+CMGS=17\r");
  EXPECT_NE(
      c.say("07919471016700001100" + std::string(kTestPdu).substr(6) + "\x1a", 9600, kSendWait)
          .find("+CMGS: 1"),
      std::string::npos)
      << "a PDU that names its own centre needs none stored";

  ModemBench d;
  EXPECT_EQ(d.say("AT+CMGS=\"0123\";+CSQ\r"), "AT+CMGS=\"0123\";+CSQ\r\r\nERROR\r\n")
      << "the text follows the prompt, so nothing may follow AT+CMGS";
  EXPECT_FALSE(d.modem.awaitingSmsText());
}

}  // namespace
}  // namespace d7o::sim
