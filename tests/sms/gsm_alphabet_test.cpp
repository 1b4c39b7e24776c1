#include "sms/pdu_codec.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sms {
namespace {

std::string packedHex(std::u32string_view text) {
  return toHex(packSeptets(toGsmSeptets(text)));
}

// Known answers of the GSM 03.38 packing: ceil(7 n / 8) octets, never a filler octet.
TEST(GsmSeptets, PackKnownTexts) {
  struct Case {
    std::string_view name;
    std::u32string_view text;
    std::size_t septets;
    std::string_view hex;
  };
  static const Case cases[] = {
      {"abc", U"abc", 3, "61F118"},
      {"test_sms_eight_septets_seven_octets", U"Test-SMS", 8, "D4F29CDE9A36A7"},
      {"hellohello", U"hellohello", 10, "E8329BFD4697D9EC37"},
      {"euro_is_an_escape_pair", U"\u20AC", 2, "9B32"},
      {"at_sign_is_zero", U"@", 1, "00"},
      {"pound", U"\u00A3", 1, "01"},
      {"underscore", U"_", 1, "11"},
      {"seven_septets_seven_octets", U"1234567", 7, "31D98C56B3DD00"},
      {"empty", U"", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(toGsmSeptets(c.text).size(), c.septets);
    EXPECT_EQ(packedHex(c.text), c.hex);
    EXPECT_EQ(packSeptets(toGsmSeptets(c.text)).size(), (7 * c.septets + 7) / 8);
  }
}

TEST(GsmSeptets, ExtensionCharactersAreEscapePairs) {
  struct Case {
    std::string_view name;
    char32_t character;
    std::uint8_t code;
  };
  static const Case cases[] = {
      {"form_feed", U'\f', 0x0A},  {"caret", U'^', 0x14},         {"brace_open", U'{', 0x28},
      {"brace_close", U'}', 0x29}, {"backslash", U'\\', 0x2F},    {"bracket_open", U'[', 0x3C},
      {"tilde", U'~', 0x3D},       {"bracket_close", U']', 0x3E}, {"pipe", U'|', 0x40},
      {"euro", U'\u20AC', 0x65},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::u32string text(1, c.character);
    EXPECT_EQ(toGsmSeptets(text), (std::vector<std::uint8_t>{0x1B, c.code}));
    EXPECT_EQ(fromGsmSeptets({0x1B, c.code}), text);
    EXPECT_TRUE(isGsmCharacter(c.character));
  }
}

TEST(GsmSeptets, EveryDefaultCharacterComesBackFromItsSeptet) {
  for (std::uint8_t code = 0; code < 0x80; ++code) {
    if (code == 0x1B) continue;
    SCOPED_TRACE(static_cast<int>(code));
    const std::u32string text = fromGsmSeptets({code});
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(toGsmSeptets(text), std::vector<std::uint8_t>{code});
  }
}

TEST(GsmSeptets, CharactersOutsideTheAlphabetBecomeQuestionMarks) {
  EXPECT_EQ(toGsmSeptets(U"a\u4E2D\U0001F600`"),
            (std::vector<std::uint8_t>{0x61, 0x3F, 0x3F, 0x3F}));
  EXPECT_FALSE(isGsmCharacter(U'`'));
  EXPECT_FALSE(isGsmCharacter(U'\u4E2D'));
  EXPECT_TRUE(isGsmCharacter(U'\u00E9'));
}

TEST(GsmSeptets, UnknownEscapePairsReadAsTheBaseCharacter) {
  EXPECT_EQ(fromGsmSeptets({0x1B, 0x41}), U"A");
  EXPECT_EQ(fromGsmSeptets({0x1B, 0x1B, 0x61}), U" a");
  EXPECT_EQ(fromGsmSeptets({0x61, 0x1B}), U"a ");
}

TEST(GsmSeptets, FillBitsPutTheFirstSeptetOnABoundary) {
  // After a six-octet header one fill bit: 'H' starts at bit 49.
  EXPECT_EQ(toHex(packSeptets({0x48, 0x69}, 1)), "9069");
  EXPECT_EQ(unpackSeptets(*fromHex("9069"), 2, 1), (std::vector<std::uint8_t>{0x48, 0x69}));
}

TEST(GsmSeptets, UnpackRefusesTooFewOctets) {
  const Octets packed = *fromHex("61F118");
  EXPECT_EQ(unpackSeptets(packed, 3), (std::vector<std::uint8_t>{0x61, 0x62, 0x63}));
  EXPECT_FALSE(unpackSeptets(packed, 4).has_value());
  EXPECT_FALSE(unpackSeptets(packed, 3, 6).has_value());
  EXPECT_FALSE(unpackSeptets({}, static_cast<std::size_t>(-1)).has_value());
}

TEST(TextCodings, Utf8BothWays) {
  struct Case {
    std::string_view name;
    std::string_view utf8;
    std::u32string_view text;
  };
  static const Case cases[] = {
      {"ascii", "abc", U"abc"},
      {"two_bytes", "\xC3\xA9", U"\u00E9"},
      {"three_bytes", "\xE2\x82\xAC", U"\u20AC"},
      {"four_bytes", "\xF0\x9F\x98\x80", U"\U0001F600"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fromUtf8(c.utf8), c.text);
    EXPECT_EQ(fromUtf8Strict(c.utf8), std::u32string(c.text));
    EXPECT_EQ(toUtf8(c.text), c.utf8);
  }
}

TEST(TextCodings, MalformedUtf8ReadsAsReplacementCharacters) {
  struct Case {
    std::string_view name;
    std::string_view utf8;
    std::u32string_view text;
  };
  static const Case cases[] = {
      {"lone_continuation", "a\x80z", U"a\uFFFDz"},
      {"truncated_at_end", "a\xE2\x82", U"a\uFFFD\uFFFD"},
      {"overlong_slash", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"beyond_unicode", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"latin1_byte", "caf\xE9", U"caf\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fromUtf8(c.utf8), c.text);
    EXPECT_FALSE(fromUtf8Strict(c.utf8).has_value());
  }
}

TEST(TextCodings, HexAndSemiOctets) {
  EXPECT_EQ(toHex({0x00, 0xAB, 0x0F}), "00AB0F");
  EXPECT_EQ(fromHex("00ab0F"), (Octets{0x00, 0xAB, 0x0F}));
  EXPECT_FALSE(fromHex("ABC").has_value());
  EXPECT_FALSE(fromHex("0G").has_value());
  EXPECT_FALSE(fromHex("00 11").has_value());
  EXPECT_EQ(swapSemiOctets("0123456789"), "1032547698");
  EXPECT_EQ(swapSemiOctets("12345"), "2143F5");
  EXPECT_EQ(swapSemiOctets(""), "");
  EXPECT_EQ(fromLatin1("\xE9"), U"\u00E9");
}

}  // namespace
}  // namespace d7o::sms
