#pragma once

#include "app/context.h"
#include "gps/nmea_statistics.h"

#include <optional>
#include <string>

namespace d7o::gps {

// The analyzer's NMEA statistics panel: shown and hidden by its box like the satellite
// panel, refreshed once a second while it shows (a hidden panel costs nothing), and
// emptied by its own reset button; the counting itself runs for the whole run, whether
// the panel shows or not, so opening it shows the whole history.
class StatisticsPanel {
 public:
  StatisticsPanel(app::Context& ctx, NmeaStatistics& statistics);

  void CheckStatistics_Click();
  void StatReset_Click();
  void StatisticsTimer_Tick();
  // Writes the counters into the panel's labels (a label whose text stays is not touched).
  void show();

 private:
  app::Context& m_ctx;
  NmeaStatistics& m_statistics;
};

// "12", "1.0" a second, "0.4 s" / "12 s" since the last, "-" before the first.
std::string rateText(double perSecond);
std::string ageText(std::optional<NmeaStatistics::Millis> age);

}  // namespace d7o::gps
