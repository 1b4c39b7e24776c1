// What the simulated D7O answers to the general AT commands the program uses, in the forms
// of GSM 07.07/07.05: echo, settings, flow control, SIM, network; and the iChip. Each
// serves rows of the command table (command_table.cpp).
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

namespace {

constexpr int kPinTries = 3;

std::string cmeError(int code) {
  return "+CME ERROR: " + std::to_string(code);
}

// A PIN a SIM takes: four to eight digits.
bool isPin(std::string_view pin) {
  return pin.size() >= 4 && pin.size() <= 8 &&
         std::all_of(pin.begin(), pin.end(), [](char c) { return isDigit(c); });
}

}  // namespace

std::optional<ModemEngine::SimBlock> ModemEngine::simBlock() const {
  switch (m_config.sim) {
    case SimCard::Unreadable:
      return SimBlock::Unreadable;
    case SimCard::Missing:
      return SimBlock::Missing;
    case SimCard::Ready:
    case SimCard::PinRequired:
    case SimCard::PukRequired:
      break;
  }
  // The modem reads the SIM after power-on and after a restart; it answers for it meanwhile.
  if (m_clock.now() < m_simBusyUntil) return SimBlock::Busy;
  if (m_config.sim == SimCard::Ready || m_simUnlocked) return std::nullopt;
  return m_config.sim == SimCard::PinRequired ? SimBlock::PinNeeded : SimBlock::PukNeeded;
}

// What a blocked SIM makes the commands answer: GSM 07.07's "+CME ERROR" (the program reads
// 10 as "can't read SIM card" and 13 as "no SIM card inserted") and GSM 07.05's "+CMS
// ERROR" (310 not inserted, 311 PIN, 313 failure, 314 busy, 316 PUK).
ModemEngine::SimErrors ModemEngine::errorsOf(SimBlock block) {
  switch (block) {
    case SimBlock::Unreadable:
      return {10, 313};
    case SimBlock::Missing:
      return {13, 310};
    case SimBlock::PinNeeded:
      return {11, 311};
    case SimBlock::PukNeeded:
      return {12, 316};
    case SimBlock::Busy:
      return {14, 314};
  }
  return {10, 313};
}

std::optional<int> ModemEngine::simCmeError() const {
  const std::optional<SimBlock> block = simBlock();
  if (!block) return std::nullopt;
  return errorsOf(*block).cme;
}

std::optional<int> ModemEngine::simCmsError() const {
  const std::optional<SimBlock> block = simBlock();
  if (!block) return std::nullopt;
  return errorsOf(*block).cms;
}

// "+CPIN?" -> "+CPIN: READY", "+CPIN: SIM PIN", "+CPIN: SIM PUK", or the SIM's error.
bool ModemEngine::atCpinQuery(const AtCommand&, Answer& a) {
  const std::optional<SimBlock> block = simBlock();
  if (!block) {
    a.info += framed("+CPIN: READY");
    return true;
  }
  switch (*block) {
    case SimBlock::PinNeeded:
      a.info += framed("+CPIN: SIM PIN");
      return true;
    case SimBlock::PukNeeded:
      a.info += framed("+CPIN: SIM PUK");
      return true;
    case SimBlock::Unreadable:
    case SimBlock::Missing:
    case SimBlock::Busy:
      break;
  }
  a.final = cmeError(simCmeError().value_or(10));
  return false;
}

// "+CPIN=5937" or "+CPIN=\"5937\"": the PIN the SIM waits for. A SIM that wants its PUK
// takes it with a new PIN: "+CPIN=\"12345678\",\"1234\"". A malformed line costs no try.
bool ModemEngine::atCpinSet(const AtCommand& c, Answer& a) {
  const std::optional<SimBlock> block = simBlock();
  if (!block) {
    a.final = cmeError(3);  // nothing to unlock
    return false;
  }
  const std::vector<std::string> p = parameters(c.rawArgs());
  switch (*block) {
    case SimBlock::PinNeeded:
      return p.size() == 1 && enterPin(unquoted(p[0]), a);
    case SimBlock::PukNeeded:
      if (p.size() == 2) return enterPuk(unquoted(p[0]), unquoted(p[1]), a);
      if (p.size() == 1) a.final = cmeError(12);  // a PIN no longer does
      return false;
    case SimBlock::Unreadable:
    case SimBlock::Missing:
    case SimBlock::Busy:
      break;
  }
  a.final = cmeError(simCmeError().value_or(10));
  return false;
}

// The third wrong PIN in a row locks the SIM until its PUK is given, as a SIM does.
bool ModemEngine::enterPin(const std::string& pin, Answer& a) {
  if (pin != m_config.pin) {
    if (--m_pinTriesLeft <= 0) m_config.sim = SimCard::PukRequired;
    a.final = cmeError(16);  // incorrect password
    return false;
  }
  m_pinTriesLeft = kPinTries;
  m_simUnlocked = true;
  return true;
}

// The right PUK unlocks the SIM and gives it the new PIN, which it asks for from then on.
bool ModemEngine::enterPuk(const std::string& puk, const std::string& newPin, Answer& a) {
  if (!isPin(newPin)) return false;
  if (puk != m_config.puk) {
    a.final = cmeError(16);
    return false;
  }
  m_config.sim = SimCard::PinRequired;
  m_config.pin = newPin;
  m_pinTriesLeft = kPinTries;
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
