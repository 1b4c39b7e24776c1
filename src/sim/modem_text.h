#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

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

}  // namespace d7o::sim
