#pragma once

#include "forms/color.h"
#include "forms/signal.h"

#include <array>
#include <string>

namespace d7o::gps {

// One row of the analyzer's satellite table. A row is free while `nr` is empty.
struct SatelliteSlot {
  std::string nr;   // satellite number (PRN)
  std::string el;   // elevation
  std::string az;   // azimuth
  std::string lev;  // level, the signal-to-noise ratio in dB
  int bar = 0;      // level bar value
  forms::Color barColor = forms::colors::kGreen;

  bool operator==(const SatelliteSlot&) const = default;
};

inline constexpr int kSatelliteSlots = 11;
inline constexpr int kPrnPlaces = 12;

// The values of the last evaluated NMEA sentences, as the GPS analyzer shows them: each
// value is its display text (the label named beside it) and, where it has one, its colour.
// The designed texts are what the analyzer shows before it is first refreshed.
struct GpsFix {
  std::string utc = "00:00:00";   // Label56
  std::string date = "01.01.00";  // Label54
  std::string lat;                // Label61, decimal degrees
  std::string ns;                 // Label87
  std::string lon;                // Label86, decimal degrees
  std::string ew;                 // Label62
  std::string inUse = "00";       // Label21
  forms::Color inUseColor = forms::colors::kSystemWindowText;
  std::string quality;  // Label17
  forms::Color qualityColor = forms::colors::kSystemWindowText;
  std::string altitude = "0000";                                  // Label14
  std::string speed;                                              // Label59
  std::string speedUnit = "km/h";                                 // Label43
  std::string course;                                             // Label92
  std::string courseShown;                                        // Label15, under the compass
  std::string validity = "v a l i d";                             // Label53
  forms::Color validityColor = forms::colors::kSystemButtonFace;  // Label53 back colour
  std::string mode;                                               // Label63
  std::string fixType;                                            // Label64
  forms::Color fixTypeColor = forms::colors::kSystemWindowText;
  std::array<std::string, kPrnPlaces> prn;                // Label65, Label75 .. Label85
  std::string pdop;                                       // Label66
  std::string hdop;                                       // Label67
  std::string vdop;                                       // Label68
  std::string inView;                                     // Anzahl
  std::array<SatelliteSlot, kSatelliteSlots> satellites;  // rows 1 to 11
  std::string gpsString;                                  // GPSstring, the last received text

  bool operator==(const GpsFix&) const = default;
};

}  // namespace d7o::gps
