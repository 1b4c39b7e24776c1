// What the simulated D7O answers to the general AT commands the program uses, in the forms
// of GSM 07.07/07.05: echo, settings, flow control, SIM, network; and the iChip. Each
// serves rows of the command table (command_table.cpp).
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

namespace d7o::sim {

bool ModemEngine::atAccept(const AtCommand&, Answer&) {
  return true;
}

bool ModemEngine::atReject(const AtCommand&, Answer&) {
  return false;
}

// A row's fixed line: "+CMGF=?" -> "+CMGF: (0,1)".
bool ModemEngine::atRowInfo(const AtCommand& c, Answer& a) {
  a.info += framed(c.rowInfo());
  return true;
}

// "+IFC=?" -> "+IFC: (0,2),(0,2)": no flow control or RTS/CTS, each way.
bool ModemEngine::atIfcRange(const AtCommand&, Answer& a) {
  a.info += framed("+IFC: (0,2),(0,2)");
  return true;
}

// "+IFC?" -> "+IFC: 2,2"
bool ModemEngine::atIfcQuery(const AtCommand&, Answer& a) {
  a.info += framed("+IFC: " + std::to_string(m_ifcLocal) + "," + std::to_string(m_ifcRemote));
  return true;
}

// "+IFC=2,2": RTS/CTS both ways; "+IFC=0,0": none.
bool ModemEngine::atIfcSet(const AtCommand& c, Answer&) {
  const std::string_view v = c.args();
  const bool valid =
      v.size() == 3 && v[1] == ',' && (v[0] == '0' || v[0] == '2') && (v[2] == '0' || v[2] == '2');
  if (!valid) return false;
  m_ifcLocal = v[0] - '0';
  m_ifcRemote = v[2] - '0';
  return true;
}

// "+iRP1": the iChip answers for the whole line; without one the GSM engine rejects it.
bool ModemEngine::atIChip(const AtCommand&, Answer& a) {
  if (!m_config.iChip) return false;
  a.final = "I/OK";
  return true;
}

// "+CPIN?" -> "+CPIN: READY", "+CPIN: SIM PIN", or the SIM's error.
bool ModemEngine::atCpinQuery(const AtCommand&, Answer& a) {
  switch (m_config.sim) {
    case SimCard::Unreadable:
      a.final = "+CME ERROR: 10";
      return false;
    case SimCard::Missing:
      a.final = "+CME ERROR: 13";
      return false;
    case SimCard::PinRequired:
      a.info += framed(m_simUnlocked ? "+CPIN: READY" : "+CPIN: SIM PIN");
      return true;
    case SimCard::Ready:
      a.info += framed("+CPIN: READY");
      return true;
  }
  return false;
}

// "+CPIN=5937" or "+CPIN=\"5937\"": the PIN as typed.
bool ModemEngine::atCpinSet(const AtCommand& c, Answer& a) {
  if (m_config.sim != SimCard::PinRequired || m_simUnlocked) {
    a.final = "+CME ERROR: 3";  // nothing to unlock
    return false;
  }
  if (unquoted(c.rawArgs()) != m_config.pin) {
    a.final = "+CME ERROR: 16";  // incorrect password
    return false;
  }
  m_simUnlocked = true;
  return true;
}

namespace {

struct SignalReadingOfSim {
  int rssi;
  int ber;
};

// A wandering field strength at `seconds` since power-on: two slow swings and a quick
// flutter around `base`, the same at the same time in every run (so tests can rely on
// it); for two readings out of every 97 the modem detects none.
SignalReadingOfSim wanderingSignal(int base, std::int64_t seconds) {
  if (seconds % 97 == 40 || seconds % 97 == 41) return {99, 99};
  const double t = static_cast<double>(seconds);
  const double swing = 7 * std::sin(t / 90) + 4 * std::sin(t / 23 + 1) + 2 * std::sin(t * 1.7);
  const int rssi = std::clamp(static_cast<int>(std::lround(base + swing)), 0, 31);
  // The bit error rate climbs as the field weakens: 0 above RSSI 12, up to 7 near 0.
  const int ber = rssi >= 12 ? 0 : std::min(7, (12 - rssi + 1) / 2);
  return {rssi, ber};
}

}  // namespace

// "+CSQ" -> "+CSQ: 17,99": the bit error rate is never known, unless the signal wanders.
bool ModemEngine::atCsq(const AtCommand&, Answer& a) {
  SignalReadingOfSim r{m_config.rssi, 99};
  if (m_config.rssiWander) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_clock.now()).count();
    r = wanderingSignal(m_config.rssi, seconds);
  }
  a.info += framed("+CSQ: " + std::to_string(r.rssi) + "," + std::to_string(r.ber));
  return true;
}

}  // namespace d7o::sim
