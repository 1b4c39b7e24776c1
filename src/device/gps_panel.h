#pragma once

#include "app/context.h"

#include <array>
#include <string>
#include <string_view>

namespace d7o::device {

// The NMEA sentences the device can send, in the order List5 offers them.
inline constexpr std::array<std::string_view, 6> kNmeaSentences = {"GPGGA", "GPGSV", "GPRMC",
                                                                   "GPGSA", "GPGLL", "GPVTG"};

// The "R7O-3 GPS" tab: the device's clock, mode, message destination, NMEA output,
// ignition line and password. Each builder writes its line into the staging field Text10,
// from where "send to V7-3-I GPS" sends it; most run by themselves when one of their inputs
// changes, so Text10 always holds the line of what the user touched last.
class GpsPanel {
 public:
  explicit GpsPanel(app::Context& ctx);

  // Start-up: the sentences of List5, none chosen.
  void fillSentenceList();

  void Command19_Click();  // "CNF TIME" from the PC clock
  void SetMode();          // the mode letters from the mode controls, then "CNF MODE"
  void Command20_Click();  // "CNF MODE"
  void Command21_Click();  // "CNF MSG"
  void List5_Click();      // the chosen sentences, then "CNF GPS"
  void Command23_Click();  // "CNF GPS" with the sentences chosen so far
  void Command25_Click();  // "Password"
  void Command45_Click();  // "Ignition"

 private:
  void stage(std::string line);

  app::Context& m_ctx;
};

}  // namespace d7o::device
