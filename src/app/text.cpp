#include "app/text.h"

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

double numericValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  double value = 0;
  bool seenPoint = false;
  double scale = 0.1;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (seenPoint) {
        value += (c - '0') * scale;
        scale /= 10;
      } else {
        value = value * 10 + (c - '0');
      }
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  return negative ? -value : value;
}

}  // namespace d7o::app
