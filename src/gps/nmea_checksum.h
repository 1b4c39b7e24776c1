#pragma once

#include <string_view>

namespace d7o::gps {

// What a received line is as NMEA 0183: a sentence is "$", an address of capital letters
// and digits (at least two), a comma, printable ASCII, and optionally "*hh", the XOR of
// every character between "$" and "*" in two hex digits.
enum class SentenceCheck {
  NoNmea,       // "$CNFOK", "OK", "$GPGSV,1,1,00*7G", "$GPGSV,1,1,00*79 "
  NoChecksum,   // "$GPGLL,4916.45,N,12311.12,W,225444,A"
  Good,         // "$GPGSV,1,1,00*79"
  BadChecksum,  // "$GPGSV,1,1,01*79": a character changed on the way (or the sum did)
};

// The one test of a line against the sentence form and its checksum, for the whole
// program: the capture export and the stream statistics both ask it.
//   "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47" -> Good
SentenceCheck checkSentence(std::string_view line);

}  // namespace d7o::gps
