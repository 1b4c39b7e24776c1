#pragma once

#include <string>
#include <string_view>

namespace d7o::app {

// Upper case in the program's 8-bit code page (Latin-1): ASCII and accented letters.
std::string upperCase(std::string_view text);

// The numeric value of a text as the classic Val reads it: leading blanks skipped, an
// optional sign, digits and one decimal point; reading stops at the first other
// character; no number gives 0. "17,99" -> 17, " 3" -> 3, "COM3" -> 0.
double numericValue(std::string_view text);

// Whether the upper-cased text contains `upperPart` (itself upper case), without building
// the upper-cased copy: "Tarvik V1.63" contains "TARVIK".
bool containsUpperCased(std::string_view text, std::string_view upperPart);

// The numeric value as a whole number, truncated and held within the range of an int,
// so a run of digits from the line never overflows: "64" -> 64, "99999999999" -> INT_MAX.
int wholeNumberOf(std::string_view text);

inline bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace d7o::app
