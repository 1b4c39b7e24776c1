// How the simulated modem writes messages on the line: character sets, time stamps,
// numbers and data codings.
#include "sim/sms_format.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using namespace std::chrono;

TEST(SmsFormat, CharacterSets) {
  struct Case {
    TeCharset charset;
    std::string bytes;
    std::u32string text;
  };
  const Case cases[] = {
      {TeCharset::Ira,
       "Gr\xFC\xDF"
       "e",
       U"Grüße"},
      {TeCharset::Gsm, std::string("\0\x02\x1B\x65", 4), U"@$€"},
      {TeCharset::Ucs2, "0048041F", U"HП"},
      {TeCharset::Ucs2, "D83DDE00", U"\U0001F600"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(charsetName(c.charset)));
    EXPECT_EQ(fromTe(c.bytes, c.charset), c.text);
    EXPECT_EQ(toTe(c.text, c.charset), c.bytes);
  }
  EXPECT_EQ(toTe(U"€uro", TeCharset::Ira), "?uro") << "IRA holds no euro sign";
  EXPECT_FALSE(fromTe("\x80", TeCharset::Gsm)) << "septets are seven bits";
  EXPECT_FALSE(fromTe("004", TeCharset::Ucs2));
  EXPECT_FALSE(fromTe("00G4", TeCharset::Ucs2));
  EXPECT_EQ(fromTe("D83D", TeCharset::Ucs2), U"\uFFFD") << "half a pair is no character";
  EXPECT_EQ(charsetNamed("UCS2"), TeCharset::Ucs2);
  EXPECT_FALSE(charsetNamed("8859-1"));
}

TEST(SmsFormat, DataCodingSchemes) {
  struct Case {
    std::uint8_t dcs;
    sms::Coding coding;
  };
  const Case cases[] = {
      {0x00, sms::Coding::Gsm7}, {0x04, sms::Coding::Bits8}, {0x08, sms::Coding::Ucs2},
      {0x0C, sms::Coding::Gsm7}, {0x48, sms::Coding::Ucs2},  {0xC0, sms::Coding::Gsm7},
      {0xE0, sms::Coding::Ucs2}, {0xF6, sms::Coding::Bits8}, {0xF1, sms::Coding::Gsm7},
      {0x90, sms::Coding::Gsm7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.dcs));
    EXPECT_EQ(codingOfDcs(c.dcs), c.coding);
  }
}

TEST(SmsFormat, TimeStampsAndNumbers) {
  const sys_seconds t = sys_days{year{2026} / 12 / 9} + hours{14} + minutes{5} + seconds{7};
  EXPECT_EQ(textTimestamp({t, 4}), "26/12/09,14:05:07+04");
  EXPECT_EQ(textTimestamp({t, -20}), "26/12/09,14:05:07-20");
  EXPECT_EQ(textTimestamp({sys_days{year{2031} / 1 / 2}, 0}), "31/01/02,00:00:00+00");

  struct Case {
    const char* number;
    bool valid;
    std::uint8_t type;
  };
  const Case cases[] = {
      {"+491711234567", true, 0x91},
      {"01711234567", true, 0x81},
      {"*100#", true, 0x81},
      {"", false, 0},
      {"+", false, 0},
      {"0171 123", false, 0},
      {"Bank", false, 0},
      {"123456789012345678901", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    const auto address = addressOf(c.number);
    ASSERT_EQ(address.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(address->type, c.type);
    EXPECT_EQ(numberOf(*address), c.number);
    EXPECT_EQ(typeOfNumber(c.number), c.type == 0x91 ? 145 : 129);
  }
}

}  // namespace
}  // namespace d7o::sim
