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

 private:
  app::Context& m_ctx;
};

}  // namespace d7o::link
