#include "link/init_timers.h"

#include "link/serial_link.h"

namespace d7o::link {

using namespace forms::colors;
using platform::MessageButtons;
using platform::MessageIcon;

InitTimers::InitTimers(app::Context& ctx, SerialLink& link) : m_ctx(ctx), m_link(link) {
  auto& w = m_ctx.main;
  w.Timer1.Tick.connect([this] { Timer1_Timer(); });
  w.Timer2.Tick.connect([this] { Timer2_Timer(); });
  w.Timer3.Tick.connect([this] { Timer3_Timer(); });
}

void InitTimers::Timer2_Timer() {
  m_ctx.scheduler.pumpPending();
  if (m_ctx.ended) return;
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;
  w.Text3.setBackColor(kLightOrange);
  w.Text3.setText("...initialising gsm module");

  auto error = m_link.openPort();
  if (!error) {
    m_link.pulseDtrRts();
    // Extended error codes, so the SIM errors come back as numbers.
    error = m_link.sendCommand("AT+CMEE=1");
  }
  // The adapter pulled out while the module wakes: nothing is wrong with the configuration.
  // The port watch tells the user and reopens the port; the wake-up goes on from there.
  if (error && m_ctx.port.deviceLost()) return;
  if (error) {
    // Without a usable port the module can never answer: the configuration is wrong.
    m_ctx.showError(error->description + "\ncheck INI-File");
    m_ctx.endProgram(1);
    return;
  }
  m_link.Delay(2);
  if (m_ctx.ended) return;
  // The echo of the wake-up command is not worth a terminal line.
  if (!w.List3.empty()) w.List3.removeItem(w.List3.count() - 1);
  ++s.link.initTickCount;
  w.Label25.setCaption("wait for connect - " + std::to_string(kWakeUpTicks - s.link.initTickCount) +
                       " sec.");
  if (s.link.initTickCount == kWakeUpTicks) {
    s.link.initTickCount = 0;
    w.Timer2.setEnabled(false);
    m_ctx.dialogs.messageBox("D7O not available, check all connections !!!", "Module - Error",
                             MessageIcon::Critical, MessageButtons::Ok);
    w.Command1.setEnabled(true);
    w.Command2.setEnabled(true);
  }
}

void InitTimers::Timer1_Timer() {
  m_ctx.scheduler.pumpPending();
  if (m_ctx.ended) return;
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;
  // The device gone: the poll keeps its step until the port watch has it back.
  if (!m_ctx.port.isOpen() && m_ctx.port.deviceLost()) return;
  if (!s.link.simReady && s.link.networkPollCount == 0) {
    // The SIM first: its answer drives the PIN dialogue, which restarts the polling.
    const auto error = m_link.sendCommand("AT+CPIN?");
    // Gone under the send: asked again once the device is back.
    if (error && m_ctx.port.deviceLost()) return;
    w.List3.clear();
    w.Timer1.setEnabled(false);
    if (error) portClosedUnderPoll();
    return;
  }
  ++s.link.networkPollCount;
  s.link.pollCsqNext = !s.link.pollCsqNext;
  w.Command2.setEnabled(true);
  w.Text3.setText(m_ctx.port.isOpen() ? "PORT open" : "Port close");
  w.List3.setForeColor(kCyan);
  if (m_link.sendCommand(s.link.pollCsqNext ? "AT+CSQ" : "AT+CREG?")) {
    portClosedUnderPoll();
    return;
  }
  if (s.link.networkPollCount == kPollsBeforeNetworkError) {
    s.link.networkPollCount = 0;
    w.Timer1.setEnabled(false);
    w.setCaption(forms::kStandardTitle);
    w.Text3.setBackColor(kSystemMenu);
    w.Label2.setBackColor(kRed);
    m_ctx.dialogs.messageBox(
        "no Service.....check the Hardware-Components \nand push the <INIT> - Button !!!",
        "Network-Error", MessageIcon::Critical, MessageButtons::Ok);
    w.Command1.setEnabled(true);
  }
}

// The user closed the port while the poll ran: stop polling and let INIT start again,
// instead of ending the program.
void InitTimers::portClosedUnderPoll() {
  if (m_ctx.port.deviceLost()) return;
  auto& w = m_ctx.main;
  w.Timer1.setEnabled(false);
  w.Text3.setText("Port close");
  w.Command1.setEnabled(true);
}

void InitTimers::Timer3_Timer() {
  m_ctx.main.Label1.setVisible(!m_ctx.main.Label1.visible());
}

}  // namespace d7o::link
