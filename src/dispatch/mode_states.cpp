#include "dispatch/mode_states.h"

namespace d7o::dispatch {

void ModeStates::gpsStreamReply() {
  auto& w = m_ctx.main;
  // A streaming device answers no AT commands: INIT and PIN make no sense, and a running
  // baud-rate search gives up at its next step.
  w.Frame18.setEnabled(false);
  w.Label25.setCaption("...receive GPS protocols");
  m_ctx.state.link.baudSearchActive = false;
  w.setCaption(forms::kStandardTitle);
  w.m_gps.setVisible(true);
}

}  // namespace d7o::dispatch
