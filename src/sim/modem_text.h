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

// "AT + CMGS = \"0 1\"" -> "AT+CMGS=\"0 1\"": blanks go, except inside double quotes.
inline std::string withoutBlanksOutsideQuotes(std::string_view text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c != ' ' || quoted) out.push_back(c);
  }
  return out;
}

// "\"SM\"" -> "SM": the text between a pair of double quotes; as it stands without them.
inline std::string unquoted(std::string_view s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return std::string(s);
}

inline bool isQuoted(std::string_view s) {
  return s.size() >= 2 && s.front() == '"' && s.back() == '"';
}

// The parameters of a set command: "1,1,0" -> {"1", "1", "0"}; "" -> none.
inline std::vector<std::string> parameters(std::string_view args) {
  if (args.empty()) return {};
  return splitOutsideQuotes(args, ',');
}

// Parameter `i` as a number within [min, max] into `value`. One left out (empty, or beyond
// those given) keeps `value`; false for anything else than such a number.
inline bool readParameter(const std::vector<std::string>& params, std::size_t i, int min, int max,
                          int& value) {
  if (i >= params.size() || params[i].empty()) return true;
  const std::optional<int> n = numberIn(params[i], min, max);
  if (!n) return false;
  value = *n;
  return true;
}

}  // namespace d7o::sim
