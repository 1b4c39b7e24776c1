#include "forms/code_page.h"

#include <array>
#include <cstdio>

namespace d7o::forms {

namespace {

// 0x80..0x9F; 0 where the code page has no character.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80 € . ‚ ƒ „ … † ‡
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88 ˆ ‰ Š ‹ Œ . Ž .
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90 . ‘ ’ “ ” • – —
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98 ˜ ™ š › œ . ž Ÿ
};

}  // namespace

char32_t fromCodePage(unsigned char byte) {
  if (byte < 0x80 || byte > 0x9F) return byte;
  const char32_t c = kHighControls[byte - 0x80u];
  return c != 0 ? c : byte;
}

std::optional<unsigned char> toCodePage(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (unsigned i = 0; i < kHighControls.size(); ++i) {
    const char32_t own = kHighControls[i];
    // A free byte's own control character comes back to it; the other controls of
    // 80..9F are not in the code page.
    if (own == c || (own == 0 && c == 0x80 + i)) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

std::u32string fromCodePage(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (const char b : bytes) out.push_back(fromCodePage(static_cast<unsigned char>(b)));
  return out;
}

std::string codePointName(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

std::string codePointNames(std::u32string_view characters) {
  std::string names;
  for (const char32_t c : characters) {
    if (!names.empty()) names += ", ";
    names += codePointName(c);
  }
  return names;
}

}  // namespace d7o::forms
