// The windows' character set: Windows-1252, byte for byte and back.

#include "forms/code_page.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace d7o::forms {
namespace {

TEST(CodePage, EveryByteHasACharacterThatComesBackToIt) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const char32_t c = fromCodePage(static_cast<unsigned char>(b));
    EXPECT_EQ(toCodePage(c), std::optional<unsigned char>(static_cast<unsigned char>(b)));
  }
}

TEST(CodePage, TheHighControlsAreTheEuroTheQuotesAndTheDashes) {
  struct Case {
    const char* name;
    char32_t character;
    std::optional<unsigned char> byte;
  };
  const Case cases[] = {
      {"euro sign", U'\u20AC', 0x80},
      {"left double quote", U'\u201C', 0x93},
      {"right single quote", U'\u2019', 0x92},
      {"en dash", U'\u2013', 0x96},
      {"em dash", U'\u2014', 0x97},
      {"trade mark", U'\u2122', 0x99},
      {"Z with caron", U'\u017D', 0x8E},
      {"a byte the page leaves free stays itself", U'\u0081', 0x81},
      {"a control the page replaced is not in it", U'\u0080', std::nullopt},
      {"check mark", U'\u2713', std::nullopt},
      {"emoji beyond 16 bits", U'\U0001F600', std::nullopt},
      {"Latin-1 umlaut", U'\u00FC', 0xFC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(toCodePage(c.character), c.byte);
  }
  EXPECT_EQ(codePointNames(U"\u2713\U0001F600"), "U+2713, U+1F600");
}

}  // namespace
}  // namespace d7o::forms
