#include "sms/pdu_codec.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace d7o::sms {
namespace {

// The PDU creator's default message: no centre, MR 01, national 0123456789, class 2 8-bit.
Submit creatorDefault() {
  Submit s;
  s.messageReference = 0x01;
  s.destination = {0x81, "0123456789"};
  s.text = U"abc";
  return s;
}

TEST(EncodeSubmit, KnownAnswers) {
  struct Case {
    std::string_view name;
    std::function<void(Submit&)> change;
    std::string_view hex;
    std::size_t tpduOctets;
  };
  static const Case cases[] = {
      {"creator_default_without_sca", [](Submit&) {}, "0011010A81103254769800F6A703616263", 16},
      {"with_international_sca",
       [](Submit& s) {
         s.sca = Address{0x91, "491710760000"};
       },
       "0791947101670000"
       "11010A81103254769800F6A703616263",
       16},
      {"odd_sca_gets_filler",
       [](Submit& s) {
         s.sca = Address{0x91, "27381000015"};
       },
       "07917283010010F5"
       "11010A81103254769800F6A703616263",
       16},
      {"plus_makes_it_international",
       [](Submit& s) {
         s.destination = {0x81, "+12345"};
       },
       "00110105912143F500F6A703616263", 14},
      {"seven_bit_hellohello",
       [](Submit& s) {
         s.messageReference = 0;
         s.destination = {0x91, "46708251358"};
         s.dcs = 0x00;
         s.coding = Coding::Gsm7;
         s.validityPeriod = 0xAA;
         s.text = U"hellohello";
       },
       "0011000B916407281553F80000AA0AE8329BFD4697D9EC37", 23},
      {"no_validity_period",
       [](Submit& s) {
         s.firstOctet = 0x01;
         s.validityPeriod.reset();
       },
       "0001010A81103254769800F603616263", 15},
      {"ucs2_with_surrogate_pair",
       [](Submit& s) {
         s.dcs = 0x08;
         s.coding = Coding::Ucs2;
         s.text = U"\u20AC\U0001F600";
       },
       "0011010A8110325476980008A70620ACD83DDE00", 19},
      {"latin1_in_8bit", [](Submit& s) { s.text = U"\u00E9\r\n"; },
       "0011010A81103254769800F6A703E90D0A", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Submit s = creatorDefault();
    c.change(s);
    const Encoded e = encodeSubmit(s);
    EXPECT_EQ(e.hex, c.hex);
    EXPECT_EQ(e.tpduOctets, c.tpduOctets);
  }
}

TEST(EncodeSubmit, RefusesWhatNoPduCanCarry) {
  struct Case {
    std::string_view name;
    std::function<void(Submit&)> change;
    std::string_view reason;
  };
  static const Case cases[] = {
      {"letter_in_number", [](Submit& s) { s.destination.digits = "01x"; }, "'x'"},
      {"number_too_long", [](Submit& s) { s.destination.digits = std::string(21, '1'); },
       "at most 20"},
      {"sca_letter",
       [](Submit& s) {
         s.sca = Address{0x91, "49-171"};
       },
       "'-'"},
      {"8bit_above_latin1", [](Submit& s) { s.text = U"\u20AC"; }, "U+00FF"},
      {"141_octets", [](Submit& s) { s.text = std::u32string(141, U'a'); }, "140"},
      {"161_septets",
       [](Submit& s) {
         s.dcs = 0xF2;
         s.coding = Coding::Gsm7;
         s.text = std::u32string(159, U'a') + U"\u20AC";
       },
       "161 septets"},
      {"ucs2_71_characters",
       [](Submit& s) {
         s.dcs = 0x08;
         s.coding = Coding::Ucs2;
         s.text = std::u32string(71, U'a');
       },
       "142 octets"},
      {"deliver_first_octet", [](Submit& s) { s.firstOctet = 0x04; }, "not an SMS-SUBMIT"},
      {"udhi_without_header", [](Submit& s) { s.firstOctet = 0x51; }, "header"},
      {"vp_without_vpf", [](Submit& s) { s.firstOctet = 0x01; }, "no relative"},
      {"vpf_without_vp", [](Submit& s) { s.validityPeriod.reset(); }, "none is given"},
      {"dcs_disagrees_with_coding", [](Submit& s) { s.dcs = 0xF2; }, "F2"},
      {"compressed_dcs", [](Submit& s) { s.dcs = 0x24; }, "24"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Submit s = creatorDefault();
    c.change(s);
    try {
      encodeSubmit(s);
      ADD_FAILURE() << "encoded";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
  }
}

TEST(EncodeSubmit, FullLengthTextsFit) {
  Submit s = creatorDefault();
  s.text = std::u32string(140, U'a');
  EXPECT_EQ(encodeSubmit(s).tpduOctets, 13u + 140u);
  s.dcs = 0xF2;
  s.coding = Coding::Gsm7;
  s.text = std::u32string(160, U'a');
  EXPECT_EQ(encodeSubmit(s).tpduOctets, 13u + 140u);
}

TEST(EncodeDeliver, KnownAnswers) {
  struct Case {
    std::string_view name;
    Deliver deliver;
    std::string_view hex;
  };
  Deliver hello;
  hello.sca = Address{0x91, "27381000015"};
  hello.originator = {0xC8, "27838890001"};
  hello.year = 99, hello.month = 3, hello.day = 29;
  hello.hour = 15, hello.minute = 16, hello.second = 59, hello.zoneQuarters = 8;
  hello.text = U"hellohello";
  Deliver west;
  west.originator = {0x81, "0171"};
  west.coding = Coding::Bits8;
  west.year = 26, west.month = 12, west.day = 9, west.hour = 14, west.minute = 5;
  west.zoneQuarters = -14;
  west.text = U"ok";
  const Case cases[] = {
      {"hellohello_with_sca", hello,
       "07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37"},
      {"negative_zone_8bit", west, "000404811017000462219041500049026F6B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(encodeDeliver(c.deliver).hex, c.hex);
  }
}

TEST(EncodeDeliver, RefusesATimeStampOutOfRange) {
  Deliver d;
  d.originator = {0x81, "0171"};
  d.year = 2026;
  EXPECT_THROW(encodeDeliver(d), std::invalid_argument);
  d.year = 26;
  d.zoneQuarters = 80;
  EXPECT_THROW(encodeDeliver(d), std::invalid_argument);
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
    SCOPED_TRACE(c.vp);
    EXPECT_EQ(validityPeriodText(static_cast<std::uint8_t>(c.vp)), c.text);
  }
}

TEST(DataCodingScheme, GroupsGiveCodingAndClass) {
  struct Case {
    std::uint8_t dcs;
    Coding coding;
    std::optional<int> messageClass;
    bool compressed;
  };
  static const Case cases[] = {
      {0x00, Coding::Gsm7, std::nullopt, false},
      {0x04, Coding::Bits8, std::nullopt, false},
      {0x08, Coding::Ucs2, std::nullopt, false},
      {0x0C, Coding::Gsm7, std::nullopt, false},
      {0x11, Coding::Gsm7, 1, false},
      {0x16, Coding::Bits8, 2, false},
      {0x18, Coding::Ucs2, 0, false},
      {0x24, Coding::Bits8, std::nullopt, true},
      {0x48, Coding::Ucs2, std::nullopt, false},
      {0x85, Coding::Gsm7, std::nullopt, false},
      {0xC8, Coding::Gsm7, std::nullopt, false},
      {0xD0, Coding::Gsm7, std::nullopt, false},
      {0xE0, Coding::Ucs2, std::nullopt, false},
      {0xF0, Coding::Gsm7, 0, false},
      {0xF3, Coding::Gsm7, 3, false},
      {0xF6, Coding::Bits8, 2, false},
      {0xFB, Coding::Gsm7, 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.dcs));
    const DataCoding d = readDataCodingScheme(c.dcs);
    EXPECT_EQ(d.coding, c.coding);
    EXPECT_EQ(d.messageClass, c.messageClass);
    EXPECT_EQ(d.compressed, c.compressed);
  }
}

}  // namespace
}  // namespace d7o::sms
