#include "app/text.h"
#include "gps/nmea_evaluation.h"
#include "gps/nmea_fields.h"

namespace d7o::gps {

namespace {
using forms::colors::kGreen;
using forms::colors::kRed;
}  // namespace

// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
//   1  123519     fix taken at 12:35:19 UTC
//   2  4807.038   latitude 48 deg 07.038'
//   3  N          north (S south)
//   4  01131.000  longitude 11 deg 31.000'
//   5  E          east (W west)
//   6  1          fix quality: 0 none, 1 GPS fix, 2 differential GPS fix
//   7  08         satellites in use
//   8  0.9        horizontal dilution of precision (not shown)
//   9  545.4      altitude above mean sea level, shown as received
//  10  M          unit of the altitude; 11 and 12 geoid height; 13 and 14 DGPS data
void CalculateGPGGA(const std::string& text, GpsFix& fix) {
  const nmea::CommaTable commas(text);

  if (const auto time = commas.field(1)) {
    fix.utc = time->empty() ? "00:00:00" : nmea::splitInPairs(*time, ':');
  }

  if (const auto inUse = commas.field(7)) {
    fix.inUse = *inUse;
    fix.inUseColor = *inUse == "00" ? kRed : kGreen;
  }

  if (const auto lat = commas.field(2)) fix.lat = lat->empty() ? *lat : ConvertToDegrees(*lat);
  if (const auto ns = commas.field(3)) fix.ns = *ns;
  if (const auto lon = commas.field(4)) fix.lon = lon->empty() ? *lon : ConvertToDegrees(*lon);
  if (const auto ew = commas.field(5)) fix.ew = *ew;

  if (const auto quality = commas.field(6)) {
    const double q = app::numericValue(*quality);  // empty or no number reads as 0
    if (q == 0) {
      fix.quality = "fix not available";
      fix.qualityColor = kRed;
    } else if (q == 1) {
      fix.quality = "Non-differential GPS fix available";
      fix.qualityColor = kGreen;
    } else if (q == 2) {
      fix.quality = "Differential GPS fix available";
      fix.qualityColor = kGreen;
    }
  }

  // Field 9 exists exactly when the sentence holds ten commas.
  if (const auto altitude = commas.field(9)) fix.altitude = *altitude;
}

}  // namespace d7o::gps
