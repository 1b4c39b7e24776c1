#include "platform/line_settings.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string>
#include <vector>

namespace d7o::platform {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> fields(std::string_view text) {
  std::vector<std::string_view> out;
  for (;;) {
    const auto comma = text.find(',');
    out.push_back(trimmed(text.substr(0, comma)));
    if (comma == std::string_view::npos) return out;
    text.remove_prefix(comma + 1);
  }
}

// Whole-field integer only: "96OO" is not 96.
bool toInt(std::string_view s, int& value) {
  if (s.empty()) return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size();
}

struct ParityLetter {
  char letter;
  LineSettings::Parity parity;
};
constexpr ParityLetter kParities[] = {
    {'n', LineSettings::Parity::None},  {'e', LineSettings::Parity::Even},
    {'o', LineSettings::Parity::Odd},   {'m', LineSettings::Parity::Mark},
    {'s', LineSettings::Parity::Space},
};

PortError invalid(std::string_view text) {
  return {kInvalidPropertyValue, "Invalid property value (\"" + std::string(text) + "\")"};
}

}  // namespace

PortResult parseLineSettings(std::string_view text, LineSettings& out) {
  const auto f = fields(text);
  if (f.size() != 4) return invalid(text);

  LineSettings s;
  if (!toInt(f[0], s.baud) || s.baud <= 0) return invalid(text);

  const auto parity = std::find_if(std::begin(kParities), std::end(kParities), [&](const auto& p) {
    return f[1].size() == 1 && (f[1][0] | 0x20) == p.letter;  // either case
  });
  if (parity == std::end(kParities)) return invalid(text);
  s.parity = parity->parity;

  if (!toInt(f[2], s.dataBits) || s.dataBits < 5 || s.dataBits > 8) return invalid(text);

  if (f[3] == "1") {
    s.stopBits = LineSettings::StopBits::One;
  } else if (f[3] == "1.5") {
    s.stopBits = LineSettings::StopBits::OneAndHalf;
  } else if (f[3] == "2") {
    s.stopBits = LineSettings::StopBits::Two;
  } else {
    return invalid(text);
  }

  out = s;
  return std::nullopt;
}

}  // namespace d7o::platform
