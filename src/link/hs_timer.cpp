#include "link/hs_timer.h"

#include <cstdio>

namespace d7o::link {

using namespace forms::colors;

HsTimer::HsTimer(app::Context& ctx) : m_ctx(ctx) {
  m_ctx.main.HS_Timer.Tick.connect([this] { HS_Timer_Timer(); });
}

std::string HsTimer::clockText(const platform::DateTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

void HsTimer::HS_Timer_Timer() {
  m_ctx.scheduler.pumpPending();
  if (m_ctx.ended) return;
  auto& w = m_ctx.main;
  // The GPS time, once it comes, owns the clock label.
  if (m_ctx.state.gps.timeDisplay.empty()) {
    w.Label48.setCaption(clockText(m_ctx.host.localDateTime()));
  }
  if (m_ctx.port.ctsHolding()) {
    w.CTS.setFillColor(kGreen);
    w.Text3.setText("Port open");
  } else {
    w.CTS.setFillColor(kRed);
    w.Text3.setText("Port closed or modem not connected");
  }
}

}  // namespace d7o::link
