// The network and phone commands of the simulated modem that standard GSM clients ask when
// they start: registration with its unasked reports, the operator, functionality, clock,
// battery, passwords, forwarding and USSD; and storing a message with AT+CMGW.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace d7o::sim {
namespace {

using platform::Millis;

using Case = LineCase;

TEST(SimulatedNetwork, AnswersWhatClientsAsk) {
  const Case cases[] = {
      {"registration reports off", {}, "AT+CREG?", "\r\n+CREG: 0,1\r\n\r\nOK\r\n"},
      {"reports on", {"AT+CREG=1"}, "AT+CREG?", "\r\n+CREG: 1,1\r\n\r\nOK\r\n"},
      {"reports with the cell",
       {"AT+CREG=2"},
       "AT+CREG?",
       "\r\n+CREG: 2,1,\"0B5F\",\"4E21\"\r\n\r\nOK\r\n"},
      {"a report mode beyond 2", {}, "AT+CREG=3", "\r\nERROR\r\n"},
      {"report modes", {}, "AT+CREG=?", "\r\n+CREG: (0-2)\r\n\r\nOK\r\n"},
      {"a client's pre-init", {}, "AT+CMEE=1;+CREG=2", "\r\nOK\r\n"},
      {"no packet service to register with",
       {},
       "AT+CGREG=2;+CGREG?;+CGATT?",
       "\r\n+CGREG: 2,0\r\n\r\n+CGATT: 0\r\n\r\nOK\r\n"},
      {"nor to attach to", {}, "AT+CGATT=1", "\r\n+CME ERROR: 132\r\n"},
      {"cellular result codes",
       {"AT+CRC=0"},
       "AT+CRC?;+CRC=?",
       "\r\n+CRC: 0\r\n\r\n+CRC: (0,1)\r\n\r\nOK\r\n"},
      {"operator, long name", {}, "AT+COPS?", "\r\n+COPS: 0,0,\"Telekom.de\"\r\n\r\nOK\r\n"},
      {"operator, numeric", {"AT+COPS=3,2"}, "AT+COPS?", "\r\n+COPS: 0,2,\"26201\"\r\n\r\nOK\r\n"},
      {"operator, short", {"AT+COPS=3,1"}, "AT+COPS?", "\r\n+COPS: 0,1,\"TDG\"\r\n\r\nOK\r\n"},
      {"the network search",
       {},
       "AT+COPS=?",
       "\r\n+COPS: (2,\"Telekom.de\",\"TDG\",\"26201\"),(3,\"Vodafone.de\",\"Vodafone\",\"26202\")"
       ",,(0-4),(0-2)\r\n\r\nOK\r\n"},
      {"automatic selection", {}, "AT+COPS=0", "\r\nOK\r\n"},
      {"manual, the own operator", {}, "AT+COPS=1,2,\"26201\"", "\r\nOK\r\n"},
      {"manual, a forbidden one", {}, "AT+COPS=1,2,\"26202\"", "\r\n+CME ERROR: 32\r\n"},
      {"deregistered",
       {"AT+COPS=2"},
       "AT+COPS?;+CREG?",
       "\r\n+COPS: 2\r\n\r\n+CREG: 0,0\r\n\r\nOK\r\n"},
      {"functionality", {}, "AT+CFUN?", "\r\n+CFUN: 1\r\n\r\nOK\r\n"},
      {"no radio",
       {"AT+CFUN=4"},
       "AT+CFUN?;+CREG?",
       "\r\n+CFUN: 4\r\n\r\n+CREG: 0,0\r\n\r\nOK\r\n"},
      {"a functionality it lacks", {}, "AT+CFUN=2", "\r\nERROR\r\n"},
      {"the clock runs from the network's time",
       {},
       "AT+CCLK?",
       "\r\n+CCLK: \"26/12/09,14:05:00+04\"\r\n\r\nOK\r\n"},
      {"the clock set, and running a second later",
       {"AT+CCLK=\"27/01/02,03:04:05-08\""},
       "AT+CCLK?",
       "\r\n+CCLK: \"27/01/02,03:04:06-08\"\r\n\r\nOK\r\n"},
      {"no such day", {}, "AT+CCLK=\"27/02/30,03:04:05+00\"", "\r\nERROR\r\n"},
      {"the clock unquoted", {}, "AT+CCLK=27/01/02,03:04:05+00", "\r\nERROR\r\n"},
      {"battery", {}, "AT+CBC", "\r\n+CBC: 0,100\r\n\r\nOK\r\n"},
      {"passwords",
       {},
       "AT+CPWD=?",
       "\r\n+CPWD: "
       "(\"SC\",8),(\"P2\",8),(\"AO\",4),(\"OI\",4),(\"AI\",4),(\"AB\",4)\r\n\r\nOK\r\n"},
      {"forwarding not active", {}, "AT+CCFC=0,2", "\r\n+CCFC: 0,7\r\n\r\nOK\r\n"},
      {"forwarding registered",
       {"AT+CCFC=2,3,\"+4930123\",145"},
       "AT+CCFC=2,2",
       "\r\n+CCFC: 1,1,\"+4930123\",145\r\n\r\nOK\r\n"},
      {"and erased",
       {"AT+CCFC=2,3,\"+4930123\",145", "AT+CCFC=2,4"},
       "AT+CCFC=2,2",
       "\r\n+CCFC: 0,7\r\n\r\nOK\r\n"},
      {"a forwarding reason it lacks", {}, "AT+CCFC=6,2", "\r\nERROR\r\n"},
      {"forwarding without the network", {"AT+CFUN=0"}, "AT+CCFC=0,2", "\r\n+CME ERROR: 30\r\n"},
      {"USSD reports on", {}, "AT+CUSD=1;+CUSD?", "\r\n+CUSD: 1\r\n\r\nOK\r\n"},
      {"a USSD request and its answer",
       {"AT+CUSD=1"},
       "AT+CUSD=1,\"*100#\",15",
       "\r\nOK\r\n\r\n+CUSD: 0,\"Your balance is 12.34 EUR\",15\r\n"},
      {"test forms",
       {},
       "AT+CFUN=?;+CBC=?;+CUSD=?;+CCFC=?;+CMEE=?",
       "\r\n+CFUN: (0,1,4),(0,1)\r\n\r\n+CBC: (0-3),(0-100)\r\n\r\n+CUSD: (0-2)\r\n"
       "\r\n+CCFC: (0-5)\r\n\r\n+CMEE: (0-2)\r\n\r\nOK\r\n"},
  };
  for (const Case& c : cases) expectAnswer(c);
}

// Registered after two polls: a client that asked for reports hears of the change after
// the answer to the poll, and of the loss when the radio goes off.
TEST(SimulatedNetwork, UnaskedRegistrationReports) {
  ModemConfig config;
  config.pollsUntilRegistered = 2;
  ModemBench b(config);
  b.say("AT+CREG=2\r");
  EXPECT_EQ(b.say("AT+CREG?\r"), "AT+CREG?\r\r\n+CREG: 2,2\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CREG?\r"),
            "AT+CREG?\r\r\n+CREG: 2,2\r\n\r\nOK\r\n\r\n+CREG: 1,\"0B5F\",\"4E21\"\r\n");
  EXPECT_EQ(b.say("AT+CREG?\r"), "AT+CREG?\r\r\n+CREG: 2,1,\"0B5F\",\"4E21\"\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CFUN=4\r"), "AT+CFUN=4\r\r\nOK\r\n\r\n+CREG: 0\r\n");
  b.say("AT+CREG=0\r");
  EXPECT_EQ(b.say("AT+CFUN=1\r"), "AT+CFUN=1\r\r\nOK\r\n") << "reports off";
}

TEST(SimulatedNetwork, OperatorIsConfigurable) {
  ModemConfig config;
  config.operatorLong = "Test Net";
  config.roaming = true;
  expectAnswer({"roaming abroad",
                {"AT+CREG=1"},
                "AT+COPS?;+CREG?",
                "\r\n+COPS: 0,0,\"Test Net\"\r\n\r\n+CREG: 1,5\r\n\r\nOK\r\n"},
               config);
}

TEST(SimulatedNetwork, NoSimNoSearch) {
  ModemConfig config;
  config.sim = SimCard::Missing;
  expectAnswer({"no SIM", {}, "AT+CREG?;+COPS?", "\r\n+CREG: 0,0\r\n\r\n+COPS: 0\r\n\r\nOK\r\n"},
               config);
}

// A message stored with AT+CMGW is on the SIM, listed and read like the rest.
TEST(SimulatedSmsWrite, StoresTextAndPduMessages) {
  ModemBench b;
  EXPECT_EQ(b.say("AT+CMGW=\"0123456789\"\r"), "AT+CMGW=\"0123456789\"\r\r\n> ");
  EXPECT_EQ(b.say("Draft\x1a"), "Draft\x1a\r\n+CMGW: 1\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGW\r"), "AT+CMGW\r\r\n> ");
  EXPECT_EQ(b.say("No number\x1a"), "No number\x1a\r\n+CMGW: 2\r\n\r\nOK\r\n");
  b.say("AT+CMGW=\"+4930123\",145,\"STO SENT\"\r");
  b.say("Sent one\x1a");
  const std::string listed = b.say("AT+CMGL=\"ALL\"\r");
  EXPECT_NE(listed.find("+CMGL: 1,\"STO UNSENT\",\"0123456789\",,\r\nDraft\r\n"), std::string::npos)
      << listed;
  EXPECT_NE(listed.find("+CMGL: 2,\"STO UNSENT\",\"\",,\r\nNo number\r\n"), std::string::npos)
      << listed;
  EXPECT_NE(listed.find("+CMGL: 3,\"STO SENT\",\"+4930123\",,\r\nSent one\r\n"), std::string::npos)
      << listed;
  EXPECT_TRUE(b.modem.sentSms().empty()) << "stored, not sent";

  // PDU mode, as gammu saves one: the SUBMIT of "test" to 0123456789, status 3 (sent).
  b.say("AT+CMGF=0\r");
  const std::string pdu = "0011000A8110325476980000AA04F4F29C0E";
  EXPECT_EQ(b.say("AT+CMGW=17,3\r"), "AT+CMGW=17,3\r\r\n> ");
  EXPECT_EQ(b.say(pdu + "\x1a"), pdu + "\x1a\r\n+CMGW: 4\r\n\r\nOK\r\n");
  const StoredSms* stored = b.modem.smsStore().at(4);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->status, SmsStatus::StoSent);
  EXPECT_EQ(stored->number, "0123456789");
  EXPECT_EQ(stored->text, "test");
  EXPECT_NE(b.say("AT+CMGL=4\r").find("+CMGL: 4,3,,"), std::string::npos);
}

// gammu's savesms: an SMS-DELIVER from the alphanumeric sender "Gammu" with its own time
// stamp. PDU mode gives back the very octets written; text mode shows what they say.
TEST(SimulatedSmsWrite, KeepsAWrittenPduAsWritten) {
  ModemBench b;
  b.say("AT+CMGF=0\r");
  const std::string pdu =
      "0791947101670000000AD0C770BB5D070000622101008352000ED3B0BD4C0689F3A073B8DDAE03";
  b.say("AT+CMGW=31,1\r");
  EXPECT_EQ(b.say(pdu + "\x1a"), pdu + "\x1a\r\n+CMGW: 1\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGR=1\r"), "AT+CMGR=1\r\r\n+CMGR: 1,,31\r\n" + pdu + "\r\n\r\nOK\r\n");
  b.say("AT+CMGF=1\r");
  EXPECT_EQ(b.say("AT+CMGL=\"ALL\"\r"),
            "AT+CMGL=\"ALL\"\r\r\n+CMGL: 1,\"REC READ\",\"Gammu\",,\"26/12/10,00:38:25+00\"\r\n"
            "Saved by gammu\r\n\r\nOK\r\n");
}

TEST(SimulatedSmsWrite, RefusesWhatItCannotStore) {
  const Case cases[] = {
      {"a status of received messages in text mode",
       {},
       "AT+CMGW=\"0123\",129,\"REC BAD\"",
       "\r\n+CMS ERROR: 305\r\n"},
      {"PDU mode without a length", {"AT+CMGF=0"}, "AT+CMGW", "\r\n+CMS ERROR: 304\r\n"},
      {"a status beyond 3", {"AT+CMGF=0"}, "AT+CMGW=17,4", "\r\n+CMS ERROR: 304\r\n"},
  };
  for (const Case& c : cases) expectAnswer(c);
  ModemConfig full;
  full.smsStoreSize = 1;
  full.smsAtStart = {{SmsStatus::RecRead, "0301234", "Old", std::nullopt}};
  ModemBench b(full);
  b.say("AT+CMGW\r");
  EXPECT_EQ(b.say("More\x1a"), "More\x1a\r\n+CMS ERROR: 322\r\n");
}

}  // namespace
}  // namespace d7o::sim
