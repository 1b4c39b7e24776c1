// The line rate through V.250's +IPR: a fixed rate, or the modem detects the program's from
// each command line it receives. Its rows stand in the command table (command_table.cpp).
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <algorithm>
#include <array>
#include <string>

namespace d7o::sim {

namespace {

// The fixed rates AT+IPR takes (and AT+IPR=? lists, after 0).
constexpr std::array<int, 9> kRates = {300, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

}  // namespace

// "+IPR?" -> "+IPR: 9600"; "+IPR: 0" while the modem detects the rate itself.
bool ModemEngine::atIprQuery(const AtCommand&, Answer& a) {
  a.info += framed("+IPR: " + std::to_string(m_config.autoBaud ? 0 : m_config.baud));
  return true;
}

// "+IPR=115200": the modem answers at its old rate, then runs at the new one, and keeps it
// over a restart; "+IPR=0": from then on it takes the rate of each command line.
bool ModemEngine::atIprSet(const AtCommand& c, Answer&) {
  const std::optional<int> rate = numberIn(c.args(), 0, kRates.back());
  if (!rate || (*rate != 0 && std::find(kRates.begin(), kRates.end(), *rate) == kRates.end())) {
    return false;
  }
  m_rateAfterAnswer = *rate;
  return true;
}

void ModemEngine::takeRate(int rate) {
  m_config.autoBaud = rate == 0;
  if (rate != 0) m_config.baud = rate;
}

}  // namespace d7o::sim
