#pragma once

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

inline std::string upper(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

inline bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// An information or result line as the modem frames it: CR LF before and after.
inline std::string framed(std::string_view text) {
  return "\r\n" + std::string(text) + "\r\n";
}

inline bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// A plain decimal number within [min, max]: digits only, at most nine of them, so no
// sign, blank or overflow slips through.
inline std::optional<int> numberIn(std::string_view text, int min, int max) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < min || value > max) return std::nullopt;
  return value;
}

// "a,\"b,c\",d" -> {"a", "\"b,c\"", "d"}: separators inside double quotes do not split.
inline std::vector<std::string> splitOutsideQuotes(std::string_view text, char separator) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == separator && !quoted) {
      out.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  out.push_back(current);
  return out;
}

}  // namespace d7o::sim
