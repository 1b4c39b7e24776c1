#include "forms/gps_form.h"

namespace d7o::forms {

GpsForm::GpsForm() : Form("GPSform", "GPS-Analyzer") {
  resize(900, 620);
  for (ProgressBar& bar : Bar) {
    bar.setMax(kLevelMax);
    bar.setBarColor(colors::kGreen);
  }
  restoreDesign();
}

void GpsForm::restoreDesign() {
  loaded = false;
  setVisible(false);
  for (CheckBox* box : {&Check1, &Check2, &Check3, &Check4, &Check5}) {
    box->setBackColor(colors::kRed);
    box->restoreDesignValue(true);
  }
  Check6.restoreDesignValue(false);
  for (CheckBox* box : {&Check1, &Check2, &Check3, &Check4}) {
    box->setToolTip("click to change NMEA protocol");
  }
  Check5.setToolTip("click to activate all NMEA protocols");
  Check6.setToolTip("show/hide satellite level");
  GPGSV.setVisible(false);
  Check6.setCaption("show satellite level");
  CheckStatistics.restoreDesignValue(false);
  CheckStatistics.setToolTip("show/hide the NMEA statistics");
  NmeaStatistics.setVisible(false);
  CheckStatistics.setCaption("show statistics");
  StatisticsTimer.setEnabled(false);
  Option20.select();
  const Point centre{kPanel1.left + kPanel1.width / 2, kPanel1.top + kPanel1.height / 2};
  Line1.setPoints(centre.x, kPanel1.top, centre.x, centre.y);
}

void GpsForm::attachTimers(platform::Scheduler* scheduler) {
  for (Timer* t : timers()) t->attach(scheduler);
}

}  // namespace d7o::forms
