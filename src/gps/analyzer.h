#pragma once

#include "app/context.h"
#include "gps/gps_fix.h"
#include "gps/nmea_statistics.h"
#include "gps/statistics_panel.h"

#include <functional>
#include <string>

namespace d7o::link {
class SerialLink;
}

namespace d7o::gps {

// The GPS analyzer window's behaviour and the GPS controls of the main window: the
// evaluation of streamed sentences into the analyzer, the protocol choice that tells the
// device what to send, the satellite panel, the compass and the GPS clock.
class Analyzer {
 public:
  // `activateMain` runs when the main window becomes active again after the analyzer.
  Analyzer(app::Context& ctx, link::SerialLink& link, std::function<void()> activateMain);

  // Reply rows.
  void intervalOk();           // 9: "OK" while "&REQ INT" waits for it
  void evaluateStreamReply();  // 11: the evaluation part of GPS receive mode
  void showClock();            // 12: GPS time in the main window, else the PC clock

  // The window.
  void load();
  void activate();
  void m_gps_Click();
  void m_exit_Click();
  void selectProtocol(forms::CheckBox& box);
  void selectAllProtocols();
  void Check6_Click();
  void resetDisplay();  // "r e s e t    d i s p l a y"
  void refresh();       // "refresh display"

  // The values of the last evaluated sentences; the window shows them.
  const GpsFix& fix() const { return m_fix; }
  // What the stream brought since the start (or the panel's reset).
  const NmeaStatistics& statistics() const { return m_statistics; }

  // Main window buttons.
  void Command31_Click();  // "GPS"
  void Command30_Click();  // "GPS-continue"
  void Command8_Click();   // "read GPS-String"

 private:
  void discardInput();
  // Opens the port where it is closed; a port that cannot be opened is reported.
  bool openPort();
  void colourMarked(const std::string& marked);
  void showFix();

  app::Context& m_ctx;
  link::SerialLink& m_link;
  std::function<void()> m_activateMain;
  GpsFix m_fix;
  NmeaStatistics m_statistics;
  StatisticsPanel m_statisticsPanel{m_ctx, m_statistics};
  bool m_selecting = false;
  // A sentence has been evaluated into the window since it was loaded.
  bool m_sentenceShown = false;
};

}  // namespace d7o::gps
