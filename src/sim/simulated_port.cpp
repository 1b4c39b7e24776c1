#include "sim/simulated_port.h"

#include "platform/line_settings.h"

namespace d7o::sim {

using platform::PortError;
using platform::PortResult;
namespace errors = platform::port_errors;

SimulatedPort::SimulatedPort(platform::Scheduler& scheduler, ModemEngine& modem)
    : m_scheduler(scheduler), m_modem(modem) {
  m_modem.setOutput([this](std::string_view bytes) { deliver(bytes); });
}

PortResult SimulatedPort::setCommPort(int number) {
  if (number < 1 || number > 16)
    return PortError{errors::kInvalidPortNumber, "Invalid Port Number"};
  if (m_open) return PortError{errors::kPortAlreadyOpen, "Port already open"};
  m_commPort = number;
  return std::nullopt;
}

// Read as the real port reads it, so a text it refuses (error 380) is refused here too;
// any rate it takes is one the simulated line can run at.
PortResult SimulatedPort::setSettings(std::string_view settings) {
  platform::LineSettings line;
  if (auto bad = platform::parseLineSettings(settings, line)) return bad;
  m_settings = std::string(settings);
  m_settingsLog.push_back(m_settings);
  m_baud = line.baud;
  return std::nullopt;
}

PortResult SimulatedPort::open() {
  if (m_open) return PortError{errors::kPortAlreadyOpen, "Port already open"};
  if (m_missing.count(m_commPort) != 0) {
    return PortError{errors::kInvalidPortNumber, "Invalid Port Number"};
  }
  m_open = true;
  m_lost = false;
  m_openedIdentity = m_identity;
  m_input.clear();
  return std::nullopt;
}

std::string SimulatedPort::deviceIdentity() const {
  return m_missing.count(m_commPort) != 0 ? std::string() : m_identity;
}

void SimulatedPort::unplug() {
  m_missing.insert(m_commPort);
  if (!m_open) return;
  close();
  m_lost = true;
}

void SimulatedPort::replug(std::optional<std::string> identity) {
  m_missing.erase(m_commPort);
  if (identity) m_identity = std::move(*identity);
}

void SimulatedPort::close() {
  m_open = false;
  m_input.clear();
}

void SimulatedPort::setDtr(bool high) {
  if (m_open) m_modem.setDtr(high);
}

void SimulatedPort::setRts(bool high) {
  if (m_open) m_modem.setRts(high);
}

void SimulatedPort::setBreak(bool on) {
  if (m_open) m_modem.setBreak(on);
}

void SimulatedPort::setHandshaking(platform::Handshaking mode) {
  m_handshaking = mode;
  m_modem.setHardwareHandshake(mode == platform::Handshaking::RtsCts);
}

PortResult SimulatedPort::write(std::string_view bytes) {
  if (!m_open) {
    return PortError{errors::kPortNotOpen, "Operation valid only when the port is open"};
  }
  m_written.append(bytes);
  m_modem.receive(bytes, m_baud);
  return std::nullopt;
}

std::string SimulatedPort::readAll() {
  std::string out;
  out.swap(m_input);
  return out;
}

bool SimulatedPort::ctsHolding() const {
  return m_open && m_modem.cts();
}
bool SimulatedPort::cdHolding() const {
  return m_open && m_modem.carrierDetect();
}

std::string SimulatedPort::takeWritten() {
  std::string out;
  out.swap(m_written);
  return out;
}

void SimulatedPort::deliver(std::string_view bytes) {
  if (!m_open) return;  // nobody listens on a closed port
  if (m_modem.understandsRate(m_baud)) {
    m_input.append(bytes);
  } else {
    m_input.append(ModemEngine::garble(bytes));
  }
  // One receive event for whatever arrived until the loop gets to it.
  if (m_eventPosted || !m_handler) return;
  m_eventPosted = true;
  m_scheduler.post(Millis(0), [this] {
    m_eventPosted = false;
    if (m_handler && !m_input.empty()) m_handler();
  });
}

}  // namespace d7o::sim
