#include "gps/nmea_checksum.h"

namespace d7o::gps {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

SentenceCheck checkSentence(std::string_view line) {
  if (line.size() < 3 || line[0] != '$') return SentenceCheck::NoNmea;
  std::size_t i = 1;
  while (i < line.size() && ((line[i] >= 'A' && line[i] <= 'Z') || isDigit(line[i]))) ++i;
  if (i < 3 || i >= line.size() || line[i] != ',') return SentenceCheck::NoNmea;
  unsigned sum = 0;
  for (i = 1; i < line.size() && line[i] != '*'; ++i) {
    const auto b = static_cast<unsigned char>(line[i]);
    if (b < 0x20 || b > 0x7e) return SentenceCheck::NoNmea;
    sum ^= b;
  }
  if (i == line.size()) return SentenceCheck::NoChecksum;
  // Exactly two hex digits end the sentence; anything else after "*" is no sentence.
  if (line.size() != i + 3) return SentenceCheck::NoNmea;
  const int high = hexValue(line[i + 1]), low = hexValue(line[i + 2]);
  if (high < 0 || low < 0) return SentenceCheck::NoNmea;
  return static_cast<unsigned>(high * 16 + low) == sum ? SentenceCheck::Good
                                                       : SentenceCheck::BadChecksum;
}

}  // namespace d7o::gps
