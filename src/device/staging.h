#pragma once

#include "app/context.h"

namespace d7o::link {
class SerialLink;
}

namespace d7o::device {

// The staging field of the "R7O-3 GPS" tab and the device's answers to its lines.
class Staging {
 public:
  Staging(app::Context& ctx, link::SerialLink& link);

  // "send to V7-3-I GPS": sends what stands in Text10, then waits for a change of it.
  void Command22_Click();
  void Text10_Change();

  // Reply rows: "$CNFOK" (17) and "$ERROR" (32).
  void configurationAccepted();
  void commandRejected();

 private:
  app::Context& m_ctx;
  link::SerialLink& m_link;
};

}  // namespace d7o::device
