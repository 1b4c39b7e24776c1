#pragma once

// The windows' character set: Windows-1252, the code page of the desktop program this
// tool stands in for. It is Latin-1 but for 0x80..0x9F, which hold the euro sign, the
// typographic quotes and dashes and a few letters. Every text of the windows is bytes of
// it, and those bytes are what goes on the wire.

#include <optional>
#include <string>
#include <string_view>

namespace d7o::forms {

// The character of a byte. The five bytes the code page leaves free (81, 8D, 8F, 90, 9D)
// stand for the control characters of the same number, as Windows reads them, so every
// byte has a character and back.
char32_t fromCodePage(unsigned char byte);
// The byte of a character; nullopt for one outside the code page.
std::optional<unsigned char> toCodePage(char32_t c);

std::u32string fromCodePage(std::string_view bytes);

// A character as a technician can read it in a terminal line: "U+2713".
std::string codePointName(char32_t c);
// Several of them: "U+2713, U+1F600".
std::string codePointNames(std::u32string_view characters);

}  // namespace d7o::forms
