#pragma once

#include "app/context.h"

#include <string>

namespace d7o::link {

// The serial device vanishing under an open port (a USB adapter pulled out): the user is
// told once, and the program reopens the port by itself when the device is back.
class PortWatch {
 public:
  explicit PortWatch(app::Context& ctx);

  // The port's 100 ms tick.
  void tick();
  bool waiting() const { return m_waiting; }

  // How often a gone device is looked for again.
  static constexpr int kTicksBetweenTries = 10;

 private:
  void showUnknown();

  app::Context& m_ctx;
  bool m_waiting = false;
  int m_ticks = 0;
  // The other device last named at the port, so it is named once.
  std::string m_strangerReported;
};

}  // namespace d7o::link
