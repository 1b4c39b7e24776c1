// SMS-SUBMIT and SMS-DELIVER as the modem takes and lists them in PDU mode.

#include "sms/pdu_codec.h"

#include <stdexcept>

namespace d7o::sms {
namespace {

constexpr std::size_t kMaxDigits = 20;
constexpr std::size_t kMaxSeptets = 160;
constexpr std::size_t kMaxOctets = 140;

[[noreturn]] void refuse(const std::string& why) {
  throw std::invalid_argument(why);
}

// '0'..'9' and the dialling characters * # a b c as the semi-octets 0..E.
int semiOctet(char c) {
  switch (c) {
    case '*':
      return 0xA;
    case '#':
      return 0xB;
    case 'a':
      return 0xC;
    case 'b':
      return 0xD;
    case 'c':
      return 0xE;
    default:
      return c >= '0' && c <= '9' ? c - '0' : -1;
  }
}

// The digits as the PDU carries them, a "+" turned into the international type:
// "+4917" -> type 91, "4917".
Address normalised(const Address& address, const char* what) {
  Address a = address;
  if (!a.digits.empty() && a.digits.front() == '+') {
    a.digits.erase(0, 1);
    a.type = 0x91;
  }
  if (a.digits.size() > kMaxDigits) {
    refuse(std::string(what) + " " + a.digits + " has " + std::to_string(a.digits.size()) +
           " digits, at most 20 fit");
  }
  for (const char c : a.digits) {
    if (semiOctet(c) < 0) {
      refuse(std::string(what) + " " + a.digits + " has a character other than 0-9 * # a b c: '" +
             std::string(1, c) + "'");
    }
  }
  return a;
}

// "12345" -> 21 43 F5
Octets digitOctets(const std::string& digits) {
  Octets octets;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int lo = semiOctet(digits[i]);
    const int hi = i + 1 < digits.size() ? semiOctet(digits[i + 1]) : 0xF;
    octets.push_back(static_cast<std::uint8_t>((hi << 4) | lo));
  }
  return octets;
}

// Length in octets of type and digits, type, digits; "00" without a centre.
Octets scaPart(const std::optional<Address>& sca) {
  if (!sca) return {0x00};
  const Address a = normalised(*sca, "service-centre number");
  if (a.digits.empty()) return {0x00};
  const Octets digits = digitOctets(a.digits);
  Octets part{static_cast<std::uint8_t>(digits.size() + 1), a.type};
  part.insert(part.end(), digits.begin(), digits.end());
  return part;
}

// Length in digits (the filler F not counted), type, digits.
void appendAddress(Octets& pdu, const Address& address, const char* what) {
  const Address a = normalised(address, what);
  pdu.push_back(static_cast<std::uint8_t>(a.digits.size()));
  pdu.push_back(a.type);
  const Octets digits = digitOctets(a.digits);
  pdu.insert(pdu.end(), digits.begin(), digits.end());
}

// UDL and user data: the UDL counts septets for 7-bit text, octets otherwise.
void appendUserData(Octets& pdu, Coding coding, const std::u32string& text) {
  Octets data;
  std::size_t udl = 0;
  switch (coding) {
    case Coding::Gsm7: {
      const auto septets = toGsmSeptets(text);
      if (septets.size() > kMaxSeptets) {
        refuse("the text needs " + std::to_string(septets.size()) +
               " septets, at most 160 fit in one SMS");
      }
      udl = septets.size();
      data = packSeptets(septets);
      break;
    }
    case Coding::Bits8:
      for (const char32_t c : text) {
        if (c > 0xFF) refuse("8-bit text can only carry characters up to U+00FF");
        data.push_back(static_cast<std::uint8_t>(c));
      }
      udl = data.size();
      break;
    case Coding::Ucs2:
      for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = U'\uFFFD';
        if (c >= 0x10000) {
          const char32_t v = c - 0x10000;
          const char32_t high = 0xD800 + (v >> 10), low = 0xDC00 + (v & 0x3FF);
          for (const char32_t unit : {high, low}) {
            data.push_back(static_cast<std::uint8_t>(unit >> 8));
            data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
          }
        } else {
          data.push_back(static_cast<std::uint8_t>(c >> 8));
          data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        }
      }
      udl = data.size();
      break;
  }
  if (coding != Coding::Gsm7 && data.size() > kMaxOctets) {
    refuse("the text needs " + std::to_string(data.size()) + " octets, at most 140 fit in one SMS");
  }
  pdu.push_back(static_cast<std::uint8_t>(udl));
  pdu.insert(pdu.end(), data.begin(), data.end());
}

// A time-stamp field: two decimal digits an octet, swapped (26 -> 62).
std::uint8_t swappedBcd(int value) {
  return static_cast<std::uint8_t>(((value % 10) << 4) | (value / 10));
}

void appendTimestamp(Octets& pdu, const Deliver& d) {
  const auto check = [](int value, int low, int high, const char* what) {
    if (value < low || value > high) {
      refuse(std::string("time stamp ") + what + " " + std::to_string(value) + " is not in " +
             std::to_string(low) + ".." + std::to_string(high));
    }
  };
  check(d.year, 0, 99, "year");
  check(d.month, 1, 12, "month");
  check(d.day, 1, 31, "day");
  check(d.hour, 0, 23, "hour");
  check(d.minute, 0, 59, "minute");
  check(d.second, 0, 59, "second");
  check(d.zoneQuarters, -79, 79, "zone (quarter hours)");
  for (const int v : {d.year, d.month, d.day, d.hour, d.minute, d.second}) {
    pdu.push_back(swappedBcd(v));
  }
  const int quarters = d.zoneQuarters < 0 ? -d.zoneQuarters : d.zoneQuarters;
  pdu.push_back(static_cast<std::uint8_t>(swappedBcd(quarters) | (d.zoneQuarters < 0 ? 0x08 : 0)));
}

Encoded joined(const Octets& sca, const Octets& tpdu) {
  Octets whole = sca;
  whole.insert(whole.end(), tpdu.begin(), tpdu.end());
  return {toHex(whole), tpdu.size()};
}

std::string hex2(std::uint8_t value) {
  return toHex({value});
}

}  // namespace

Encoded encodeSubmit(const Submit& s) {
  const std::uint8_t fo = s.firstOctet;
  if ((fo & 0x03) != 0x01) refuse("first octet " + hex2(fo) + " is not an SMS-SUBMIT");
  if ((fo & 0x40) != 0) refuse("first octet " + hex2(fo) + " announces a user-data header");
  const int vpf = (fo >> 3) & 0x03;
  if (s.validityPeriod && vpf != 2) {
    refuse("first octet " + hex2(fo) + " has no relative validity period, but one is given");
  }
  if (!s.validityPeriod && vpf != 0) {
    refuse("first octet " + hex2(fo) + " announces a validity period, but none is given");
  }
  const DataCoding coding = readDataCodingScheme(s.dcs);
  if (coding.compressed || coding.coding != s.coding) {
    refuse("data coding scheme " + hex2(s.dcs) + " does not say the text's coding");
  }

  const Octets sca = scaPart(s.sca);
  Octets tpdu{fo, s.messageReference};
  appendAddress(tpdu, s.destination, "destination number");
  tpdu.push_back(s.pid);
  tpdu.push_back(s.dcs);
  if (s.validityPeriod) tpdu.push_back(*s.validityPeriod);
  appendUserData(tpdu, s.coding, s.text);
  return joined(sca, tpdu);
}

Encoded encodeDeliver(const Deliver& d) {
  // 04: SMS-DELIVER, no more messages waiting at the centre.
  const Octets sca = scaPart(d.sca);
  Octets tpdu{0x04};
  appendAddress(tpdu, d.originator, "originator number");
  tpdu.push_back(d.pid);
  tpdu.push_back(d.coding == Coding::Gsm7 ? 0x00 : d.coding == Coding::Bits8 ? 0x04 : 0x08);
  appendTimestamp(tpdu, d);
  appendUserData(tpdu, d.coding, d.text);
  return joined(sca, tpdu);
}

}  // namespace d7o::sms
