#pragma once

#include "app/context.h"

namespace d7o::link {
class SerialLink;
}

namespace d7o::console {

// The service functions of the "Options" tab: the initialisation string by hand, the
// module's profile, and the two resets of the alarm/GPS device.
class OptionsTab {
 public:
  OptionsTab(app::Context& ctx, link::SerialLink& link);

  void Command7_Click();   // "Send to D7O"
  void Command10_Click();  // "save configuration"
  void Command15_Click();  // "Reset R7O-3 Alarm/GPS"
  void Command29_Click();  // "Reset D7O-1/3 (TX-break)"

 private:
  app::Context& m_ctx;
  link::SerialLink& m_link;
};

}  // namespace d7o::console
