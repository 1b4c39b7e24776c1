#include "app/text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>

namespace d7o::app {

namespace {
// ASCII and the Latin-1 accented small letters.
char upperChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
    return static_cast<char>(c - 32);
  }
  return ch;
}
}  // namespace

std::string upperCase(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = upperChar(ch);
  return out;
}

bool containsUpperCased(std::string_view text, std::string_view upperPart) {
  if (upperPart.empty()) return true;
  if (text.size() < upperPart.size()) return false;
  for (std::size_t i = 0; i + upperPart.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < upperPart.size() && upperChar(text[i + k]) == upperPart[k]) ++k;
    if (k == upperPart.size()) return true;
  }
  return false;
}

std::optional<double> leadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;
  bool digits = false;
  bool point = false;
  bool nonZeroBeforePoint = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      if (!point && c != '0') nonZeroBeforePoint = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  // from_chars, unlike strtod, ignores the locale: under a German one strtod stops at the
  // ".". It also rounds correctly, where adding up digit by digit drifts.
  const std::string_view number = text.substr(start, i - start);
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    value = nonZeroBeforePoint ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0;
  }
  if (value == 0) return 0.0;  // "-0" and "-0.0" too: a zero has no sign to show
  return negative ? -value : value;
}

int wholeNumberOf(std::string_view text) {
  const double v = numericValue(text);
  if (!(v == v)) return 0;  // not a number
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(v);
}

std::string mid(std::string_view text, std::size_t start, std::size_t length) {
  if (start == 0 || start > text.size()) return {};
  return std::string(text.substr(start - 1, length));
}

void blankLineEnds(std::string& text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
}

void appendNumber(std::string& out, std::int64_t value, int width) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  for (auto n = end - digits; n < width; ++n) out += '0';
  out.append(digits, end);
}

std::string utcText(std::int64_t millisSinceEpoch, bool withMillis) {
  using namespace std::chrono;
  const sys_time<milliseconds> time{milliseconds(millisSinceEpoch)};
  const auto day = floor<days>(time);
  const year_month_day date{day};
  const auto ofDay = (time - day).count();
  std::string out;
  appendNumber(out, int(date.year()), 4);
  out += '-';
  appendNumber(out, unsigned(date.month()), 2);
  out += '-';
  appendNumber(out, unsigned(date.day()), 2);
  out += 'T';
  appendNumber(out, ofDay / 3'600'000, 2);
  out += ':';
  appendNumber(out, ofDay / 60'000 % 60, 2);
  out += ':';
  appendNumber(out, ofDay / 1000 % 60, 2);
  if (withMillis || ofDay % 1000 != 0) {
    out += '.';
    appendNumber(out, ofDay % 1000, 3);
  }
  out += 'Z';
  return out;
}

std::optional<int> digitsUpTo(std::string_view text, int highest) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > highest) return std::nullopt;
  return value;
}

}  // namespace d7o::app
