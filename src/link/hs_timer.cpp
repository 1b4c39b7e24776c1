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
  const bool cts = m_ctx.port.ctsHolding();
  w.CTS.setFillColor(cts ? kGreen : kRed);
  if (holding(cts)) {
    w.Text3.setText(m_held);
    return;
  }
  w.Text3.setText(cts ? "Port open" : "Port closed or modem not connected");
}

void HsTimer::holdStatus(std::string text) {
  m_ctx.main.Text3.setText(text);
  m_held = std::move(text);
  m_heldUntil = m_ctx.scheduler.now() + kHold;
  m_heldCts = m_ctx.port.ctsHolding();
}

// While held, the text takes the port state's place: what else writes Text3 meanwhile (the
// terminal's hint at every new row) shows until the next tick, as it does over the port
// state. A change of CTS is news and ends the hold at once.
bool HsTimer::holding(bool cts) {
  if (m_held.empty()) return false;
  if (m_ctx.scheduler.now() < m_heldUntil && cts == m_heldCts) return true;
  m_held.clear();
  return false;
}

}  // namespace d7o::link
