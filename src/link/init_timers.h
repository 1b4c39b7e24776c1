#pragma once

#include "app/context.h"

namespace d7o::link {

class SerialLink;

// The timers that pace the module dialogue: Timer2 wakes the module until it answers,
// Timer1 polls field strength and registration, Timer3 blinks "incoming Call".
class InitTimers {
 public:
  static constexpr int kWakeUpTicks = 30;
  static constexpr int kPollsBeforeNetworkError = 3;

  InitTimers(app::Context& ctx, SerialLink& link);

  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();

 private:
  void portClosedUnderPoll();

  app::Context& m_ctx;
  SerialLink& m_link;
};

}  // namespace d7o::link
