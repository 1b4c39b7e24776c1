#include "sms/pdu_codec.h"

#include <gtest/gtest.h>
#include <string_view>

namespace d7o::sms {
namespace {

std::string jsonOf(std::string_view hex) {
  const DecodeResult r = decodePdu(hex);
  EXPECT_TRUE(r.pdu.has_value()) << r.error;
  return r.pdu ? toJson(*r.pdu) : std::string();
}

TEST(PduJson, FieldsAsTheToolPrintsThem) {
  EXPECT_EQ(jsonOf("079194710167000011010A81103254769800F6A703616263"),
            R"({"sca":{"type":"91","number":"491710760000"},"type":"SMS-SUBMIT",)"
            R"("first_octet":"11","flags":{"mti":1,"rd":false,"vpf":"relative","srr":false,)"
            R"("udhi":false,"rp":false},"mr":"01","address":{"type":"81","number":"0123456789"},)"
            R"("pid":"00","dcs":{"value":"F6","coding":"8bit","class":2,"compressed":false},)"
            R"("vp":{"raw":"A7","text":"24 h"},"udl":3,"udh":null,"text":"abc"})");
  // SMS-DELIVER with a concatenation header and UCS2 "€😀"; no SCA.
  EXPECT_EQ(jsonOf("004404811017000862900121000000"
                   "0C050003CC020120ACD83DDE00"),
            R"({"sca":null,"type":"SMS-DELIVER","first_octet":"44","flags":{"mti":0,)"
            R"("mms":true,"sri":false,"udhi":true,"rp":false},)"
            R"("address":{"type":"81","number":"0171"},"pid":"00",)"
            R"("dcs":{"value":"08","coding":"ucs2","class":null,"compressed":false},)"
            R"("timestamp":"2026-09-10 12:00:00 +00:00","udl":12,"udh":"050003CC0201",)"
            "\"text\":\"\xE2\x82\xAC\xF0\x9F\x98\x80\"}");
  EXPECT_NE(jsonOf("0001010A81103254769800F603616263").find(R"("vpf":"none")"), std::string::npos);
  EXPECT_NE(jsonOf("0001010A81103254769800F603616263").find(R"("vp":null)"), std::string::npos);
}

}  // namespace
}  // namespace d7o::sms
