#pragma once

// The step d7o-tool's "nmea" command takes per input line, header-only so the golden
// test compiles the very same code without linking the tool.

#include "app/text.h"
#include "gps/gps_fix.h"
#include "gps/nmea_evaluation.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace d7o::cli {

// The device's bytes are Latin-1; JSON text must be UTF-8 (nlohmann throws on anything
// else), so every byte from 0x80 on becomes its two-byte UTF-8 form.
inline std::string latin1ToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      utf8.push_back(c);
    } else {
      utf8.push_back(static_cast<char>(0xC0 | (b >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return utf8;
}

// The analyzer's values as one JSON object, keys in the analyzer's reading order.
inline nlohmann::ordered_json fixToJson(const gps::GpsFix& fix) {
  const auto text = [](const std::string& s) { return latin1ToUtf8(s); };
  nlohmann::ordered_json prn = nlohmann::ordered_json::array();
  for (const auto& p : fix.prn) prn.push_back(text(p));
  nlohmann::ordered_json satellites = nlohmann::ordered_json::array();
  for (const auto& row : fix.satellites) {
    satellites.push_back(
        {{"nr", text(row.nr)}, {"el", text(row.el)}, {"az", text(row.az)}, {"lev", text(row.lev)}});
  }
  nlohmann::ordered_json j;
  j["utc"] = text(fix.utc);
  j["date"] = text(fix.date);
  j["lat"] = text(fix.lat);
  j["ns"] = text(fix.ns);
  j["lon"] = text(fix.lon);
  j["ew"] = text(fix.ew);
  j["inUse"] = text(fix.inUse);
  j["quality"] = text(fix.quality);
  j["altitude"] = text(fix.altitude);
  j["speed"] = text(fix.speed);
  j["speedUnit"] = text(fix.speedUnit);
  j["course"] = text(fix.course);
  j["validity"] = text(fix.validity);
  j["mode"] = text(fix.mode);
  j["fixType"] = text(fix.fixType);
  j["prn"] = std::move(prn);
  j["pdop"] = text(fix.pdop);
  j["hdop"] = text(fix.hdop);
  j["vdop"] = text(fix.vdop);
  j["inView"] = text(fix.inView);
  j["satellites"] = std::move(satellites);
  return j;
}

// An analyzer fed line by line, as in GPS receive mode: state carries from line to line.
class NmeaToJson {
 public:
  explicit NmeaToJson(bool speedInKmh) : m_speedInKmh(speedInKmh) { gps::GPSformRefresh(m_fix); }

  // Evaluates one input line (without its LF) and returns the analyzer's values after it
  // as one line of JSON.
  std::string line(std::string_view line) {
    // The receive path turns the line end CR LF, and any other CR or LF, into blanks; a
    // line read with its CR (a CR LF log) ends the same as one without.
    std::string reply(line);
    if (!reply.empty() && reply.back() == '\r') reply.pop_back();
    reply += "\r\n";
    app::blankLineEnds(reply);
    gps::NmeaState state{m_slotPointer, m_gpsSpeed, m_speedInKmh};
    gps::evaluateReply(reply, m_fix, state);
    return fixToJson(m_fix).dump();
  }

  const gps::GpsFix& fix() const { return m_fix; }

 private:
  gps::GpsFix m_fix;
  int m_slotPointer = 0;
  double m_gpsSpeed = 0;
  bool m_speedInKmh;
};

}  // namespace d7o::cli
