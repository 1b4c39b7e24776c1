#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::app {

// Upper case in the program's 8-bit code page (Latin-1): ASCII and accented letters.
std::string upperCase(std::string_view text);

// The leading number of a text as the classic Val reads it: leading blanks and tabs
// skipped, an optional sign, digits with at most one decimal point, up to the first other
// character; no exponent and no blanks between digits. "17,99" -> 17, "022.4" -> 22.4,
// "-12.5.3" -> -12.5, "1e5" -> 1, ".25" -> 0.25, "5." -> 5. None when no digit is read
// ("", "COM3", "+", "-", "."). A run of digits too long for a double gives plus or minus
// infinity, one too small 0; "-0" reads as 0, so no "-0" is ever shown.
std::optional<double> leadingNumber(std::string_view text);

// The leading number, no number counting as 0: "COM3" -> 0.
inline double numericValue(std::string_view text) {
  return leadingNumber(text).value_or(0.0);
}

// The numeric value as a whole number, truncated and held within the range of an int,
// so a run of digits from the line never overflows: "64" -> 64, "99999999999" -> INT_MAX.
int wholeNumberOf(std::string_view text);

// Digits only, up to `highest` (at most 9 of them): "17" -> 17; "", "+1", "1.0", and "100"
// over 99 -> none. For fields that are a number or nothing.
std::optional<int> digitsUpTo(std::string_view text, int highest);

// The classic Mid$: up to `length` characters from the 1-based position `start`; shorter,
// or empty, where the text ends first or `start` is 0 (never an error, unlike an index out
// of range). mid("+CSQ: 17,99", 7, 2) -> "17".
std::string mid(std::string_view text, std::size_t start, std::size_t length);

// Line feeds and carriage returns become blanks, as the receive path reads every reply;
// the length does not change. "OK\r\n" -> "OK  ".
void blankLineEnds(std::string& text);

// Whether the upper-cased text contains `upperPart` (itself upper case), without building
// the upper-cased copy: "Tarvik V1.63" contains "TARVIK".
bool containsUpperCased(std::string_view text, std::string_view upperPart);

inline bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Appends `value` in decimal, with leading zeros to at least `width` digits.
void appendNumber(std::string& out, std::int64_t value, int width);

// "2026-12-09T18:22:20.123Z" for a time in milliseconds since 1970 (UTC); `withMillis`
// false leaves out a fraction of 0.
std::string utcText(std::int64_t millisSinceEpoch, bool withMillis = true);

}  // namespace d7o::app
