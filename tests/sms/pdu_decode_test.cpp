#include "sms/pdu_codec.h"

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

Submit submit(std::u32string text, Coding coding = Coding::Bits8, std::uint8_t dcs = 0xF6) {
  Submit s;
  s.messageReference = 0x01;
  s.destination = {0x81, "0123456789"};
  s.coding = coding;
  s.dcs = dcs;
  s.text = std::move(text);
  return s;
}

// Every field an encoded SMS-SUBMIT carries comes back from the decoder.
TEST(DecodePdu, SubmitRoundTrips) {
  std::vector<Submit> cases = {
      submit(U"abc"),
      submit(U"[1\u20AC] {x} @\u00A3_ \u00E9\u00F1\u00DF", Coding::Gsm7, 0xF0),
      submit(std::u32string(160, U'z'), Coding::Gsm7, 0x00),
      submit(std::u32string(140, U'\u00FF')),
      submit(U""),
      submit(U"Gr\u00FC\u00DFe \u4E2D\U0001F600", Coding::Ucs2, 0x18),
  };
  cases.push_back(submit(U"x"));
  cases.back().sca = Address{0x91, "491710760000"};
  cases.push_back(submit(U"x"));
  cases.back().sca = Address{0x81, "0171076"};
  cases.back().destination = {0x91, "*100#"};
  cases.push_back(submit(U"x"));
  cases.back().firstOctet = 0xB1;  // reply path, status report
  cases.back().messageReference = 0xFF;
  cases.back().pid = 0x41;
  cases.back().validityPeriod = 0x00;
  cases.push_back(submit(U"x"));
  cases.back().firstOctet = 0x01;
  cases.back().validityPeriod.reset();
  for (const Submit& s : cases) {
    SCOPED_TRACE(toUtf8(s.text));
    const Encoded e = encodeSubmit(s);
    const Decoded d = decoded(e.hex, true);
    EXPECT_EQ(d.kind, Decoded::Kind::Submit);
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
    // What AT+CMGS is given after the length reads alone too.
    EXPECT_EQ(decoded(e.hex.substr(e.hex.size() - 2 * e.tpduOctets), false).text, s.text);
  }
}

TEST(DecodePdu, DeliverRoundTrips) {
  Deliver d;
  d.sca = Address{0x91, "491710760000"};
  d.originator = {0x91, "4917012345678"};
  d.year = 26, d.month = 12, d.day = 9, d.hour = 14, d.minute = 5, d.second = 7;
  d.zoneQuarters = 4;
  for (const Coding coding : {Coding::Gsm7, Coding::Bits8, Coding::Ucs2}) {
    d.coding = coding;
    d.text = coding == Coding::Ucs2 ? U"\u20AC 5" : U"Alarm 1";
    const Decoded p = decoded(encodeDeliver(d).hex);
    EXPECT_EQ(p.kind, Decoded::Kind::Deliver);
    EXPECT_EQ(p.sca.value_or(Address{}).digits, "491710760000");
    EXPECT_EQ(p.firstOctet, 0x04);
    EXPECT_EQ(p.address.digits, "4917012345678");
    EXPECT_EQ(p.coding, coding);
    EXPECT_EQ(p.timestamp, "2026-12-09 14:05:07 +01:00");
    EXPECT_EQ(p.text, d.text);
  }
}

// Hand-assembled PDUs for what the encoders do not write.
TEST(DecodePdu, KnownPdus) {
  const Decoded hello =
      decoded("07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37");
  EXPECT_EQ(hello.sca.value_or(Address{}).digits, "27381000015");
  EXPECT_EQ(hello.address.type, 0xC8);
  EXPECT_EQ(hello.address.digits, "27838890001");
  EXPECT_EQ(hello.timestamp, "1999-03-29 15:16:59 +02:00");
  EXPECT_EQ(hello.text, U"hellohello");
  EXPECT_EQ(decoded("000404811017000462219041500049026F6B").timestamp,
            "2026-12-09 14:05:00 -03:30");
  EXPECT_EQ(decoded("000406D041E110000462900121000000026869").address.digits, "ABC");

  // A concatenation header; in 7-bit one fill bit follows it.
  const Decoded udh7 = decoded("0051000A8110325476980000A709050003CC02019069");
  EXPECT_EQ(udh7.userDataHeader, fromHex("050003CC0201"));
  EXPECT_EQ(udh7.text, U"Hi");
  EXPECT_EQ(decoded("0051000A8110325476980004A708050003CC02016869").text, U"hi");

  struct Vp {
    std::string_view field;  // first octet, and the field before UDL 00
    std::string_view text;
  };
  static const Vp vps[] = {
      {"09"
       "01A70000000000",
       "24 h"},
      {"09"
       "423C0000000000",
       "60 s, single shot"},
      {"09"
       "03214365000000",
       "12:34:56"},
      {"19"
       "62902141500040",
       "2026-09-12 14:05:00 +01:00"},
  };
  for (const Vp& v : vps) {
    const std::string hex = "00" + std::string(v.field.substr(0, 2)) + "000A81103254769800F6" +
                            std::string(v.field.substr(2)) + "00";
    EXPECT_EQ(decoded(hex).vpText, v.text);
    EXPECT_EQ(toHex(decoded(hex).vpOctets), v.field.substr(2));
  }

  EXPECT_EQ(decoded("0011000A8110325476980008A705D83D0041FF").text, U"\uFFFDA\uFFFD");
  EXPECT_TRUE(decoded("0011000A8110325476980024A703616263").compressed);
  EXPECT_EQ(decoded("0011000A81103254769800C8A70361F118").text, U"abc");  // message waiting
  EXPECT_EQ(decoded(" 0011010A81103254769800F6A703616263\r\n").text, U"abc");
}

TEST(DecodePdu, WithoutAHintKeepsTheReadingThatUsesEveryOctet) {
  // Both readings fit: "00" as no SCA, or as the first octet of a DELIVER; with SCA wins.
  const std::string_view both = "000400214300006210100000000100";
  EXPECT_TRUE(decoded(both).hadScaPart);
  EXPECT_EQ(decoded(both).text, U"@");
  EXPECT_EQ(decoded(both, false).address.digits, "1234");
  EXPECT_FALSE(decoded("11010A81103254769800F6A703616263").hadScaPart);
}

TEST(DecodePdu, MalformedInputNamesTheOctet) {
  struct Case {
    std::string_view hex;
    std::optional<bool> hasSca;
    std::string_view error;
  };
  static const Case cases[] = {
      {"", std::nullopt, "octet 1: the PDU is empty"},
      {"0G", std::nullopt, "octet 1: 'G' is not a hex digit"},
      {"00 11", std::nullopt, "octet 2: byte 20 is not a hex digit"},
      {"001", std::nullopt, "octet 2: only one hex digit"},
      {"0011010A81103254769800F6A705616263", true, "octet 15: user data ends after 3 of 5 octets"},
      {"0011010A81103254769800F6A705616263", std::nullopt,
       "octet 15: user data ends after 3 of 5 octets (read with an SCA part)"},
      {"0011010A81103254769800F6A70361626364", true, "octet 18: 1 octet after the user data"},
      {"0C91947101670000", true, "octet 1: service-centre address of 12 octets"},
      {"07919471", true, "octet 3: service-centre address ends after 2 of 6 octets"},
      {"00110115811032547698", true, "octet 4: destination address of 21 digits is longer"},
      {"0002", true, "octet 2: message type 2"},
      {"0003", true, "octet 2: message type 3 is reserved"},
      {"0011010A81103254769800", true, "octet 12: the PDU ends before the data coding scheme"},
      {"0011010A8110325476980000A7A1", true, "octet 14: user-data length of 161 septets"},
      {"0011010A81103254769800F6A78D", true, "octet 14: user-data length of 141 octets"},
      {"0051010A81103254769800F6A7020500", true, "octet 15: user-data header of 6 octets"},
      {"0051010A8110325476980000A709070003CC02010000", true,
       "octet 15: user-data header of 8 octets does not fit"},
      {"0051010A81103254769800F6A700", true, "octet 15: a user-data header is announced"},
      {"000404811017000462A19041500049026F6B", true,
       "octet 10: time-stamp octet A1 is not two decimal digits"},
      {"00040481101700046221", true, "octet 9: time stamp ends after 2 of 7 octets"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hex);
    const DecodeResult r = decodePdu(c.hex, c.hasSca);
    EXPECT_FALSE(r.pdu.has_value());
    EXPECT_EQ(r.error.substr(0, c.error.size()), c.error) << r.error;
  }
}

// Cut or altered PDUs and random octets: every outcome is a PDU or an "octet N:" reason.
TEST(DecodePdu, AnyInputGivesAPduOrAReason) {
  const auto check = [](const Octets& octets) {
    const DecodeResult r = decodePdu(toHex(octets));
    if (r.pdu) (void)toJson(*r.pdu);
    EXPECT_TRUE(r.pdu || r.error.rfind("octet ", 0) == 0) << toHex(octets) << ": " << r.error;
  };
  for (const std::string_view pdu :
       {"07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37",
        "0051000A8110325476980000A709050003CC02019069"}) {
    Octets octets = *fromHex(pdu);
    for (std::size_t cut = 0; cut < octets.size(); ++cut) {
      EXPECT_FALSE(decodePdu(toHex(Octets(octets.begin(), octets.begin() + cut)), true).pdu);
    }
    for (std::size_t i = 0; i < octets.size(); ++i) {
      const std::uint8_t kept = octets[i];
      for (int v = 0; v < 256; v += 5) {
        octets[i] = static_cast<std::uint8_t>(v);
        check(octets);
      }
      octets[i] = kept;
    }
  }
  std::mt19937 random(7);
  for (int n = 0; n < 3000; ++n) {
    Octets octets(random() % 60);
    for (auto& o : octets) o = static_cast<std::uint8_t>(random());
    check(octets);
  }
}

}  // namespace
}  // namespace d7o::sms
