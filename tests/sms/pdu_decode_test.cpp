#include "sms/pdu_codec.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>

namespace d7o::sms {
namespace {

Decoded decoded(std::string_view hex, std::optional<bool> hasSca = std::nullopt) {
  const DecodeResult r = decodePdu(hex, hasSca);
  EXPECT_TRUE(r.pdu.has_value()) << r.error;
  return r.pdu.value_or(Decoded{});
}

Submit baseSubmit() {
  Submit s;
  s.messageReference = 0x01;
  s.destination = {0x81, "0123456789"};
  s.text = U"abc";
  return s;
}

// Every field an encoded SMS-SUBMIT carries comes back from the decoder.
TEST(DecodePdu, SubmitRoundTrips) {
  struct Case {
    std::string_view name;
    std::function<void(Submit&)> change;
  };
  static const Case cases[] = {
      {"creator_default", [](Submit&) {}},
      {"sca_international",
       [](Submit& s) {
         s.sca = Address{0x91, "491710760000"};
       }},
      {"sca_national_odd",
       [](Submit& s) {
         s.sca = Address{0x81, "01710760"};
       }},
      {"destination_odd",
       [](Submit& s) {
         s.destination = {0x91, "12345"};
       }},
      {"dialling_characters",
       [](Submit& s) {
         s.destination = {0x81, "*100#"};
       }},
      {"mr_pid_vp",
       [](Submit& s) {
         s.messageReference = 0xFF;
         s.pid = 0x41;
         s.validityPeriod = 0x00;
       }},
      {"no_vp",
       [](Submit& s) {
         s.firstOctet = 0x01;
         s.validityPeriod.reset();
       }},
      {"status_report_and_reply_path", [](Submit& s) { s.firstOctet = 0xB1; }},
      {"seven_bit_class_0_with_extension",
       [](Submit& s) {
         s.dcs = 0xF0;
         s.coding = Coding::Gsm7;
         s.text = U"[1\u20AC] {x} @\u00A3_ \u00E9\u00F1\u00DF";
       }},
      {"seven_bit_160",
       [](Submit& s) {
         s.dcs = 0x00;
         s.coding = Coding::Gsm7;
         s.text = std::u32string(160, U'z');
       }},
      {"eight_bit_140_latin1", [](Submit& s) { s.text = std::u32string(140, U'\u00FF'); }},
      {"eight_bit_empty", [](Submit& s) { s.text.clear(); }},
      {"ucs2_surrogates",
       [](Submit& s) {
         s.dcs = 0x18;
         s.coding = Coding::Ucs2;
         s.text = U"Gr\u00FC\u00DFe \u4E2D\U0001F600";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Submit s = baseSubmit();
    c.change(s);
    const Encoded e = encodeSubmit(s);
    const Decoded d = decoded(e.hex, true);
    EXPECT_EQ(d.kind, Decoded::Kind::Submit);
    EXPECT_TRUE(d.hadScaPart);
    EXPECT_EQ(d.sca.has_value(), s.sca.has_value());
    if (d.sca && s.sca) {
      EXPECT_EQ(d.sca->type, s.sca->type);
      EXPECT_EQ(d.sca->digits, s.sca->digits);
    }
    EXPECT_EQ(d.firstOctet, s.firstOctet);
    EXPECT_EQ(d.messageReference, s.messageReference);
    EXPECT_EQ(d.address.type, s.destination.type);
    EXPECT_EQ(d.address.digits, s.destination.digits);
    EXPECT_EQ(d.pid, s.pid);
    EXPECT_EQ(d.dcs, s.dcs);
    EXPECT_EQ(d.coding, s.coding);
    EXPECT_EQ(d.vpRaw, s.validityPeriod);
    EXPECT_EQ(d.text, s.text);
    EXPECT_FALSE(d.userDataHeader.has_value());
    // The tool's length is what is left after the SCA part.
    EXPECT_EQ(decoded(e.hex.substr(e.hex.size() - 2 * e.tpduOctets), false).text, s.text);
  }
}

TEST(DecodePdu, DeliverRoundTrips) {
  Deliver d;
  d.sca = Address{0x91, "491710760000"};
  d.originator = {0x91, "4917012345678"};
  d.pid = 0x00;
  d.year = 26, d.month = 12, d.day = 9, d.hour = 14, d.minute = 5, d.second = 7;
  d.zoneQuarters = 4;
  for (const Coding coding : {Coding::Gsm7, Coding::Bits8, Coding::Ucs2}) {
    SCOPED_TRACE(static_cast<int>(coding));
    d.coding = coding;
    d.text = coding == Coding::Ucs2 ? U"\u20AC 5" : U"Alarm 1";
    const Decoded p = decoded(encodeDeliver(d).hex);
    EXPECT_EQ(p.kind, Decoded::Kind::Deliver);
    ASSERT_TRUE(p.sca.has_value());
    EXPECT_EQ(p.sca->digits, "491710760000");
    EXPECT_EQ(p.firstOctet, 0x04);
    EXPECT_FALSE(p.messageReference.has_value());
    EXPECT_EQ(p.address.type, 0x91);
    EXPECT_EQ(p.address.digits, "4917012345678");
    EXPECT_EQ(p.coding, coding);
    EXPECT_EQ(p.timestamp, "2026-12-09 14:05:07 +01:00");
    EXPECT_EQ(p.text, d.text);
  }
}

// Hand-assembled PDUs for what the encoders do not write.
TEST(DecodePdu, ReadsEveryFieldOfKnownPdus) {
  struct Case {
    std::string_view name;
    std::string_view hex;
    std::function<void(const Decoded&)> check;
  };
  static const Case cases[] = {
      {"hellohello_deliver_with_sca",
       "07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37",
       [](const Decoded& d) {
         EXPECT_EQ(d.sca->digits, "27381000015");
         EXPECT_EQ(d.address.type, 0xC8);
         EXPECT_EQ(d.address.digits, "27838890001");
         EXPECT_EQ(d.timestamp, "1999-03-29 15:16:59 +02:00");
         EXPECT_EQ(d.udl, 10);
         EXPECT_EQ(d.text, U"hellohello");
       }},
      {"negative_zone", "000404811017000462219041500049026F6B",
       [](const Decoded& d) { EXPECT_EQ(d.timestamp, "2026-12-09 14:05:00 -03:30"); }},
      {"alphanumeric_originator", "000406D041E110000462900121000000026869",
       [](const Decoded& d) {
         EXPECT_EQ(d.address.digits, "ABC");
         EXPECT_EQ(d.text, U"hi");
       }},
      {"seven_bit_header_and_fill_bit", "0051000A8110325476980000A709050003CC02019069",
       [](const Decoded& d) {
         EXPECT_EQ(d.userDataHeader, fromHex("050003CC0201"));
         EXPECT_EQ(d.udl, 9);
         EXPECT_EQ(d.text, U"Hi");
       }},
      {"eight_bit_header", "0051000A8110325476980004A708050003CC02016869",
       [](const Decoded& d) {
         EXPECT_EQ(d.userDataHeader, fromHex("050003CC0201"));
         EXPECT_EQ(d.text, U"hi");
       }},
      {"enhanced_vp_relative", "0009000A81103254769800F601A7000000000003616263",
       [](const Decoded& d) {
         EXPECT_EQ(d.vpOctets, *fromHex("01A70000000000"));
         EXPECT_FALSE(d.vpRaw.has_value());
         EXPECT_EQ(d.vpText, "24 h");
       }},
      {"enhanced_vp_seconds_single_shot", "0009000A81103254769800F6423C000000000000",
       [](const Decoded& d) { EXPECT_EQ(d.vpText, "60 s, single shot"); }},
      {"enhanced_vp_hhmmss", "0009000A81103254769800F60321436500000000",
       [](const Decoded& d) { EXPECT_EQ(d.vpText, "12:34:56"); }},
      {"absolute_vp", "0019000A81103254769800F66290214150004000",
       [](const Decoded& d) { EXPECT_EQ(d.vpText, "2026-09-12 14:05:00 +01:00"); }},
      {"ucs2_odd_and_lone_surrogate", "0011000A8110325476980008A705D83D0041FF",
       [](const Decoded& d) { EXPECT_EQ(d.text, U"\uFFFDA\uFFFD"); }},
      {"compressed_text_stays_empty", "0011000A8110325476980024A703616263",
       [](const Decoded& d) {
         EXPECT_TRUE(d.compressed);
         EXPECT_TRUE(d.text.empty());
       }},
      {"message_waiting_group", "0011000A81103254769800C8A70361F118",
       [](const Decoded& d) {
         EXPECT_EQ(d.coding, Coding::Gsm7);
         EXPECT_FALSE(d.messageClass.has_value());
         EXPECT_EQ(d.text, U"abc");
       }},
      {"blanks_and_line_end_around", " 0011010A81103254769800F6A703616263\r\n",
       [](const Decoded& d) { EXPECT_EQ(d.text, U"abc"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodeResult r = decodePdu(c.hex);
    ASSERT_TRUE(r.pdu.has_value()) << r.error;
    c.check(*r.pdu);
  }
}

TEST(DecodePdu, WithoutAHintKeepsTheReadingThatUsesEveryOctet) {
  // Both readings fit: "00" as no SCA, or as the first octet of a DELIVER.
  const std::string_view both = "000400214300006210100000000100";
  const Decoded with = decoded(both);
  EXPECT_TRUE(with.hadScaPart);
  EXPECT_EQ(with.text, U"@");
  const Decoded without = decoded(both, false);
  EXPECT_FALSE(without.hadScaPart);
  EXPECT_EQ(without.address.digits, "1234");

  const Decoded bare = decoded("11010A81103254769800F6A703616263");
  EXPECT_FALSE(bare.hadScaPart);
  EXPECT_EQ(bare.text, U"abc");
}

TEST(DecodePdu, MalformedInputNamesTheOctet) {
  struct Case {
    std::string_view name;
    std::string_view hex;
    std::optional<bool> hasSca;
    std::string_view error;
  };
  static const Case cases[] = {
      {"empty", "", std::nullopt, "octet 1: the PDU is empty"},
      {"not_hex", "0G", std::nullopt, "octet 1: 'G' is not a hex digit"},
      {"blank_inside", "00 11", std::nullopt, "octet 2: byte 20 is not a hex digit"},
      {"odd_digits", "001", std::nullopt, "octet 2: only one hex digit"},
      {"user_data_short", "0011010A81103254769800F6A705616263", true,
       "octet 15: user data ends after 3 of 5 octets"},
      {"user_data_short_found_alone", "0011010A81103254769800F6A705616263", std::nullopt,
       "octet 15: user data ends after 3 of 5 octets (read with an SCA part)"},
      {"octet_left_over", "0011010A81103254769800F6A70361626364", true,
       "octet 18: 1 octet after the user data"},
      {"sca_too_long", "0C91947101670000", true, "octet 1: service-centre address of 12 octets"},
      {"sca_cut", "07919471", true, "octet 3: service-centre address ends after 2 of 6 octets"},
      {"address_too_long", "00110115811032547698", true,
       "octet 4: destination address of 21 digits is longer than 20"},
      {"status_report", "0002", true, "octet 2: message type 2"},
      {"reserved_type", "0003", true, "octet 2: message type 3 is reserved"},
      {"ends_before_dcs", "0011010A81103254769800", true,
       "octet 12: the PDU ends before the data coding scheme"},
      {"ends_before_first_octet", "00", true, "octet 2: the PDU ends before the first octet"},
      {"septets_beyond_160", "0011010A8110325476980000A7A1", true,
       "octet 14: user-data length of 161 septets is more than 160"},
      {"octets_beyond_140", "0011010A81103254769800F6A78D", true,
       "octet 14: user-data length of 141 octets is more than 140"},
      {"header_does_not_fit", "0051010A81103254769800F6A7020500", true,
       "octet 15: user-data header of 6 octets does not fit"},
      {"header_septets_beyond_udl", "0051010A8110325476980000A709070003CC02010000", true,
       "octet 15: user-data header of 8 octets does not fit"},
      {"header_in_empty_user_data", "0051010A81103254769800F6A700", true,
       "octet 15: a user-data header is announced"},
      {"time_stamp_not_decimal", "000404811017000462A19041500049026F6B", true,
       "octet 10: time-stamp octet A1 is not two decimal digits"},
      {"time_stamp_short", "00040481101700046221", true,
       "octet 9: time stamp ends after 2 of 7 octets"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodeResult r = decodePdu(c.hex, c.hasSca);
    EXPECT_FALSE(r.pdu.has_value());
    EXPECT_EQ(r.error.substr(0, c.error.size()), c.error) << r.error;
  }
}

// Cut or altered PDUs and random hex: every outcome is a PDU or an "octet N:" reason.
TEST(DecodePdu, AnyInputGivesAPduOrAReason) {
  const auto check = [](const std::string& hex, std::optional<bool> hasSca) {
    const DecodeResult r = decodePdu(hex, hasSca);
    if (!r.pdu) {
      ASSERT_EQ(r.error.rfind("octet ", 0), 0u) << hex << ": " << r.error;
    } else {
      (void)toJson(*r.pdu);
    }
  };
  const std::string valid[] = {
      "07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37",
      "0051000A8110325476980000A709050003CC02019069",
      "0019000A81103254769800F66290214150004000",
  };
  for (const std::string& pdu : valid) {
    for (std::size_t cut = 0; cut + 2 < pdu.size(); cut += 2) {
      const DecodeResult r = decodePdu(pdu.substr(0, cut), true);
      EXPECT_FALSE(r.pdu.has_value()) << pdu.substr(0, cut);
    }
    Octets octets = *fromHex(pdu);
    for (std::size_t i = 0; i < octets.size(); ++i) {
      const std::uint8_t kept = octets[i];
      for (int v = 0; v < 256; v += 7) {
        octets[i] = static_cast<std::uint8_t>(v);
        check(toHex(octets), std::nullopt);
      }
      octets[i] = kept;
    }
  }
  std::mt19937 random(7);
  for (int n = 0; n < 3000; ++n) {
    Octets octets(random() % 60);
    for (auto& o : octets) o = static_cast<std::uint8_t>(random());
    check(toHex(octets), std::nullopt);
  }
}

}  // namespace
}  // namespace d7o::sms
