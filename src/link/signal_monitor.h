#pragma once

#include "app/context.h"
#include "forms/signal_form.h"
#include "forms/timer.h"
#include "link/serial_link.h"
#include "link/signal_trend.h"

#include <optional>
#include <string>
#include <string_view>

namespace d7o::link {

// The signal window's behaviour: every "+CSQ:" and "+CREG:" reply the program receives
// goes into the trend, and the monitor, once switched on, asks the modem for the field
// strength while the dialogue is idle.
//
// The monitor's only request is "AT+CSQ": its answer fires no reply row beyond the gauge.
// A registration query would ("+CREG" after the initialisation sends the SMS settings,
// which switches a PDU-mode user back to text mode), and so would an operator query
// against a modem that does not know it ("ERROR" hides the GPS button), so the
// registration and the operator come only from replies the program gets anyway.
class SignalMonitor {
 public:
  // The monitor looks this often whether it may ask.
  static constexpr platform::Millis kLookEvery{500};
  // A command of the user (or of the program) is left alone this long after it was sent,
  // and longer while its answer has not ended with a final result...
  static constexpr platform::Millis kQuietAfterCommand{2000};
  // ...but at most this long: a command without a final result is taken as answered.
  static constexpr platform::Millis kAnswerLimit{30000};
  // The plot's horizontal resolution: at most twice this many points a line.
  static constexpr int kPlotSlots = 1000;

  SignalMonitor(app::Context& ctx, SerialLink& link);
  SignalMonitor(const SignalMonitor&) = delete;
  SignalMonitor& operator=(const SignalMonitor&) = delete;

  // A complete reply, normalised, before the reply rows see it.
  void replyArrived(std::string_view reply);

  const SignalTrend& trend() const { return m_trend; }
  forms::Timer& timer() { return m_timer; }

  // The main window's "Signal" entry: shows the window (it stays beside the main window).
  void m_signal_Click();
  void CheckMonitor_Click();
  void SliderInterval_Change();
  void SignalSpan_Click();
  void CommandExport_Click();
  void CommandClearTrend_Click();
  void CommandClose_Click();

 private:
  void lineSent(std::string_view line);
  void look();
  // Why the monitor may not ask now; nothing when it may.
  std::optional<std::string> whyNotNow() const;
  void stop(const std::string& why);
  void showState(const std::string& state);
  void showReadings();
  platform::Millis interval() const;
  std::int64_t utcNow() const;

  app::Context& m_ctx;
  SerialLink& m_link;
  forms::SignalForm& m_form;
  SignalTrend m_trend;
  forms::Timer m_timer{"SignalTimer", static_cast<int>(kLookEvery.count())};
  // The trend's times: the PC's clock when the program started, moved on by the
  // scheduler's monotonic clock, so a clock set meanwhile does not fold the plot.
  std::int64_t m_utcAtStart;
  platform::Millis m_clockAtStart;

  bool m_sendingOwn = false;
  bool m_ownAwaiting = false;  // "AT+CSQ" sent, its final result not yet in
  platform::Millis m_ownSentAt{0};
  std::optional<platform::Millis> m_lastPoll;
  bool m_otherAwaiting = false;  // another command's final result not yet in
  std::optional<platform::Millis> m_otherSentAt;
  std::uint64_t m_shownRevision = ~std::uint64_t{0};
  std::int64_t m_shownAt = 0;
  std::string m_stopReason;  // why the monitor switched itself off
  bool m_placed = false;     // the window has its place on the screen
};

}  // namespace d7o::link
