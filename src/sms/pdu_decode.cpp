// Reading SMS-SUBMIT and SMS-DELIVER PDUs field by field. A field that does not fit stops
// the reading with the number of its first octet, so the user can find it in the hex.

#include "sms/pdu_codec.h"

#include <algorithm>
#include <cstdio>

namespace d7o::sms {
namespace {

constexpr std::size_t kMaxScaOctets = 11;  // type and 10 octets of digits
constexpr std::size_t kMaxDigits = 20;
constexpr std::size_t kMaxSeptets = 160;
constexpr std::size_t kMaxOctets = 140;
constexpr std::size_t kTimestampOctets = 7;

struct Failure {
  std::size_t index;  // 0-based octet
  std::string why;
};

[[noreturn]] void fail(std::size_t index, std::string why) {
  throw Failure{index, std::move(why)};
}

std::string octetsText(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " octet" : " octets");
}

class Reader {
 public:
  explicit Reader(const Octets& octets) : m_octets(octets) {}

  std::size_t position() const { return m_pos; }
  std::size_t remaining() const { return m_octets.size() - m_pos; }

  std::uint8_t take(const std::string& what) {
    if (remaining() == 0) fail(m_pos, "the PDU ends before the " + what);
    return m_octets[m_pos++];
  }

  Octets take(std::size_t count, const std::string& what) {
    if (remaining() < count) {
      fail(m_pos, what + " ends after " + std::to_string(remaining()) + " of " + octetsText(count));
    }
    const auto first = m_octets.begin() + static_cast<std::ptrdiff_t>(m_pos);
    m_pos += count;
    return Octets(first, first + static_cast<std::ptrdiff_t>(count));
  }

 private:
  const Octets& m_octets;
  std::size_t m_pos = 0;
};

// Semi-octets low nibble first: 21 43 F5 with 5 digits -> "12345".
std::string semiOctetDigits(const Octets& octets, std::size_t count) {
  static constexpr char kDigits[] = "0123456789*#abcF";
  std::string digits;
  for (std::size_t i = 0; i < count && i / 2 < octets.size(); ++i) {
    const std::uint8_t o = octets[i / 2];
    digits.push_back(kDigits[i % 2 == 0 ? (o & 0x0F) : (o >> 4)]);
  }
  return digits;
}

bool isAlphanumeric(std::uint8_t type) {
  return (type & 0x70) == 0x50;
}

// An address field: length in digits, type, digits (or 7-bit text for an alphanumeric
// originator such as a network's name).
Address readAddress(Reader& r, const std::string& what) {
  const std::size_t at = r.position();
  const std::size_t digits = r.take(what + " length");
  if (digits > kMaxDigits) {
    fail(at, what + " of " + std::to_string(digits) + " digits is longer than 20");
  }
  Address a;
  a.type = r.take(what + " type");
  const Octets octets = r.take((digits + 1) / 2, what);
  if (isAlphanumeric(a.type)) {
    const auto septets = unpackSeptets(octets, digits * 4 / 7);
    a.digits = septets ? toUtf8(fromGsmSeptets(*septets)) : std::string();
  } else {
    a.digits = semiOctetDigits(octets, digits);
  }
  return a;
}

// The centre's part: its length counts octets, so a filler F can only be told by itself.
void readSca(Reader& r, Decoded& d) {
  d.hadScaPart = true;
  const std::size_t length = r.take("service-centre address length");
  if (length == 0) return;
  if (length > kMaxScaOctets) {
    fail(0, "service-centre address of " + octetsText(length) + " is longer than 11");
  }
  Address a;
  a.type = r.take("service-centre type");
  const Octets octets = r.take(length - 1, "service-centre address");
  std::size_t count = octets.size() * 2;
  if (count > 0 && (octets.back() >> 4) == 0x0F) --count;
  a.digits = semiOctetDigits(octets, count);
  d.sca = a;
}

int decimal(const Octets& field, std::size_t i, std::size_t firstIndex, bool signedZone = false) {
  const int tens = field[i] & (signedZone ? 0x07 : 0x0F);
  const int units = field[i] >> 4;
  if (tens > 9 || units > 9) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", field[i]);
    fail(firstIndex + i, std::string("time-stamp octet ") + hex + " is not two decimal digits");
  }
  return tens * 10 + units;
}

// 62 90 21 41 50 00 40 -> "2026-09-12 14:05:00 +01:00". The stamp has two year digits;
// 80..99 are read as the 1980s and 1990s, of which old message stores still hold some.
std::string timestampText(const Octets& field, std::size_t firstIndex) {
  int v[6];
  for (std::size_t i = 0; i < 6; ++i) v[i] = decimal(field, i, firstIndex);
  const int quarters = decimal(field, 6, firstIndex, true);
  const char sign = (field[6] & 0x08) != 0 ? '-' : '+';
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c%02d:%02d",
                (v[0] < 80 ? 2000 : 1900) + v[0], v[1], v[2], v[3], v[4], v[5], sign, quarters / 4,
                quarters % 4 * 15);
  return text;
}

// The enhanced format: a functionality octet, then the period in one of three forms.
std::string enhancedVpText(const Octets& field, std::size_t firstIndex) {
  std::string text;
  switch (field[0] & 0x07) {
    case 0:
      text = "none";
      break;
    case 1:
      text = validityPeriodText(field[1]);
      break;
    case 2:
      text = std::to_string(field[1]) + " s";
      break;
    case 3: {
      const int h = decimal(field, 1, firstIndex), m = decimal(field, 2, firstIndex),
                s = decimal(field, 3, firstIndex);
      char hms[32];
      std::snprintf(hms, sizeof hms, "%02d:%02d:%02d", h, m, s);
      text = hms;
      break;
    }
    default:
      text = "reserved format " + std::to_string(field[0] & 0x07);
      break;
  }
  if ((field[0] & 0x40) != 0) text += ", single shot";
  return text;
}

void readValidityPeriod(Reader& r, Decoded& d) {
  const std::size_t at = r.position();
  switch ((d.firstOctet >> 3) & 0x03) {
    case 2:
      d.vpOctets = r.take(1, "validity period");
      d.vpRaw = d.vpOctets[0];
      d.vpText = validityPeriodText(d.vpOctets[0]);
      break;
    case 1:
      d.vpOctets = r.take(7, "enhanced validity period");
      d.vpText = enhancedVpText(d.vpOctets, at);
      break;
    case 3:
      d.vpOctets = r.take(7, "absolute validity period");
      d.vpText = timestampText(d.vpOctets, at);
      break;
    default:
      break;
  }
}

// UTF-16BE; an unpaired surrogate or a last odd octet reads as U+FFFD.
std::u32string fromUtf16(const Octets& o, std::size_t first) {
  std::u32string text;
  std::size_t i = first;
  for (; i + 1 < o.size(); i += 2) {
    const char32_t unit = static_cast<char32_t>((o[i] << 8) | o[i + 1]);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < o.size()) {
      const char32_t next = static_cast<char32_t>((o[i + 2] << 8) | o[i + 3]);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        text.push_back(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        i += 2;
        continue;
      }
    }
    text.push_back(unit >= 0xD800 && unit <= 0xDFFF ? U'\uFFFD' : unit);
  }
  if (i < o.size()) text.push_back(U'\uFFFD');
  return text;
}

void readUserData(Reader& r, Decoded& d) {
  const std::size_t udlAt = r.position();
  d.udl = r.take("user-data length");
  const bool inSeptets = d.coding == Coding::Gsm7 && !d.compressed;
  if (inSeptets && d.udl > kMaxSeptets) {
    fail(udlAt, "user-data length of " + std::to_string(d.udl) + " septets is more than 160");
  }
  if (!inSeptets && d.udl > kMaxOctets) {
    fail(udlAt, "user-data length of " + octetsText(d.udl) + " is more than 140");
  }
  const std::size_t at = r.position();
  const Octets ud = r.take(inSeptets ? (d.udl * 7u + 7) / 8 : d.udl, "user data");

  std::size_t headerOctets = 0;
  if ((d.firstOctet & 0x40) != 0) {
    if (ud.empty()) fail(at, "a user-data header is announced, but the user data is empty");
    headerOctets = 1 + ud[0];
    const std::size_t headerSeptets = (headerOctets * 8 + 6) / 7;
    if (headerOctets > ud.size() || (inSeptets && headerSeptets > d.udl)) {
      fail(at,
           "user-data header of " + octetsText(headerOctets) + " does not fit in the user data");
    }
    d.userDataHeader = Octets(ud.begin(), ud.begin() + static_cast<std::ptrdiff_t>(headerOctets));
  }

  if (d.compressed) return;
  if (d.coding == Coding::Gsm7) {
    auto septets = unpackSeptets(ud, d.udl).value_or(std::vector<std::uint8_t>{});
    const std::size_t skip = std::min(septets.size(), (headerOctets * 8 + 6) / 7);
    septets.erase(septets.begin(), septets.begin() + static_cast<std::ptrdiff_t>(skip));
    d.text = fromGsmSeptets(septets);
  } else if (d.coding == Coding::Bits8) {
    for (std::size_t i = headerOctets; i < ud.size(); ++i) d.text.push_back(ud[i]);
  } else {
    d.text = fromUtf16(ud, headerOctets);
  }
}

Decoded readPdu(const Octets& octets, bool withSca) {
  Reader r(octets);
  Decoded d;
  if (withSca) readSca(r, d);

  const std::size_t foAt = r.position();
  d.firstOctet = r.take("first octet");
  switch (d.firstOctet & 0x03) {
    case 0:
      d.kind = Decoded::Kind::Deliver;
      break;
    case 1:
      d.kind = Decoded::Kind::Submit;
      break;
    case 2:
      fail(foAt, "message type 2 (SMS-STATUS-REPORT or SMS-COMMAND) is not read here");
    default:
      fail(foAt, "message type 3 is reserved");
  }
  const bool submit = d.kind == Decoded::Kind::Submit;
  if (submit) d.messageReference = r.take("message reference");
  d.address = readAddress(r, submit ? "destination address" : "originator address");
  d.pid = r.take("protocol identifier");
  d.dcs = r.take("data coding scheme");
  const DataCoding coding = readDataCodingScheme(d.dcs);
  d.coding = coding.coding;
  d.messageClass = coding.messageClass;
  d.compressed = coding.compressed;
  if (submit) {
    readValidityPeriod(r, d);
  } else {
    const std::size_t at = r.position();
    d.timestamp = timestampText(r.take(kTimestampOctets, "time stamp"), at);
  }
  readUserData(r, d);
  if (r.remaining() > 0) fail(r.position(), octetsText(r.remaining()) + " after the user data");
  return d;
}

std::string describeCharacter(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b > 0x20 && b < 0x7F) return std::string("'") + c + "'";
  char text[8];
  std::snprintf(text, sizeof text, "byte %02X", b);
  return text;
}

std::string_view trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string located(const Failure& f) {
  return "octet " + std::to_string(f.index + 1) + ": " + f.why;
}

}  // namespace

DecodeResult decodePdu(std::string_view input, std::optional<bool> hasSca) {
  const std::string_view hex = trimmed(input);
  if (hex.empty()) return {std::nullopt, "octet 1: the PDU is empty"};
  for (std::size_t i = 0; i < hex.size(); ++i) {
    if (!isHexDigit(hex[i])) {
      return {std::nullopt, located({i / 2, describeCharacter(hex[i]) + " is not a hex digit"})};
    }
  }
  if (hex.size() % 2 != 0) {
    return {std::nullopt, located({hex.size() / 2, "only one hex digit, an octet needs two"})};
  }
  const Octets octets = *fromHex(hex);

  const auto attempt = [&](bool withSca) -> std::pair<std::optional<Decoded>, Failure> {
    try {
      return {readPdu(octets, withSca), {}};
    } catch (const Failure& f) {
      return {std::nullopt, f};
    }
  };
  if (hasSca) {
    auto [pdu, failure] = attempt(*hasSca);
    if (pdu) return {std::move(pdu), {}};
    return {std::nullopt, located(failure)};
  }
  auto [withPdu, withFailure] = attempt(true);
  if (withPdu) return {std::move(withPdu), {}};
  auto [withoutPdu, withoutFailure] = attempt(false);
  if (withoutPdu) return {std::move(withoutPdu), {}};
  // Neither reading fits: the one that got further is the likelier, and says which it was.
  if (withoutFailure.index > withFailure.index) {
    return {std::nullopt, located(withoutFailure) + " (read without an SCA part)"};
  }
  return {std::nullopt, located(withFailure) + " (read with an SCA part)"};
}

}  // namespace d7o::sms
