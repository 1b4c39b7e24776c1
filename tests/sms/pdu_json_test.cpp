#include "sms/pdu_codec.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string_view>

namespace d7o::sms {
namespace {

nlohmann::json jsonOf(std::string_view hex) {
  const DecodeResult r = decodePdu(hex);
  EXPECT_TRUE(r.pdu.has_value()) << r.error;
  return r.pdu ? nlohmann::json::parse(toJson(*r.pdu)) : nlohmann::json();
}

TEST(PduJson, SubmitAsTheToolPrintsIt) {
  const auto j = jsonOf("079194710167000011010A81103254769800F6A703616263");
  EXPECT_EQ(j["sca"], (nlohmann::json{{"type", "91"}, {"number", "491710760000"}}));
  EXPECT_EQ(j["type"], "SMS-SUBMIT");
  EXPECT_EQ(j["first_octet"], "11");
  EXPECT_EQ(j["flags"], (nlohmann::json{{"mti", 1},
                                        {"rd", false},
                                        {"vpf", "relative"},
                                        {"srr", false},
                                        {"udhi", false},
                                        {"rp", false}}));
  EXPECT_EQ(j["mr"], "01");
  EXPECT_EQ(j["address"], (nlohmann::json{{"type", "81"}, {"number", "0123456789"}}));
  EXPECT_EQ(j["pid"], "00");
  EXPECT_EQ(
      j["dcs"],
      (nlohmann::json{{"value", "F6"}, {"coding", "8bit"}, {"class", 2}, {"compressed", false}}));
  EXPECT_EQ(j["vp"], (nlohmann::json{{"raw", "A7"}, {"text", "24 h"}}));
  EXPECT_EQ(j["udl"], 3);
  EXPECT_TRUE(j["udh"].is_null());
  EXPECT_EQ(j["text"], "abc");
  EXPECT_FALSE(j.contains("timestamp"));
}

TEST(PduJson, DeliverWithHeaderAndUcs2) {
  // SMS-DELIVER, UDHI, no SCA; UCS2 "€😀" after a concatenation header.
  const auto j = jsonOf(
      "004404811071000862900121000000"
      "0C050003CC020120ACD83DDE00");
  EXPECT_TRUE(j["sca"].is_null());
  EXPECT_EQ(j["type"], "SMS-DELIVER");
  EXPECT_EQ(j["first_octet"], "44");
  EXPECT_EQ(
      j["flags"],
      (nlohmann::json{{"mti", 0}, {"mms", true}, {"sri", false}, {"udhi", true}, {"rp", false}}));
  EXPECT_FALSE(j.contains("mr"));
  EXPECT_FALSE(j.contains("vp"));
  EXPECT_EQ(j["timestamp"], "2026-09-10 12:00:00 +00:00");
  EXPECT_EQ(j["dcs"]["coding"], "ucs2");
  EXPECT_TRUE(j["dcs"]["class"].is_null());
  EXPECT_EQ(j["udh"], "050003CC0201");
  EXPECT_EQ(j["text"], "\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(PduJson, NoValidityPeriodIsNull) {
  const auto j = jsonOf("0001010A81103254769800F603616263");
  EXPECT_EQ(j["flags"]["vpf"], "none");
  EXPECT_TRUE(j["vp"].is_null());
}

}  // namespace
}  // namespace d7o::sms
