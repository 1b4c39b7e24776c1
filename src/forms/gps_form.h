#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"

#include <array>

namespace d7o::forms {

// A point of the analyzer's compass, in the window's pixels.
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// The rectangle that bounds the compass needle (Panel1).
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The GPS analyzer window GPSform: the value labels the evaluation of the last sentences
// fills, the satellite level panel, the compass, and the protocol boxes that choose what
// the device sends. It lives for the whole run; "unloading" it restores its design.
struct GpsForm : Form {
  static constexpr int kSatelliteRows = 11;
  static constexpr int kPrnLabels = 12;
  static constexpr int kLevelMax = 99;  // the right end of a level bar, in dB

  GpsForm();

  // Back to the window as designed: all protocol boxes ticked and red, the satellite panel
  // hidden, km/h, the needle north, not loaded. The values are the analyzer's to show.
  void restoreDesign();

  bool loaded = false;

  // --- time and position ---
  Label Label56{*this, "Label56", "00:00:00"};   // UTC
  Label Label54{*this, "Label54", "01.01.00"};   // date
  Label Label61{*this, "Label61", ""};           // latitude, decimal degrees
  Label Label87{*this, "Label87", ""};           // N or S
  Label Label86{*this, "Label86", ""};           // longitude, decimal degrees
  Label Label62{*this, "Label62", ""};           // E or W
  Label Label21{*this, "Label21", "00"};         // satellites in use
  Label Label53{*this, "Label53", "v a l i d"};  // validity, told by its back colour

  // --- motion ---
  OptionGroup speedGroup;
  OptionButton Option20{*this, "Option20", "km/h", speedGroup, true};
  OptionButton Option21{*this, "Option21", "knots", speedGroup};
  Label Label59{*this, "Label59", ""};      // speed over ground
  Label Label43{*this, "Label43", "km/h"};  // its unit
  Label Label92{*this, "Label92", ""};      // course over ground: what the needle shows
  Label Label15{*this, "Label15", ""};      // the course under the compass

  // --- receiver ---
  Label Label14{*this, "Label14", "0000"};  // geoidal height
  Label Label17{*this, "Label17", ""};      // GPS quality indication

  // --- solution ---
  Label Label63{*this, "Label63", ""};  // mode
  Label Label64{*this, "Label64", ""};  // fix type
  // PRNs of the satellites used in the solution (frame Frame22).
  Label Label65{*this, "Label65", ""};
  Label Label75{*this, "Label75", ""};
  Label Label76{*this, "Label76", ""};
  Label Label77{*this, "Label77", ""};
  Label Label78{*this, "Label78", ""};
  Label Label79{*this, "Label79", ""};
  Label Label80{*this, "Label80", ""};
  Label Label81{*this, "Label81", ""};
  Label Label82{*this, "Label82", ""};
  Label Label83{*this, "Label83", ""};
  Label Label84{*this, "Label84", ""};
  Label Label85{*this, "Label85", ""};
  Label Label66{*this, "Label66", ""};  // position dilution of precision
  Label Label67{*this, "Label67", ""};  // horizontal dilution of precision
  Label Label68{*this, "Label68", ""};  // vertical dilution of precision

  // --- satellite level panel, rows 1 to 11 ---
  Frame GPGSV{*this, "GPGSV", "satellite level control"};
  Label Anzahl{*this, "Anzahl", ""};  // satellites in view
  std::array<Label, kSatelliteRows> Nr = controlArray<Label, kSatelliteRows>(*this, "Nr", "");
  std::array<Label, kSatelliteRows> EL = controlArray<Label, kSatelliteRows>(*this, "EL", "");
  std::array<Label, kSatelliteRows> AZ = controlArray<Label, kSatelliteRows>(*this, "AZ", "");
  std::array<Label, kSatelliteRows> Lev = controlArray<Label, kSatelliteRows>(*this, "Lev", "");
  std::array<ProgressBar, kSatelliteRows> Bar =
      controlArray<ProgressBar, kSatelliteRows>(*this, "Bar");

  Label GPSstring{*this, "GPSstring", ""};  // the last received text

  // --- NMEA statistics panel: how clean the stream is; rows GGA, RMC, GSA, GSV, other ---
  static constexpr int kStatisticsRows = 5;
  Frame NmeaStatistics{*this, "NmeaStatistics", "NMEA statistics"};
  std::array<Label, kStatisticsRows> StatCount{{{*this, "StatCountGGA", ""},
                                                {*this, "StatCountRMC", ""},
                                                {*this, "StatCountGSA", ""},
                                                {*this, "StatCountGSV", ""},
                                                {*this, "StatCountOther", ""}}};
  std::array<Label, kStatisticsRows> StatRate{{{*this, "StatRateGGA", ""},  // per second
                                               {*this, "StatRateRMC", ""},
                                               {*this, "StatRateGSA", ""},
                                               {*this, "StatRateGSV", ""},
                                               {*this, "StatRateOther", ""}}};
  // Red once a sentence of the row came with a wrong checksum.
  std::array<Label, kStatisticsRows> StatBad{{{*this, "StatBadGGA", ""},
                                              {*this, "StatBadRMC", ""},
                                              {*this, "StatBadGSA", ""},
                                              {*this, "StatBadGSV", ""},
                                              {*this, "StatBadOther", ""}}};
  std::array<Label, kStatisticsRows> StatAge{{{*this, "StatAgeGGA", ""},  // since the last
                                              {*this, "StatAgeRMC", ""},
                                              {*this, "StatAgeGSA", ""},
                                              {*this, "StatAgeGSV", ""},
                                              {*this, "StatAgeOther", ""}}};
  Label StatBytes{*this, "StatBytes", ""};                      // bytes received
  Label StatWithoutChecksum{*this, "StatWithoutChecksum", ""};  // sentences without "*hh"
  Label StatNoNmea{*this, "StatNoNmea", ""};                    // lines that are no NMEA
  CommandButton StatReset{*this, "StatReset", "reset statistics"};
  // Refreshes the panel while it is shown.
  Timer StatisticsTimer{"StatisticsTimer", 1000};

  // --- compass: the needle runs from its free end (X1, Y1) to the fixed centre ---
  static constexpr Rect kPanel1{20, 20, 180, 180};
  Line Line1{*this, "Line1"};

  // --- protocol choice and buttons ---
  CheckBox Check1{*this, "Check1", "GPGSV", true};
  CheckBox Check2{*this, "Check2", "GPGGA", true};
  CheckBox Check3{*this, "Check3", "GPRMC", true};
  CheckBox Check4{*this, "Check4", "GPGSA", true};
  CheckBox Check5{*this, "Check5", "all", true};
  CheckBox Check6{*this, "Check6", "show satellite level"};
  CheckBox CheckStatistics{*this, "CheckStatistics", "show statistics"};
  CommandButton Command1{*this, "Command1", "refresh display"};
  CommandButton Command3{*this, "Command3", "r e s e t    d i s p l a y"};
  Menu m_exit{*this, "m_exit", "E&xit"};

  // The four sentence boxes in the order the marking tests them: GPGSV, GPGGA, GPRMC, GPGSA.
  // Every timer of the window: attached at the start, stopped at the end.
  std::array<Timer*, 1> timers() { return {&StatisticsTimer}; }
  void attachTimers(platform::Scheduler* scheduler);

  std::array<CheckBox*, 4> sentenceBoxes() { return {&Check1, &Check2, &Check3, &Check4}; }
  std::array<Label*, kPrnLabels> prnLabels() {
    return {&Label65, &Label75, &Label76, &Label77, &Label78, &Label79,
            &Label80, &Label81, &Label82, &Label83, &Label84, &Label85};
  }
};

}  // namespace d7o::forms
