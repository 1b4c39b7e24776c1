#include "link/serial_link.h"

#include <string>

namespace d7o::link {

using forms::colors::kLightRed;
using platform::Millis;
using platform::PortResult;

namespace {
constexpr const char* kHandshakeOn = "2,2";
constexpr const char* kHandshakeOff = "0,0";
constexpr Millis kHandshakeTestLimit{3000};
}  // namespace

SerialLink::SerialLink(app::Context& ctx) : m_ctx(ctx) {
  auto& w = m_ctx.main;
  w.Check5.Click.connect([this] { Check5_Click(); });
  w.CTS.MouseUp.connect([this](forms::MouseButton b) { CTS_MouseUp(b); });
}

std::string SerialLink::errorText(const platform::PortError& error) {
  return "Error No.: " + std::to_string(error.number) + " - " + error.description;
}

PortResult SerialLink::sendCommand(std::string_view command) {
  std::string line(command);
  line += '\r';
  auto error = m_ctx.port.write(line);
  if (!error) lineSent.emit(command);
  return error;
}

void SerialLink::report(const platform::PortError& error) {
  // The device gone from under the port: say so, not the closed port's or the missing
  // device node's error number, which point at the configuration.
  if (m_ctx.port.deviceLost()) {
    m_ctx.showError("The serial device of COM" + std::to_string(m_ctx.port.commPort()) +
                    ": is gone (the USB adapter unplugged?): nothing was sent to it.\n"
                    "The program opens it again as soon as it is back.");
    return;
  }
  m_ctx.showError(errorText(error));
}

bool SerialLink::sendOrReport(std::string_view command) {
  if (auto error = sendCommand(command)) {
    report(*error);
    return false;
  }
  return true;
}

bool SerialLink::openForUser() {
  const auto error = openPort();
  m_ctx.main.Text3.setText(m_ctx.port.isOpen() ? "PORT open" : "Port close");
  if (error) report(*error);
  return !error;
}

PortResult SerialLink::sendRaw(std::string_view bytes) {
  auto error = m_ctx.port.write(bytes);
  if (error) return error;
  // Every piece ended by a carriage return is a line ("AT+CMGS=...\r\r", each line of an
  // SMS text); what follows the last one is none ("+++", an SMS text's Ctrl-Z).
  for (auto end = bytes.find('\r'); end != std::string_view::npos; end = bytes.find('\r')) {
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.front() == '\n') line.remove_prefix(1);
    if (!line.empty()) lineSent.emit(line);
    bytes.remove_prefix(end + 1);
  }
  return error;
}

PortResult SerialLink::openPort() {
  auto& port = m_ctx.port;
  if (port.isOpen()) return std::nullopt;
  // After its device went, a send opens only that device again; another one at its place
  // is the user's to take (a right click on the CTS lamp opens the port whatever is there).
  if (port.deviceLost()) {
    const std::string was = port.openedIdentity();
    const std::string now = port.deviceIdentity();
    if (!was.empty() && !now.empty() && now != was) {
      return platform::PortError{platform::port_errors::kHardwareNotAvailable,
                                 "another device is at COM" + std::to_string(port.commPort()) +
                                     ": (" + now + "), not the one that was there (" + was + ")"};
    }
  }
  return port.open();
}

bool SerialLink::openOrReport() {
  if (auto error = openPort()) {
    report(*error);
    return false;
  }
  return true;
}

void SerialLink::closePort() {
  if (m_ctx.port.isOpen()) m_ctx.port.close();
}

void SerialLink::switchPort(int number) {
  closePort();
  auto& w = m_ctx.main;
  if (auto error = m_ctx.port.setCommPort(number)) {
    m_ctx.showError(errorText(*error));
    return;
  }
  w.Text1.setText("COM" + std::to_string(number) + ":");
  if (auto error = openPort()) {
    // The technician must see that the new port is not usable, not a success line.
    m_ctx.showError(errorText(*error));
    return;
  }
  w.List3.addItem("...COM port switched to COM" + std::to_string(number) + ":");
  w.List3.setListIndex(w.List3.count() - 1);
}

void SerialLink::pulseDtrRts() {
  m_ctx.port.setDtr(false);
  m_ctx.port.setRts(false);
  Delay(1);
  m_ctx.port.setDtr(true);
  m_ctx.port.setRts(true);
}

void SerialLink::wait(Millis time) {
  waitUntil(time, [] { return false; });
}

bool SerialLink::waitUntil(Millis limit, const std::function<bool()>& done) {
  const Millis deadline = m_ctx.scheduler.now() + limit;
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  } depth(m_waitDepth);
  while (!m_ctx.ended) {
    if (done()) return true;
    if (m_ctx.scheduler.now() >= deadline) return false;
    m_ctx.scheduler.pumpEvents(deadline);
  }
  return false;
}

bool SerialLink::TestHS() {
  return waitUntil(kHandshakeTestLimit, [this] { return m_ctx.state.link.hwHandshakeReported; });
}

void SerialLink::Check5_Click() {
  auto& w = m_ctx.main;
  if (w.Check5.checked()) {
    w.Check5.setCaption("...please wait...");
    w.Label7.setVisible(true);
    w.Label16.setEnabled(true);
    m_ctx.port.setHandshaking(platform::Handshaking::RtsCts);
    const auto error = sendCommand(std::string("AT+IFC=") + kHandshakeOn);
    const bool answered = !error && TestHS();
    if (m_ctx.ended) return;
    w.Check5.setCaption("Hardware Handshake");
    if (!answered) {
      // Without the echo the modem is not handshaking with us: say why, and fall back to
      // no handshake on our side (the modem keeps what it was sent).
      if (error) {
        m_ctx.showError(errorText(*error));
      } else {
        m_ctx.dialogs.messageBox("Handshake - Error, please check Connections", "Error",
                                 platform::MessageIcon::Critical, platform::MessageButtons::Ok);
      }
      // Clearing the box raises its Click, which tells the modem "0,0" again where it can.
      m_revertingHandshake = true;
      w.Check5.setChecked(false);
      m_revertingHandshake = false;
      m_ctx.port.setHandshaking(platform::Handshaking::None);
    }
  } else {
    w.Label7.setVisible(false);
    w.Label16.setEnabled(false);
    m_ctx.port.setHandshaking(platform::Handshaking::None);
    const auto error = sendCommand(std::string("AT+IFC=") + kHandshakeOff);
    // A closed port was reported already when the test failed.
    if (error && !m_revertingHandshake) m_ctx.showError(errorText(*error));
  }
}

void SerialLink::CTS_MouseUp(forms::MouseButton button) {
  if (button != forms::MouseButton::Right) return;
  if (m_ctx.port.isOpen()) {
    m_ctx.port.close();
    return;
  }
  if (auto error = m_ctx.port.open()) {
    m_ctx.showError(errorText(*error));
    return;
  }
  // Light red until the next poll of the line paints the real state.
  m_ctx.main.CTS.setFillColor(kLightRed);
}

}  // namespace d7o::link
