#include "sms/pdu_codec.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sms {
namespace {

using Septets = std::vector<std::uint8_t>;

// Known answers of the GSM 03.38 packing: ceil(7 n / 8) octets, never a filler octet.
TEST(GsmSeptets, PackKnownTexts) {
  struct Case {
    std::u32string_view text;
    std::size_t septets;
    std::string_view hex;
  };
  static const Case cases[] = {
      {U"abc", 3, "61F118"},  {U"Test-SMS", 8, "D4F29CDE9A36A7"},
      {U"\u20AC", 2, "9B32"}, {U"hellohello", 10, "E8329BFD4697D9EC37"},
      {U"@", 1, "00"},        {U"\u00A3", 1, "01"},
      {U"_", 1, "11"},        {U"1234567", 7, "31D98C56B3DD00"},
      {U"", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.text));
    EXPECT_EQ(toGsmSeptets(c.text).size(), c.septets);
    EXPECT_EQ(toHex(packSeptets(toGsmSeptets(c.text))), c.hex);
  }
}

TEST(GsmSeptets, ExtensionTableAndUnknownCharacters) {
  const std::u32string extension = U"\f^{}\\[~]|\u20AC";
  const Septets septets = toGsmSeptets(extension);
  EXPECT_EQ(septets, (Septets{0x1B, 0x0A, 0x1B, 0x14, 0x1B, 0x28, 0x1B, 0x29, 0x1B, 0x2F,
                              0x1B, 0x3C, 0x1B, 0x3D, 0x1B, 0x3E, 0x1B, 0x40, 0x1B, 0x65}));
  EXPECT_EQ(fromGsmSeptets(septets), extension);
  EXPECT_EQ(toGsmSeptets(U"a\u4E2D\U0001F600`"), (Septets{0x61, 0x3F, 0x3F, 0x3F}));
  EXPECT_FALSE(isGsmCharacter(U'`'));
  EXPECT_TRUE(isGsmCharacter(U'\u00E9'));
  // A pair the extension table lacks reads as its base character; ESC ESC and a lone ESC
  // as a blank.
  EXPECT_EQ(fromGsmSeptets({0x1B, 0x41, 0x1B, 0x1B, 0x61, 0x1B}), U"A a ");
}

TEST(GsmSeptets, EveryDefaultCharacterComesBackFromItsSeptet) {
  for (std::uint8_t code = 0; code < 0x80; ++code) {
    if (code == 0x1B) continue;
    const std::u32string text = fromGsmSeptets({code});
    EXPECT_EQ(toGsmSeptets(text), Septets{code}) << static_cast<int>(code);
  }
}

TEST(GsmSeptets, FillBitsAndShortInput) {
  // After a six-octet header one fill bit puts 'H' on bit 49.
  EXPECT_EQ(toHex(packSeptets({0x48, 0x69}, 1)), "9069");
  EXPECT_EQ(unpackSeptets(*fromHex("9069"), 2, 1), (Septets{0x48, 0x69}));
  EXPECT_EQ(unpackSeptets(*fromHex("61F118"), 3), (Septets{0x61, 0x62, 0x63}));
  EXPECT_FALSE(unpackSeptets(*fromHex("61F118"), 4).has_value());
  EXPECT_FALSE(unpackSeptets(*fromHex("61F118"), 3, 6).has_value());
  EXPECT_FALSE(unpackSeptets({}, static_cast<std::size_t>(-1)).has_value());
}

TEST(TextCodings, Utf8AndItsFaults) {
  EXPECT_EQ(fromUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), U"a\u00E9\u20AC\U0001F600");
  EXPECT_EQ(toUtf8(U"a\u00E9\u20AC\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  struct Case {
    std::string_view name, utf8;
    std::u32string_view text;
  };
  static const Case malformed[] = {
      {"lone_continuation", "a\x80z", U"a\uFFFDz"},
      {"truncated", "a\xE2\x82", U"a\uFFFD\uFFFD"},
      {"overlong", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"latin1_byte", "caf\xE9", U"caf\uFFFD"},
  };
  for (const Case& c : malformed) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fromUtf8(c.utf8), c.text);
    EXPECT_FALSE(fromUtf8Strict(c.utf8).has_value());
  }
}

TEST(TextCodings, HexAndSemiOctets) {
  EXPECT_EQ(toHex({0x00, 0xAB, 0x0F}), "00AB0F");
  EXPECT_EQ(fromHex("00ab0F"), (Octets{0x00, 0xAB, 0x0F}));
  EXPECT_FALSE(fromHex("ABC").has_value());
  EXPECT_FALSE(fromHex("00 1").has_value());
  EXPECT_EQ(swapSemiOctets("0123456789"), "1032547698");
  EXPECT_EQ(swapSemiOctets("12345"), "2143F5");
}

}  // namespace
}  // namespace d7o::sms
