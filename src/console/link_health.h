#pragma once

#include "app/context.h"
#include "dispatch/receive_handler.h"
#include "link/hs_timer.h"
#include "link/port_state.h"

#include <string>

namespace d7o::console {

// The link's health as the technician sees it at a glance: the meaning of a numbered error
// report in the status field, and beside the CTS lamp what the port receives and how fast.
class LinkHealth {
 public:
  LinkHealth(app::Context& ctx, dispatch::ReceiveHandler& receiver, link::HsTimer& hsTimer);

 private:
  void replyShown(const std::string& reply);
  void tick();

  app::Context& m_ctx;
  dispatch::ReceiveHandler& m_receiver;
  link::HsTimer& m_hsTimer;
  link::PortStateWindow m_window;
};

}  // namespace d7o::console
