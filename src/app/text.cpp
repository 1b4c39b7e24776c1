#include "app/text.h"

namespace d7o::app {

std::string upperCase(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') {
      ch = static_cast<char>(c - 32);
    } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
      ch = static_cast<char>(c - 32);  // Latin-1 accented small letters
    }
  }
  return out;
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
