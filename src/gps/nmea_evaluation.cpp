#include "gps/nmea_evaluation.h"

#include "app/text.h"
#include "gps/nmea_fields.h"

#include <array>
#include <cmath>

namespace d7o::gps {

// "4807.038" is 48 degrees and 7.038 minutes: ddmm.mmm (dddmm.mmm for longitudes).
std::string ConvertToDegrees(std::string_view coordinate) {
  const double v = app::numericValue(coordinate);
  // Only a number too long for a double is not finite; "inf" says so, "nan" would not.
  if (!std::isfinite(v)) return nmea::generalText(v);
  const double degrees = std::floor(v / 100);
  return nmea::generalText(degrees + (v - 100 * degrees) / 60);
}

std::string markedSentence(std::string_view reply) {
  // Tested in this order, each match overriding the one before: a reply that holds two
  // sentences is evaluated as the later of them in this list.
  // Only a sentence with its "$" counts: the device's own lines name the sentences too
  // ("&CNF GPS,GPRMC,100" echoed, "$CNF GPS,GPRMC;GPGGA,100" in its report), and they
  // carry no values to show.
  static constexpr std::array<std::string_view, 4> kSentences = {"$GPGSV", "$GPGGA", "$GPRMC",
                                                                 "$GPGSA"};
  std::string_view marked;
  for (const auto sentence : kSentences) {
    if (reply.find(sentence) != std::string_view::npos) marked = sentence.substr(1);
  }
  return std::string(marked);
}

std::string evaluateReply(const std::string& reply, GpsFix& fix, NmeaState& state) {
  fix.gpsString = reply;
  const std::string marked = markedSentence(reply);
  if (marked == "GPGGA") {
    CalculateGPGGA(reply, fix);
  } else if (marked == "GPRMC") {
    CalculateGPRMC(reply, fix, state);
  } else if (marked == "GPGSA") {
    CalculateGPGSA(reply, fix);
  } else if (marked == "GPGSV") {
    CalculateGPGSV(reply, fix, state);
  }
  return marked;
}

void GPSformRefresh(GpsFix& fix) {
  for (std::string* text :
       {&fix.altitude, &fix.courseShown, &fix.quality, &fix.inUse, &fix.validity, &fix.date,
        &fix.utc, &fix.speed, &fix.lat, &fix.ew, &fix.mode, &fix.fixType, &fix.pdop, &fix.hdop,
        &fix.vdop, &fix.lon, &fix.ns, &fix.course}) {
    text->clear();
  }
  for (auto& prn : fix.prn) prn.clear();
}

void resetSatelliteDisplay(GpsFix& fix) {
  for (auto& row : fix.satellites) {
    row.nr.clear();
    row.el.clear();
    row.az.clear();
    row.lev.clear();
    row.bar = 0;
  }
  fix.inView.clear();
}

// "$GPRMC,123519,A,..." -> "12.35.19"
std::string gpsClockText(std::string_view reply) {
  if (reply.find("$GPGGA") == std::string_view::npos &&
      reply.find("$GPRMC") == std::string_view::npos) {
    return {};
  }
  const auto comma = nmea::position(reply, ",");
  // Without a comma there is no time field; the name itself is no time to show.
  if (!comma) return {};
  return nmea::splitInPairs(app::mid(reply, *comma + 1, 6), '.');
}

}  // namespace d7o::gps
