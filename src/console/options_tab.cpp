#include "console/options_tab.h"

#include "device/command_set.h"
#include "link/serial_link.h"

namespace d7o::console {

namespace {
// The device restarts on a break of at least this long.
constexpr platform::Millis kBreakTime{500};
}  // namespace

OptionsTab::OptionsTab(app::Context& ctx, link::SerialLink& link) : m_ctx(ctx), m_link(link) {
  auto& w = m_ctx.main;
  w.Command7.Click.connect([this] { Command7_Click(); });
  w.Command10.Click.connect([this] { Command10_Click(); });
  w.Command15.Click.connect([this] { Command15_Click(); });
  w.Command29.Click.connect([this] { Command29_Click(); });
}

void OptionsTab::Command7_Click() {
  const std::string& initString = m_ctx.main.Text4.text();
  if (initString.empty()) return;
  if (m_link.openForUser()) m_link.sendOrReport(initString);
}

void OptionsTab::Command10_Click() {
  m_link.sendOrReport("AT&W");
}

void OptionsTab::Command15_Click() {
  m_link.sendOrReport(device::kReset);
}

void OptionsTab::Command29_Click() {
  auto& w = m_ctx.main;
  if (!m_ctx.port.isOpen()) {
    // A break on a closed line resets nothing; the lamp and the poll stay as they are.
    m_ctx.showError(link::SerialLink::errorText(
        {platform::port_errors::kPortNotOpen, "Operation valid only when the port is open"}));
    return;
  }
  w.Label2.setBackColor(forms::colors::kRed);
  m_ctx.port.setBreak(true);
  m_link.wait(kBreakTime);
  m_ctx.port.setBreak(false);
  if (m_ctx.ended) return;
  // The device restarts: ask for the SIM again, then for the registration.
  w.Timer1.setEnabled(true);
  m_ctx.state.link.simReady = false;
  m_ctx.state.link.networkPollCount = 0;
}

}  // namespace d7o::console
