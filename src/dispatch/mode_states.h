#pragma once

#include "app/context.h"

namespace d7o::dispatch {

// The modes that change how every reply is treated: GPS receive mode, entered when the
// device streams NMEA sentences and kept for the rest of the run.
class ModeStates {
 public:
  explicit ModeStates(app::Context& ctx) : m_ctx(ctx) {}

  // Reply row 10: an NMEA sentence arrived.
  void gpsSentenceSeen() { m_ctx.state.dispatch.gpsReceiveMode = true; }
  // Reply row 11: any reply while the device streams GPS data.
  void gpsStreamReply();

 private:
  app::Context& m_ctx;
};

}  // namespace d7o::dispatch
