// Command lines whose commands share a beginning reach the command meant, and a line stops
// at the first command the modem rejects.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

struct Case {
  const char* name;
  bool iChip;
  SimCard sim;
  const char* line;
  const char* answer;  // without the echo
};

TEST(SimulatedCommandLines, ReachTheCommandMeant) {
  const Case cases[] = {
      {"flow-control range, not a setting", false, SimCard::Ready, "AT+IFC=?",
       "\r\n+IFC: (0,2),(0,2)\r\n\r\nOK\r\n"},
      {"flow-control query", false, SimCard::Ready, "AT+IFC=2,2;+IFC?",
       "\r\n+IFC: 2,2\r\n\r\nOK\r\n"},
      {"the iChip takes the whole line", true, SimCard::Ready, "AT+iRP1;+CSQ", "\r\nI/OK\r\n"},
      {"an iChip command without an iChip", false, SimCard::Ready, "AT+iRP1", "\r\nERROR\r\n"},
      {"flow control is the GSM engine's", true, SimCard::Ready, "at+ifc?",
       "\r\n+IFC: 0,0\r\n\r\nOK\r\n"},
      {"so is any other +IFC", true, SimCard::Ready, "AT+IFC", "\r\nERROR\r\n"},
      {"and the baud rate", true, SimCard::Ready, "AT+IPR=9600", "\r\nOK\r\n"},
      {"an iChip command later in a line is not the iChip's", true, SimCard::Ready, "AT+CSQ;+iRP1",
       "\r\n+CSQ: 17,99\r\n\r\nERROR\r\n"},
      {"PIN query", false, SimCard::PinRequired, "AT+CPIN?", "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n"},
      {"PIN given, then queried", false, SimCard::PinRequired, "AT+CPIN=\"5937\";+CPIN?",
       "\r\n+CPIN: READY\r\n\r\nOK\r\n"},
      {"a rejection names its error and ends the line", false, SimCard::PinRequired,
       "AT+CSQ;+CPIN=1234;+CGMI", "\r\n+CSQ: 17,99\r\n\r\n+CME ERROR: 16\r\n"},
      {"an unknown command ends the line", false, SimCard::Ready, "AT+CSQ;+NOSUCH;+CGMI",
       "\r\n+CSQ: 17,99\r\n\r\nERROR\r\n"},
      {"an empty command is unknown", false, SimCard::Ready, "AT+CSQ;",
       "\r\n+CSQ: 17,99\r\n\r\nERROR\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemConfig config;
    config.iChip = c.iChip;
    config.sim = c.sim;
    ModemBench b(config);
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
}

}  // namespace
}  // namespace d7o::sim
