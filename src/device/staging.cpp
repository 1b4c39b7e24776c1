#include "device/staging.h"

#include "link/serial_link.h"

namespace d7o::device {

Staging::Staging(app::Context& ctx, link::SerialLink& link) : m_ctx(ctx), m_link(link) {
  auto& w = m_ctx.main;
  w.Command22.Click.connect([this] { Command22_Click(); });
  w.Text10.Change.connect([this] { Text10_Change(); });
}

void Staging::Command22_Click() {
  // Sent once: the button waits for a new line before it sends again. Nothing sent (the
  // port closed, reported by the send): it stays, for a second try once the port is open.
  if (m_link.sendOrReport(m_ctx.main.Text10.text())) m_ctx.main.Command22.setEnabled(false);
}

void Staging::Text10_Change() {
  m_ctx.main.Command22.setEnabled(true);
}

void Staging::configurationAccepted() {
  m_ctx.main.setCaption(forms::kStandardTitle);
  m_ctx.main.Text3.setBackColor(forms::colors::kSystemMenu);
}

void Staging::commandRejected() {
  m_ctx.main.Command31.setVisible(false);
}

}  // namespace d7o::device
