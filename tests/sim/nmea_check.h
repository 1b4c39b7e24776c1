#pragma once

#include "sim/modem_text.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim::test_nmea {

// The lines of a stream, without their CR LF; empty lines dropped.
inline std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    const std::string line(text.substr(at, end == std::string_view::npos ? end : end - at));
    if (!line.empty()) out.push_back(line);
    if (end == std::string_view::npos) break;
    at = end + 2;
  }
  return out;
}

// The sentences of one type ("$GPRMC") among the lines.
inline std::vector<std::string> sentences(std::string_view text, std::string_view type) {
  std::vector<std::string> out;
  for (const std::string& line : linesOf(text)) {
    if (line.starts_with(type)) out.push_back(line);
  }
  return out;
}

// Comma-separated fields of a sentence, the checksum cut off; field 0 is "$GPxxx".
inline std::vector<std::string> fieldsOf(std::string_view sentence) {
  // NMEA has no quoted fields, so the modem's own splitter serves.
  return sim::splitOutsideQuotes(sentence.substr(0, sentence.find('*')), ',');
}

// "$<body>*hh" with hh the XOR of the body, upper-case hex.
inline bool checksumValid(std::string_view sentence) {
  if (sentence.size() < 4 || sentence[0] != '$') return false;
  const std::size_t star = sentence.find('*');
  if (star == std::string_view::npos || star + 3 != sentence.size()) return false;
  unsigned sum = 0;
  for (const char c : sentence.substr(1, star - 1)) sum ^= static_cast<unsigned char>(c);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum);
  return sentence.substr(star + 1) == hex;
}

}  // namespace d7o::sim::test_nmea
