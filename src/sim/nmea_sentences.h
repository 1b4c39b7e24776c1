#pragma once

#include "sim/gps_route.h"
#include "sim/gps_sky.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// What the receiver knows at one second: the time, whether it has a fix, where the
// vehicle is and the satellites in view.
struct GpsReading {
  std::chrono::sys_seconds utc{};
  bool fix = false;
  Vehicle vehicle;
  std::vector<Satellite> sky;
};

// The checksum of a sentence body (between "$" and "*"): XOR of its characters, as two
// upper-case hex digits.
std::string nmeaChecksum(std::string_view body);
// "GPGGA,..." -> "$GPGGA,...*hh\r\n".
std::string nmeaSentence(std::string_view body);

// A coordinate as NMEA writes it, with its hemisphere letter: latitude "ddmm.mmmm,N",
// longitude "dddmm.mmmm,E" (`decimals` places of minutes). Rounding carries into the
// degrees, so 59.99999' never shows as 60'.
std::string latitudeField(double degrees, int decimals = 4);
std::string longitudeField(double degrees, int decimals = 4);

// The sentences, each with its checksum and CR LF. Without a fix GGA has quality 0 and
// no position, RMC status V, GSA fix type 1.
std::string ggaSentence(const GpsReading& r);
std::string rmcSentence(const GpsReading& r);
std::string gsaSentence(const GpsReading& r);
// One GSV for every four satellites in view (one with none in view).
std::string gsvSentences(const GpsReading& r);
std::string gllSentence(const GpsReading& r);
std::string vtgSentence(const GpsReading& r);

// One second's output: the chosen sentences ("GPGGA", "GPRMC", ...) in the receiver's
// own order GGA, GLL, GSA, GSV, RMC, VTG, whatever order they were chosen in.
std::string nmeaSecond(const GpsReading& r, const std::vector<std::string>& chosen);

}  // namespace d7o::sim
