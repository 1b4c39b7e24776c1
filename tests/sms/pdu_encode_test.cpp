#include "sms/pdu_codec.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace d7o::sms {
namespace {

// The PDU creator's default message: no centre, MR 01, national 0123456789, class 2 8-bit.
Submit submit(std::u32string text = U"abc", Coding coding = Coding::Bits8,
              std::uint8_t dcs = 0xF6) {
  Submit s;
  s.messageReference = 0x01;
  s.destination = {0x81, "0123456789"};
  s.coding = coding;
  s.dcs = dcs;
  s.text = std::move(text);
  return s;
}

Submit withSca(Address sca) {
  Submit s = submit();
  s.sca = std::move(sca);
  return s;
}

Submit to(Address destination) {
  Submit s = submit();
  s.destination = std::move(destination);
  return s;
}

Submit withoutVp() {
  Submit s = submit();
  s.firstOctet = 0x01;
  s.validityPeriod.reset();
  return s;
}

TEST(EncodeSubmit, KnownAnswers) {
  struct Case {
    std::string_view name;
    Submit submit;
    std::string_view hex;
    std::size_t tpduOctets;
  };
  const Case cases[] = {
      {"creator_default", submit(), "0011010A81103254769800F6A703616263", 16},
      {"international_sca", withSca({0x91, "491710760000"}),
       "079194710167000011010A81103254769800F6A703616263", 16},
      {"odd_sca_filler", withSca({0x91, "27381000015"}),
       "07917283010010F511010A81103254769800F6A703616263", 16},
      {"plus_is_international", to({0x81, "+12345"}), "00110105912143F500F6A703616263", 14},
      {"no_vp", withoutVp(), "0001010A81103254769800F603616263", 15},
      {"seven_bit", submit(U"Test-SMS", Coding::Gsm7, 0xF2),
       "0011010A81103254769800F2A708D4F29CDE9A36A7", 20},
      {"ucs2_surrogate_pair", submit(U"\u20AC\U0001F600", Coding::Ucs2, 0x08),
       "0011010A8110325476980008A70620ACD83DDE00", 19},
      {"latin1_line_end", submit(U"\u00E9\r\n"), "0011010A81103254769800F6A703E90D0A", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Encoded e = encodeSubmit(c.submit);
    EXPECT_EQ(e.hex, c.hex);
    EXPECT_EQ(e.tpduOctets, c.tpduOctets);
  }
  EXPECT_EQ(encodeSubmit(submit(std::u32string(140, U'a'))).tpduOctets, 13u + 140u);
  EXPECT_EQ(encodeSubmit(submit(std::u32string(160, U'a'), Coding::Gsm7, 0)).tpduOctets, 153u);
}

TEST(EncodeSubmit, RefusesWhatNoPduCanCarry) {
  struct Case {
    std::string_view name;
    Submit submit;
    std::string_view reason;
  };
  Submit udhi = submit(), deliver = submit(), vpfWithoutVp = submit();
  udhi.firstOctet = 0x51;
  deliver.firstOctet = 0x04;
  vpfWithoutVp.validityPeriod.reset();
  Submit vpWithoutVpf = withoutVp();
  vpWithoutVpf.validityPeriod = 0xA7;
  const Case cases[] = {
      {"letter_in_number", to({0x81, "01x"}), "'x'"},
      {"number_too_long", to({0x81, std::string(21, '1')}), "at most 20"},
      {"sca_letter", withSca({0x91, "49-171"}), "'-'"},
      {"8bit_above_latin1", submit(U"\u20AC"), "U+00FF"},
      {"141_octets", submit(std::u32string(141, U'a')), "141 octets"},
      {"161_septets", submit(std::u32string(159, U'a') + U"\u20AC", Coding::Gsm7, 0), "161"},
      {"ucs2_71_characters", submit(std::u32string(71, U'a'), Coding::Ucs2, 0x08), "142"},
      {"not_a_submit", deliver, "not an SMS-SUBMIT"},
      {"udhi_without_header", udhi, "header"},
      {"vp_without_vpf", vpWithoutVpf, "no relative"},
      {"vpf_without_vp", vpfWithoutVp, "none is given"},
      {"dcs_disagrees", submit(U"a", Coding::Bits8, 0xF2), "F2"},
      {"compressed_dcs", submit(U"a", Coding::Bits8, 0x24), "24"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      encodeSubmit(c.submit);
      ADD_FAILURE() << "encoded";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
  }
}

TEST(EncodeDeliver, KnownAnswersAndTimeStampRange) {
  Deliver hello;
  hello.sca = Address{0x91, "27381000015"};
  hello.originator = {0xC8, "27838890001"};
  hello.year = 99, hello.month = 3, hello.day = 29;
  hello.hour = 15, hello.minute = 16, hello.second = 59, hello.zoneQuarters = 8;
  hello.text = U"hellohello";
  EXPECT_EQ(encodeDeliver(hello).hex,
            "07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37");

  Deliver west;
  west.originator = {0x81, "0171"};
  west.coding = Coding::Bits8;
  west.year = 26, west.month = 12, west.day = 9, west.hour = 14, west.minute = 5;
  west.zoneQuarters = -14;  // the sign is bit 3 of the zone octet
  west.text = U"ok";
  EXPECT_EQ(encodeDeliver(west).hex, "000404811017000462219041500049026F6B");

  west.year = 2026;
  EXPECT_THROW(encodeDeliver(west), std::invalid_argument);
  west.year = 26;
  west.zoneQuarters = 80;
  EXPECT_THROW(encodeDeliver(west), std::invalid_argument);
}

TEST(ValidityPeriodText, EdgesOfEachRange) {
  struct Case {
    int vp;
    std::string_view text;
  };
  static const Case cases[] = {
      {0, "5 min."},  {143, "720 min."}, {144, "12.5 h"}, {145, "13 h"},    {167, "24 h"},
      {168, "2 day"}, {196, "30 day"},   {197, "5 week"}, {255, "63 week"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(validityPeriodText(static_cast<std::uint8_t>(c.vp)), c.text) << c.vp;
  }
}

TEST(DataCodingScheme, GroupsGiveCodingAndClass) {
  struct Case {
    std::uint8_t dcs;
    Coding coding;
    std::optional<int> messageClass;
  };
  static const Case cases[] = {
      {0x00, Coding::Gsm7, std::nullopt},
      {0x0C, Coding::Gsm7, std::nullopt},  // reserved
      {0x16, Coding::Bits8, 2},
      {0x18, Coding::Ucs2, 0},
      {0x48, Coding::Ucs2, std::nullopt},
      {0x85, Coding::Gsm7, std::nullopt},  // reserved
      {0xD0, Coding::Gsm7, std::nullopt},
      {0xE0, Coding::Ucs2, std::nullopt},
      {0xF3, Coding::Gsm7, 3},
      {0xF6, Coding::Bits8, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.dcs));
    EXPECT_EQ(readDataCodingScheme(c.dcs).coding, c.coding);
    EXPECT_EQ(readDataCodingScheme(c.dcs).messageClass, c.messageClass);
  }
  EXPECT_TRUE(readDataCodingScheme(0x24).compressed);
}

}  // namespace
}  // namespace d7o::sms
