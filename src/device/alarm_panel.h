#pragma once

#include "app/context.h"

#include <string>

namespace d7o::link {
class SerialLink;
}

namespace d7o::device {

// The "R7O-3 Alarm" tab: the three alarm inputs IN1..IN3 (pins 11, 12, 13) and the output
// OUT1, each assembled into its own editable line (Text24..Text26, Text28) and sent by the
// button beside it.
class AlarmPanel {
 public:
  AlarmPanel(app::Context& ctx, link::SerialLink& link);

  // Rebuilds the four lines from the controls. Clearing a position tick re-enters it through
  // the box's Click; the nested run builds the same lines.
  void CreateAlarmSettings();

  void Command28_Click();  // "clear all fail messages", after asking
  void Command32_Click();  // "read Configuration"
  void Command52_Click();  // "Sample": shows or hides the wiring sample
  // OUT1's times: "+" and "-" by 10, held inside 10..99999.
  static std::string steppedTime(const std::string& caption, int delta);

 private:
  app::Context& m_ctx;
  link::SerialLink& m_link;
};

}  // namespace d7o::device
