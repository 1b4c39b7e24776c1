// Fields of a PDU that read the same in both directions: data coding scheme and the
// relative validity period.

#include "sms/pdu_codec.h"

namespace d7o::sms {
namespace {

Coding alphabet(int bits) {
  switch (bits) {
    case 1:
      return Coding::Bits8;
    case 2:
      return Coding::Ucs2;
    default:
      return Coding::Gsm7;  // 0, and the reserved 3
  }
}

}  // namespace

// 00xx xxxx general (bit 5 compressed, bit 4 class given, bits 3-2 alphabet, 1-0 class);
// 01xx xxxx the same, marked for deletion after reading; 1100/1101 message waiting, 7-bit;
// 1110 message waiting, UCS2; 1111 bit 2 8-bit, bits 1-0 class; 1000..1011 reserved.
DataCoding readDataCodingScheme(std::uint8_t dcs) {
  DataCoding c;
  switch (dcs >> 4) {
    case 0x0:
    case 0x1:
    case 0x2:
    case 0x3:
    case 0x4:
    case 0x5:
    case 0x6:
    case 0x7:
      c.compressed = (dcs & 0x20) != 0;
      c.coding = alphabet((dcs >> 2) & 0x03);
      if ((dcs & 0x10) != 0) c.messageClass = dcs & 0x03;
      break;
    case 0xE:
      c.coding = Coding::Ucs2;
      break;
    case 0xF:
      c.coding = (dcs & 0x04) != 0 ? Coding::Bits8 : Coding::Gsm7;
      c.messageClass = dcs & 0x03;
      break;
    default:  // 8..B reserved, C and D message waiting: the default alphabet
      break;
  }
  return c;
}

// 0 -> "5 min.", 143 -> "720 min.", 144 -> "12.5 h", 167 -> "24 h", 168 -> "2 day",
// 196 -> "30 day", 197 -> "5 week", 255 -> "63 week"
std::string validityPeriodText(std::uint8_t vp) {
  const int v = vp;
  if (v <= 143) return std::to_string((v + 1) * 5) + " min.";
  if (v <= 167) {
    const int halfHours = 24 + (v - 143);
    return std::to_string(halfHours / 2) + (halfHours % 2 != 0 ? ".5" : "") + " h";
  }
  if (v <= 196) return std::to_string(v - 166) + " day";
  return std::to_string(v - 192) + " week";
}

}  // namespace d7o::sms
