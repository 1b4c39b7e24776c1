#pragma once

// d7o-tool nmea-stats: the analyzer's NMEA statistics for a log, as one JSON object.
// Header-only like the other commands, so the command tests run the very code of the tool.

#include "capture/capture_file.h"
#include "cli/input_file.h"
#include "gps/nmea_statistics.h"

#include <array>
#include <fstream>
#include <istream>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::cli {

inline constexpr const char* kNmeaStatsSynopsis = "d7o-tool nmea-stats [FILE]";

inline constexpr const char* kNmeaStatsUsage =
    "nmea-stats counts the NMEA sentences received in FILE (a capture, or a plain log with\n"
    "         one line a reply; '-' or none reads standard input) as rezedev7's\n"
    "         analyzer does, and prints one JSON object: per type (GGA, RMC, GSA and GSV\n"
    "         of talker GP, and other) count, perSecond, badChecksum and age (seconds\n"
    "         from the last one to the end), then bytes, withoutChecksum, noNmea and\n"
    "         seconds. A capture's perSecond is over its whole length; a plain log has\n"
    "         no times, so perSecond, age and seconds are null there.\n";

namespace stats_detail {

// Lines longer than this (a binary dump without line ends) count in pieces, so memory
// stays bounded.
constexpr std::size_t kLongestLine = 4096;

struct Counted {
  gps::NmeaStatistics statistics;
  bool timed = false;  // a capture, with times
  std::optional<capture::Millis> firstReceived;
  capture::Millis lastReceived{0};
  capture::Millis end{0};  // the time of the last record
  std::string error;
  std::uint64_t errorOffset = 0;
  bool readFailed = false;
};

// Received bytes split into lines at CR or LF; a line counts when its end arrives.
class LineCounter {
 public:
  explicit LineCounter(gps::NmeaStatistics& statistics) : m_statistics(statistics) {
    m_partial.reserve(kLongestLine);
  }

  void feed(std::string_view bytes, capture::Millis time) {
    m_statistics.countLine({}, bytes.size(), time);
    for (const char c : bytes) {
      if (c == '\r' || c == '\n') {
        endLine(time);
        continue;
      }
      m_partial += c;
      if (m_partial.size() >= kLongestLine) endLine(time);
    }
  }

  void endLine(capture::Millis time) {
    if (m_partial.empty()) return;
    m_statistics.countLine(m_partial, 0, time);
    m_partial.clear();
  }

 private:
  gps::NmeaStatistics& m_statistics;
  std::string m_partial;
};

inline Counted countLog(std::istream& in) {
  Counted c;
  capture::Reader reader(in);
  c.timed = reader.isCapture();
  LineCounter lines(c.statistics);
  while (const auto record = reader.next()) {
    c.end = record->time;
    if (record->direction == capture::Direction::Received) {
      if (!c.firstReceived) c.firstReceived = record->time;
      c.lastReceived = record->time;
      lines.feed(record->bytes, record->time);
    } else if (record->direction == capture::Direction::Event) {
      // A closed or switched port ends the line that was on it.
      const capture::LineEvent e = record->event;
      if (e == capture::LineEvent::Opened || e == capture::LineEvent::Closed ||
          e == capture::LineEvent::Vanished || e == capture::LineEvent::Port) {
        lines.endLine(record->time);
      }
    }
  }
  lines.endLine(c.end);
  c.error = reader.error();
  c.errorOffset = reader.errorOffset();
  if (c.error.empty() && in.bad()) c.readFailed = true;
  return c;
}

inline nlohmann::ordered_json seconds(std::optional<capture::Millis> t) {
  if (!t) return nullptr;
  return static_cast<double>(t->count()) / 1000.0;
}

inline nlohmann::ordered_json statisticsJson(const Counted& c) {
  using gps::SentenceType;
  constexpr std::array<std::pair<const char*, SentenceType>, gps::kSentenceTypes> kRows = {{
      {"GGA", SentenceType::Gga},
      {"RMC", SentenceType::Rmc},
      {"GSA", SentenceType::Gsa},
      {"GSV", SentenceType::Gsv},
      {"other", SentenceType::Other},
  }};
  const gps::NmeaStatistics& s = c.statistics;
  std::optional<capture::Millis> span;
  if (c.timed && c.firstReceived) span = c.lastReceived - *c.firstReceived;
  nlohmann::ordered_json j;
  for (const auto& [name, type] : kRows) {
    nlohmann::ordered_json row;
    row["count"] = s.count(type);
    if (span && span->count() > 0) {
      row["perSecond"] =
          static_cast<double>(s.count(type)) * 1000.0 / static_cast<double>(span->count());
    } else {
      row["perSecond"] = nullptr;
    }
    row["badChecksum"] = s.badChecksums(type);
    row["age"] = c.timed ? seconds(s.age(type, c.end)) : nlohmann::ordered_json(nullptr);
    j[name] = std::move(row);
  }
  j["bytes"] = s.bytes();
  j["withoutChecksum"] = s.withoutChecksum();
  j["noNmea"] = s.noNmea();
  j["seconds"] = span ? seconds(span) : nlohmann::ordered_json(nullptr);
  return j;
}

inline int badUsage(std::ostream& err, const std::string& why) {
  err << "d7o-tool: " << why << "\nusage: " << kNmeaStatsSynopsis << "\n";
  return 2;
}

}  // namespace stats_detail

// `standardIn` is read without FILE or for FILE "-".
inline int nmeaStatsCommand(const std::vector<std::string>& args, std::istream& standardIn,
                            std::ostream& out, std::ostream& err) {
  std::string file = "-";
  bool haveFile = false;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      out << "usage: " << kNmeaStatsSynopsis << "\n\n" << kNmeaStatsUsage;
      return out.flush() ? 0 : 1;
    }
    if (arg.size() > 1 && arg[0] == '-')
      return stats_detail::badUsage(err, "unknown option " + arg);
    if (haveFile) return stats_detail::badUsage(err, "only one input file");
    file = arg;
    haveFile = true;
  }
  InputFile input;
  openInput(file, standardIn, err, input);
  if (input.stream == nullptr) return 1;
  const std::string& name = input.name;
  stats_detail::Counted counted;
  try {
    counted = stats_detail::countLog(*input.stream);
  } catch (const std::ios_base::failure&) {
    err << "d7o-tool: cannot read " << name << "\n";
    return 1;
  }
  // What was read before a malformed line is printed, and the status says it stopped.
  out << stats_detail::statisticsJson(counted).dump() << "\n";
  if (!out.flush()) {
    err << "d7o-tool: cannot write the output\n";
    return 1;
  }
  if (!counted.error.empty()) {
    err << "d7o-tool: " << name << ", byte " << counted.errorOffset << ": " << counted.error
        << "\n";
    return 1;
  }
  if (counted.readFailed) {
    err << "d7o-tool: cannot read " << name << "\n";
    return 1;
  }
  return 0;
}

}  // namespace d7o::cli
