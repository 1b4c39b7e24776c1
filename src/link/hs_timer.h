#pragma once

#include "app/context.h"

#include <string>

namespace d7o::link {

// The 100 ms tick that keeps the indicators current: the clock label and the CTS lamp
// with the port state in Text3.
class HsTimer {
 public:
  explicit HsTimer(app::Context& ctx);
  void HS_Timer_Timer();

  // "08:05:03"
  static std::string clockText(const platform::DateTime& t);

  // Shows `text` in Text3 in place of the port state for kHold, so it can be read: the
  // tick writes the port state ten times a second. The CTS lamp goes on with every tick;
  // a change of CTS ends the hold at once.
  void holdStatus(std::string text);
  static constexpr platform::Millis kHold{5000};

 private:
  bool holding(bool cts);

  app::Context& m_ctx;
  std::string m_held;  // empty: no hold
  platform::Millis m_heldUntil{0};
  bool m_heldCts = false;
};

}  // namespace d7o::link
