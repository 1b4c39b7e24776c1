#include "sim/nmea_sentences.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace d7o::sim {

namespace {

constexpr double kKmhPerKnot = 1.852;
// The receiver's model of the earth's field: a fixed variation, given as RMC writes it.
constexpr double kVariation = 3.1;
constexpr std::string_view kVariationSide = "W";
constexpr std::string_view kGeoidHeight = "46.9";

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
  if (n < 0) return {};
  return std::string(buffer, std::min(static_cast<std::size_t>(n), sizeof buffer - 1));
}

std::string join(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) out += (i == 0 ? "" : ",") + fields[i];
  return out;
}

// "hhmmss" and "ddmmyy" of the receiver's clock.
std::string timeField(std::chrono::sys_seconds utc) {
  using namespace std::chrono;
  const hh_mm_ss<seconds> t{utc - floor<days>(utc)};
  return format("%02d%02d%02d", static_cast<int>(t.hours().count()),
                static_cast<int>(t.minutes().count()), static_cast<int>(t.seconds().count()));
}

std::string dateField(std::chrono::sys_seconds utc) {
  using namespace std::chrono;
  const year_month_day d{floor<days>(utc)};
  return format("%02u%02u%02d", static_cast<unsigned>(d.day()), static_cast<unsigned>(d.month()),
                ((static_cast<int>(d.year()) % 100) + 100) % 100);
}

// Degrees with one decimal in five places ("084.4"); a course that rounds up to 360.0 is
// 000.0.
std::string courseText(double degrees) {
  const long long tenths = std::llround(degrees * 10) % 3600;
  return format("%03lld.%lld", (tenths + 3600) % 3600 / 10, (tenths + 3600) % 10);
}

std::string speedText(double value) {
  return format("%05.1f", std::max(0.0, value));
}

std::string oneDecimal(double value) {
  return format("%.1f", value);
}

std::string coordinate(double degrees, int degreeDigits, int decimals, char positive,
                       char negative) {
  decimals = std::clamp(decimals, 0, 6);
  long long scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const long long total = std::llround(std::fabs(degrees) * 60 * static_cast<double>(scale));
  const long long whole = total / (60 * scale);
  const long long minutes = total % (60 * scale);
  std::string text = format("%0*lld%02lld", degreeDigits, whole, minutes / scale);
  if (decimals > 0) text += format(".%0*lld", decimals, minutes % scale);
  const char side = degrees < 0 && total > 0 ? negative : positive;
  return text + "," + side;
}

struct Dops {
  double pdop;
  double hdop;
  double vdop;
};

// The more satellites in use, the better the geometry.
Dops dopsFor(std::size_t used) {
  const double hdop = 0.6 + 4.0 / static_cast<double>(std::max<std::size_t>(used, 1));
  const double pdop = hdop * 1.7;
  return {pdop, hdop, std::sqrt(pdop * pdop - hdop * hdop)};
}

}  // namespace

std::string nmeaChecksum(std::string_view body) {
  unsigned sum = 0;
  for (const char c : body) sum ^= static_cast<unsigned char>(c);
  return format("%02X", sum);
}

std::string nmeaSentence(std::string_view body) {
  return "$" + std::string(body) + "*" + nmeaChecksum(body) + "\r\n";
}

std::string latitudeField(double degrees, int decimals) {
  return coordinate(degrees, 2, decimals, 'N', 'S');
}

std::string longitudeField(double degrees, int decimals) {
  return coordinate(degrees, 3, decimals, 'E', 'W');
}

std::string ggaSentence(const GpsReading& r) {
  if (!r.fix) return nmeaSentence("GPGGA," + timeField(r.utc) + ",,,,,0,00,,,M,,M,,");
  const std::size_t used = satellitesInUse(r.sky).size();
  return nmeaSentence(join({"GPGGA", timeField(r.utc), latitudeField(r.vehicle.latitude),
                            longitudeField(r.vehicle.longitude), "1", format("%02zu", used),
                            oneDecimal(dopsFor(used).hdop), oneDecimal(r.vehicle.altitude), "M",
                            std::string(kGeoidHeight), "M", "", ""}));
}

std::string rmcSentence(const GpsReading& r) {
  if (!r.fix) {
    return nmeaSentence(
        join({"GPRMC", timeField(r.utc), "V", "", "", "", "", "", "", dateField(r.utc), "", ""}));
  }
  return nmeaSentence(
      join({"GPRMC", timeField(r.utc), "A", latitudeField(r.vehicle.latitude),
            longitudeField(r.vehicle.longitude), speedText(r.vehicle.speedKmh / kKmhPerKnot),
            courseText(r.vehicle.course), dateField(r.utc), speedText(kVariation),
            std::string(kVariationSide)}));
}

std::string gsaSentence(const GpsReading& r) {
  std::vector<std::string> fields{"GPGSA", "A", r.fix ? "3" : "1"};
  const std::vector<Satellite> used = r.fix ? satellitesInUse(r.sky) : std::vector<Satellite>{};
  for (std::size_t i = 0; i < 12; ++i) {
    fields.push_back(i < used.size() ? format("%02d", used[i].prn) : "");
  }
  if (r.fix) {
    const Dops d = dopsFor(used.size());
    fields.push_back(oneDecimal(d.pdop));
    fields.push_back(oneDecimal(d.hdop));
    fields.push_back(oneDecimal(d.vdop));
  } else {
    fields.insert(fields.end(), 3, "");
  }
  return nmeaSentence(join(fields));
}

std::string gsvSentences(const GpsReading& r) {
  const std::size_t inView = r.sky.size();
  const std::size_t total = std::max<std::size_t>(1, (inView + 3) / 4);
  std::string out;
  for (std::size_t n = 0; n < total; ++n) {
    std::vector<std::string> fields{"GPGSV", std::to_string(total), std::to_string(n + 1),
                                    format("%02zu", inView)};
    for (std::size_t i = n * 4; i < std::min(inView, n * 4 + 4); ++i) {
      const Satellite& s = r.sky[i];
      fields.push_back(format("%02d", s.prn));
      fields.push_back(format("%02d", std::clamp(s.elevation, 0, 90)));
      fields.push_back(format("%03d", ((s.azimuth % 360) + 360) % 360));
      fields.push_back(s.snr ? format("%02d", std::clamp(*s.snr, 0, 99)) : "");
    }
    out += nmeaSentence(join(fields));
  }
  return out;
}

std::string gllSentence(const GpsReading& r) {
  if (!r.fix) return nmeaSentence(join({"GPGLL", "", "", "", "", timeField(r.utc), "V"}));
  return nmeaSentence(join({"GPGLL", latitudeField(r.vehicle.latitude),
                            longitudeField(r.vehicle.longitude), timeField(r.utc), "A"}));
}

std::string vtgSentence(const GpsReading& r) {
  if (!r.fix) return nmeaSentence("GPVTG,,T,,M,,N,,K");
  // Variation west: the magnetic course is the larger.
  return nmeaSentence(join(
      {"GPVTG", courseText(r.vehicle.course), "T", courseText(r.vehicle.course + kVariation + 360),
       "M", speedText(r.vehicle.speedKmh / kKmhPerKnot), "N", speedText(r.vehicle.speedKmh), "K"}));
}

std::string nmeaSecond(const GpsReading& r, const std::vector<std::string>& chosen) {
  const auto has = [&chosen](std::string_view name) {
    return std::find(chosen.begin(), chosen.end(), name) != chosen.end();
  };
  std::string out;
  if (has("GPGGA")) out += ggaSentence(r);
  if (has("GPGLL")) out += gllSentence(r);
  if (has("GPGSA")) out += gsaSentence(r);
  if (has("GPGSV")) out += gsvSentences(r);
  if (has("GPRMC")) out += rmcSentence(r);
  if (has("GPVTG")) out += vtgSentence(r);
  return out;
}

}  // namespace d7o::sim
