// SMS settings and identification on the simulated modem: the set, query and range forms
// of GSM 07.05/07.07, blanks in a command line, and what a missing or locked SIM refuses.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

struct Case {
  const char* name;
  const char* line;
  const char* answer;  // without the echo
};

void runCases(std::initializer_list<Case> cases, const ModemConfig& config = {}) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b(config);
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
}

TEST(SimulatedSmsSettings, MessageFormatServiceAndIndications) {
  runCases({
      {"format range", "AT+CMGF=?", "\r\n+CMGF: (0,1)\r\n\r\nOK\r\n"},
      {"text mode from power-on", "AT+CMGF?", "\r\n+CMGF: 1\r\n\r\nOK\r\n"},
      {"PDU mode", "AT+CMGF=0;+CMGF?", "\r\n+CMGF: 0\r\n\r\nOK\r\n"},
      {"no third format", "AT+CMGF=2", "\r\nERROR\r\n"},
      {"no format at all", "AT+CMGF=", "\r\nERROR\r\n"},
      {"service", "AT+CSMS=1", "\r\n+CSMS: 1,1,1\r\n\r\nOK\r\n"},
      {"service query", "AT+CSMS?", "\r\n+CSMS: 0,1,1,1\r\n\r\nOK\r\n"},
      {"service range", "AT+CSMS=?", "\r\n+CSMS: (0,1)\r\n\r\nOK\r\n"},
      {"no such service", "AT+CSMS=2", "\r\nERROR\r\n"},
      {"the SIEMENS text-mode line", "AT+CMGF=1;+CNMI=1,1,0;+CSMS=1",
       "\r\n+CSMS: 1,1,1\r\n\r\nOK\r\n"},
      {"indications as the program sets them", "AT+CNMI=1,1,0,0,0;+CNMI?",
       "\r\n+CNMI: 1,1,0,0,0\r\n\r\nOK\r\n"},
      {"indications set", "AT+CNMI=2,2,0,0,1;+CNMI?", "\r\n+CNMI: 2,2,0,0,1\r\n\r\nOK\r\n"},
      {"indication ranges", "AT+CNMI=?", "\r\n+CNMI: (0-3),(0-3),(0,2),(0),(0,1)\r\n\r\nOK\r\n"},
      {"no status reports", "AT+CNMI=1,1,0,1", "\r\nERROR\r\n"},
      {"no broadcasts through the buffer", "AT+CNMI=1,1,1", "\r\nERROR\r\n"},
      {"indications need a mode", "AT+CNMI=", "\r\nERROR\r\n"},
      {"text-mode parameters", "AT+CSMP=17,167,0,8;+CSMP?", "\r\n+CSMP: 17,167,0,8\r\n\r\nOK\r\n"},
      {"text-mode parameters from power-on", "AT+CSMP?", "\r\n+CSMP: 17,167,0,0\r\n\r\nOK\r\n"},
      {"no absolute validity period", "AT+CSMP=25,0", "\r\nERROR\r\n"},
      {"no user-data header", "AT+CSMP=81,167", "\r\nERROR\r\n"},
      {"header values shown", "AT+CSDH=1;+CSDH?", "\r\n+CSDH: 1\r\n\r\nOK\r\n"},
      {"header range", "AT+CSDH=?", "\r\n+CSDH: (0,1)\r\n\r\nOK\r\n"},
      {"acknowledgement", "AT+CNMA", "\r\nOK\r\n"},
  });
}

TEST(SimulatedSmsSettings, CharacterSetAndServiceCentre) {
  runCases({
      {"character sets", "AT+CSCS=?", "\r\n+CSCS: (\"GSM\",\"IRA\",\"UCS2\")\r\n\r\nOK\r\n"},
      {"IRA from power-on", "AT+CSCS?", "\r\n+CSCS: \"IRA\"\r\n\r\nOK\r\n"},
      {"UCS2", "AT+CSCS=\"UCS2\";+CSCS?", "\r\n+CSCS: \"UCS2\"\r\n\r\nOK\r\n"},
      {"no other set", "AT+CSCS=\"HEX\"", "\r\nERROR\r\n"},
      {"centre from the SIM", "AT+CSCA?", "\r\n+CSCA: \"+491710760000\",145\r\n\r\nOK\r\n"},
      {"international centre", "AT+CSCA=\"+4930123\",145;+CSCA?",
       "\r\n+CSCA: \"+4930123\",145\r\n\r\nOK\r\n"},
      {"type 145 makes it international", "AT+CSCA=\"00491710760000\",145;+CSCA?",
       "\r\n+CSCA: \"+00491710760000\",145\r\n\r\nOK\r\n"},
      {"national centre", "AT+CSCA=\"01710760000\",129;+CSCA?",
       "\r\n+CSCA: \"01710760000\",129\r\n\r\nOK\r\n"},
      {"centre in UCS2", "AT+CSCS=\"UCS2\";+CSCA?",
       "\r\n+CSCA: \"002B003400390031003700310030003700360030003000300030\",145\r\n\r\nOK\r\n"},
      {"no letters in a number", "AT+CSCA=\"0171abc\"", "\r\nERROR\r\n"},
      {"a number is quoted", "AT+CSCA=0171", "\r\nERROR\r\n"},
      {"store", "AT+CPMS?", "\r\n+CPMS: \"SM\",0,20,\"SM\",0,20,\"SM\",0,20\r\n\r\nOK\r\n"},
      {"store range", "AT+CPMS=?", "\r\n+CPMS: (\"SM\"),(\"SM\"),(\"SM\")\r\n\r\nOK\r\n"},
      {"store chosen", "AT+CPMS=\"SM\",\"SM\",\"SM\"", "\r\n+CPMS: 0,20,0,20,0,20\r\n\r\nOK\r\n"},
      {"only the SIM", "AT+CPMS=\"ME\"", "\r\n+CMS ERROR: 302\r\n"},
      {"blanks count for nothing", "AT + CMGF = 0 ; + CMGF ?", "\r\n+CMGF: 0\r\n\r\nOK\r\n"},
      {"except inside quotes", "AT+CSCA = \"0171 0760\"", "\r\nERROR\r\n"},
      {"hang-up of GSM 07.07", "AT+CHUP", "\r\nOK\r\n"},
  });
}

TEST(SimulatedSmsSettings, StoreSizeIsConfigurable) {
  ModemConfig config;
  config.smsStoreSize = 30;
  runCases({{"thirty positions", "AT+CPMS?",
             "\r\n+CPMS: \"SM\",0,30,\"SM\",0,30,\"SM\",0,30\r\n\r\nOK\r\n"}},
           config);
}

TEST(SimulatedSmsSettings, TheSimMustBeReadyForTheStore) {
  struct SimCase {
    SimCard sim;
    const char* answer;
  };
  const SimCase cases[] = {
      {SimCard::Missing, "\r\n+CMS ERROR: 310\r\n"},
      {SimCard::PinRequired, "\r\n+CMS ERROR: 311\r\n"},
      {SimCard::Unreadable, "\r\n+CMS ERROR: 313\r\n"},
  };
  for (const SimCase& c : cases) {
    SCOPED_TRACE(c.answer);
    ModemConfig config;
    config.sim = c.sim;
    for (const char* line : {"AT+CPMS?", "AT+CMGL=\"ALL\"", "AT+CMGR=1", "AT+CMGD=1",
                             "AT+CMGS=\"0123\"", "AT+CSCA?"}) {
      SCOPED_TRACE(line);
      ModemBench b(config);
      EXPECT_EQ(b.say(std::string(line) + "\r"), std::string(line) + "\r" + c.answer);
    }
    ModemBench b(config);
    EXPECT_EQ(b.say("AT+CMGF=1\r"), "AT+CMGF=1\r\r\nOK\r\n") << "settings need no SIM";
  }
}

TEST(SimulatedIdentity, NamesTheEngine) {
  struct IdCase {
    Engine engine;
    const char* line;
    const char* answer;
  };
  const IdCase cases[] = {
      {Engine::Maker, "ATI", "\r\nTarvik GmbH\r\nD7O\r\nD7O 2.14\r\n\r\nOK\r\n"},
      {Engine::Siemens, "ATI", "\r\nSIEMENS\r\nTC35\r\nREVISION 03.02\r\n\r\nOK\r\n"},
      {Engine::Maker, "AT+CGMI", "\r\nTarvik GmbH\r\n\r\nOK\r\n"},
      {Engine::Other, "AT+CGMI", "\r\nWAVECOM MODEM\r\n\r\nOK\r\n"},
      {Engine::Maker, "AT+CGMM", "\r\nD7O\r\n\r\nOK\r\n"},
      {Engine::Siemens, "AT+GMM", "\r\nTC35\r\n\r\nOK\r\n"},
      {Engine::Maker, "AT+CGMR", "\r\nD7O 2.14\r\n\r\nOK\r\n"},
      {Engine::Maker, "AT+CGSN", "\r\n356938035643809\r\n\r\nOK\r\n"},
      {Engine::Brellstowen, "AT+GSN", "\r\n356938035643809\r\n\r\nOK\r\n"},
      {Engine::Maker, "AT+CIMI", "\r\n262019876543210\r\n\r\nOK\r\n"},
      {Engine::Maker, "AT+CGMM=?", "\r\nOK\r\n"},
  };
  for (const IdCase& c : cases) {
    SCOPED_TRACE(c.line);
    ModemConfig config;
    config.engine = c.engine;
    ModemBench b(config);
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
}

TEST(SimulatedIdentity, ImsiComesFromTheUnlockedSim) {
  ModemConfig config;
  config.sim = SimCard::PinRequired;
  config.model = "D7O-S";
  ModemBench b(config);
  EXPECT_EQ(b.say("AT+CIMI\r"), "AT+CIMI\r\r\n+CME ERROR: 11\r\n");
  EXPECT_EQ(b.say("AT+CGSN;+CGMM\r"),
            "AT+CGSN;+CGMM\r\r\n356938035643809\r\n\r\nD7O-S\r\n\r\nOK\r\n")
      << "the engine's own identity needs no SIM";
  b.say("AT+CPIN=5937\r");
  EXPECT_EQ(b.say("AT+CIMI\r"), "AT+CIMI\r\r\n262019876543210\r\n\r\nOK\r\n");
  config.sim = SimCard::Missing;
  ModemBench none(config);
  EXPECT_EQ(none.say("AT+CIMI\r"), "AT+CIMI\r\r\n+CME ERROR: 13\r\n");
}

}  // namespace
}  // namespace d7o::sim
