#include "console/link_health.h"

#include "link/error_texts.h"

namespace d7o::console {

LinkHealth::LinkHealth(app::Context& ctx, dispatch::ReceiveHandler& receiver,
                       link::HsTimer& hsTimer)
    : m_ctx(ctx), m_receiver(receiver), m_hsTimer(hsTimer) {
  m_receiver.setReplyShown([this](const std::string& reply) { replyShown(reply); });
  // Sampled on the indicators' own tick, by the clock rather than by counting ticks: a tick
  // that comes due during a long wait is skipped.
  m_ctx.main.HS_Timer.Tick.connect([this] { tick(); });
  m_ctx.main.PortState.setToolTip("what the port received in the last seconds");
}

// The technician reads "+CME ERROR: 16" in the terminal and its meaning in the status
// field, without a table at hand; the row's own tooltip keeps it for later.
void LinkHealth::replyShown(const std::string& reply) {
  if (const auto e = link::explainError(reply)) m_hsTimer.holdStatus(link::statusText(*e));
}

void LinkHealth::tick() {
  if (m_ctx.ended) return;
  if (!m_window.sample(m_ctx.scheduler.now(), m_receiver.counters())) return;
  m_ctx.main.PortState.setCaption(link::portStateText(m_window.reading()));
}

}  // namespace d7o::console
