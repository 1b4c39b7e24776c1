#include "app/text.h"
#include "gps/nmea_evaluation.h"
#include "gps/nmea_fields.h"

namespace d7o::gps {

namespace {
using forms::colors::kGreen;
using forms::colors::kRed;

constexpr double kKmhPerKnot = 1.852;

// Time and date are the first six characters of their fields ("123519.00" is 12:35:19); an
// empty field, as a receiver sends it before its first fix ("$GPRMC,,V,,,,,,,,,,N*53"),
// shows as zeros. A sentence cut inside the field gives what is there.
std::string sixOfField(const std::string& text, const nmea::CommaTable& commas, std::size_t k) {
  if (const auto field = commas.field(k)) return field->substr(0, 6);
  return app::mid(text, *commas.comma(k - 1) + 1, 6);
}

}  // namespace

// $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A
//   1  123519     fix taken at 12:35:19 UTC
//   2  A          status: A valid, V warning
//   3  4807.038   latitude 48 deg 07.038'
//   4  N          north (S south)
//   5  01131.000  longitude 11 deg 31.000'
//   6  E          east (W west)
//   7  022.4      speed over ground in knots
//   8  084.4      course over ground, degrees true
//   9  230394     date: 23 March 1994
//  10  003.1      magnetic variation (not shown); 11 W its direction
void CalculateGPRMC(const std::string& text, GpsFix& fix, NmeaState& state) {
  const nmea::CommaTable commas(text);

  if (commas.comma(0)) {
    const std::string time = sixOfField(text, commas, 1);
    fix.utc = time.empty() ? "00:00:00" : nmea::splitInPairs(time, ':');
  }

  if (commas.comma(8)) {
    const std::string date = sixOfField(text, commas, 9);
    fix.date = date.empty() ? "00.00.00" : nmea::splitInPairs(date, '.');
  }

  if (const auto lat = commas.field(3)) fix.lat = lat->empty() ? *lat : ConvertToDegrees(*lat);
  if (const auto ns = commas.field(4)) fix.ns = *ns;
  if (const auto lon = commas.field(5)) fix.lon = lon->empty() ? *lon : ConvertToDegrees(*lon);
  if (const auto ew = commas.field(6)) fix.ew = *ew;

  if (const auto knots = commas.field(7)) {
    if (state.speedInKmh) {
      state.gpsSpeed = app::numericValue(*knots) * kKmhPerKnot;
      fix.speedUnit = "km/h";
    } else {
      state.gpsSpeed = app::numericValue(*knots);
      fix.speedUnit = "knots";
    }
    fix.speed = nmea::generalText(state.gpsSpeed);
  }

  if (const auto course = commas.field(8)) {
    fix.course = nmea::generalText(app::numericValue(*course));
    fix.courseShown = fix.course;
  }

  // Only the status field decides: an "A" elsewhere (in the checksum of a "V" sentence)
  // does not make a fix valid.
  if (const auto status = commas.field(2)) {
    if (*status == "A") {
      fix.validity = "3D GPS available";
      fix.validityColor = kGreen;
    } else {
      fix.validity = "v a l i d";
      fix.validityColor = kRed;
    }
  }
}

}  // namespace d7o::gps
