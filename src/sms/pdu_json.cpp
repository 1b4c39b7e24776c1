// A decoded PDU as JSON for d7o-tool decode: octet values as the hex the user typed,
// flags as booleans, the text in UTF-8.

#include "sms/pdu_codec.h"

#include <nlohmann/json.hpp>

namespace d7o::sms {
namespace {

using Json = nlohmann::ordered_json;

std::string hex2(std::uint8_t value) {
  return toHex({value});
}

Json address(const Address& a) {
  return {{"type", hex2(a.type)}, {"number", a.digits}};
}

const char* vpfName(std::uint8_t firstOctet) {
  switch ((firstOctet >> 3) & 0x03) {
    case 1:
      return "enhanced";
    case 2:
      return "relative";
    case 3:
      return "absolute";
    default:
      return "none";
  }
}

const char* codingName(Coding c) {
  switch (c) {
    case Coding::Bits8:
      return "8bit";
    case Coding::Ucs2:
      return "ucs2";
    default:
      return "7bit";
  }
}

// SUBMIT: RP UDHI SRR VPF VPF RD MTI MTI; DELIVER: RP UDHI SRI - - MMS MTI MTI.
Json flags(const Decoded& pdu) {
  const std::uint8_t fo = pdu.firstOctet;
  const auto bit = [fo](int n) { return (fo >> n & 1) != 0; };
  Json j;
  j["mti"] = fo & 0x03;
  if (pdu.kind == Decoded::Kind::Submit) {
    j["rd"] = bit(2);
    j["vpf"] = vpfName(fo);
    j["srr"] = bit(5);
  } else {
    j["mms"] = bit(2);
    j["sri"] = bit(5);
  }
  j["udhi"] = bit(6);
  j["rp"] = bit(7);
  return j;
}

}  // namespace

std::string toJson(const Decoded& pdu) {
  const bool submit = pdu.kind == Decoded::Kind::Submit;
  Json j;
  j["sca"] = pdu.sca ? address(*pdu.sca) : Json(nullptr);
  j["type"] = submit ? "SMS-SUBMIT" : "SMS-DELIVER";
  j["first_octet"] = hex2(pdu.firstOctet);
  j["flags"] = flags(pdu);
  if (submit) j["mr"] = hex2(pdu.messageReference.value_or(0));
  j["address"] = address(pdu.address);
  j["pid"] = hex2(pdu.pid);
  j["dcs"] = {{"value", hex2(pdu.dcs)},
              {"coding", codingName(pdu.coding)},
              {"class", pdu.messageClass ? Json(*pdu.messageClass) : Json(nullptr)},
              {"compressed", pdu.compressed}};
  if (submit) {
    j["vp"] = pdu.vpOctets.empty() ? Json(nullptr)
                                   : Json{{"raw", toHex(pdu.vpOctets)}, {"text", pdu.vpText}};
  } else {
    j["timestamp"] = pdu.timestamp ? Json(*pdu.timestamp) : Json(nullptr);
  }
  j["udl"] = pdu.udl;
  j["udh"] = pdu.userDataHeader ? Json(toHex(*pdu.userDataHeader)) : Json(nullptr);
  j["text"] = toUtf8(pdu.text);
  // Address texts come from the PDU; replace rather than throw should one not be UTF-8.
  return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace d7o::sms
