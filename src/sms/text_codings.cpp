// Text at the codec's edges (UTF-8, Latin-1), hex and semi-octets.

#include "sms/pdu_codec.h"

namespace d7o::sms {
namespace {

constexpr char32_t kReplacement = U'\uFFFD';

bool isScalarValue(char32_t c) {
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// One UTF-8 sequence from `pos`; nullopt for a malformed one, which then covers one byte
// so decoding resumes at the next.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  ++pos;
  if (lead < 0x80) return lead;
  std::size_t extra = 0;
  char32_t c = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - pos < extra) return std::nullopt;
  for (std::size_t i = 0; i < extra; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (c < least || !isScalarValue(c)) return std::nullopt;  // overlong, surrogate, too big
  pos += extra;
  return c;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::u32string fromUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) out.push_back(nextUtf8(text, pos).value_or(kReplacement));
  return out;
}

std::optional<std::u32string> fromUtf8Strict(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto c = nextUtf8(text, pos);
    if (!c) return std::nullopt;
    out.push_back(*c);
  }
  return out;
}

std::string toUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (!isScalarValue(c)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u32string fromLatin1(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (const char c : text) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::string toHex(const Octets& octets) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(octets.size() * 2);
  for (const std::uint8_t o : octets) {
    hex.push_back(kDigits[o >> 4]);
    hex.push_back(kDigits[o & 0x0F]);
  }
  return hex;
}

std::optional<Octets> fromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  Octets octets;
  octets.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = hexValue(hex[i]);
    const int lo = hexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    octets.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  return octets;
}

// "0123456789" -> "1032547698", "12345" -> "2143F5"
std::string swapSemiOctets(std::string_view digits) {
  std::string padded(digits);
  if (padded.size() % 2 != 0) padded.push_back('F');
  std::string swapped;
  swapped.reserve(padded.size());
  for (std::size_t i = 0; i < padded.size(); i += 2) {
    swapped.push_back(padded[i + 1]);
    swapped.push_back(padded[i]);
  }
  return swapped;
}

}  // namespace d7o::sms
