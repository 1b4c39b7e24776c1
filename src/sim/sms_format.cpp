#include "sim/sms_format.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace d7o::sim {

namespace {

constexpr std::array<std::string_view, 3> kCharsetNames = {"GSM", "IRA", "UCS2"};
constexpr std::size_t kMaxDigits = 20;

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

// "00E4" -> 0xE4
std::optional<char32_t> hexGroup(std::string_view four) {
  char32_t value = 0;
  for (char c : four) {
    const auto d = hexDigit(c);
    if (!d) return std::nullopt;
    value = value * 16 + static_cast<char32_t>(*d);
  }
  return value;
}

std::string hexGroupOf(char32_t unit) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(unit & 0xFFFF));
  return buffer;
}

// UCS2 as phones write it: characters beyond the basic plane as surrogate pairs.
std::string ucs2Hex(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = U'?';
    if (c > 0xFFFF) {
      const char32_t v = c - 0x10000;
      out += hexGroupOf(0xD800 + (v >> 10));
      out += hexGroupOf(0xDC00 + (v & 0x3FF));
    } else {
      out += hexGroupOf(c);
    }
  }
  return out;
}

std::optional<std::u32string> fromUcs2Hex(std::string_view hex) {
  if (hex.size() % 4 != 0) return std::nullopt;
  std::u32string out;
  for (std::size_t i = 0; i < hex.size(); i += 4) {
    const auto unit = hexGroup(hex.substr(i, 4));
    if (!unit) return std::nullopt;
    const bool high = *unit >= 0xD800 && *unit <= 0xDBFF;
    if (high && i + 8 <= hex.size()) {
      const auto low = hexGroup(hex.substr(i + 4, 4));
      if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
        out.push_back(0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
        i += 4;
        continue;
      }
    }
    // A lone half of a pair is no character.
    out.push_back(*unit >= 0xD800 && *unit <= 0xDFFF ? U'\uFFFD' : *unit);
  }
  return out;
}

sms::Address centreAddress(std::string_view centre) {
  return addressOf(centre).value_or(sms::Address{});
}

}  // namespace

std::string_view charsetName(TeCharset charset) {
  return kCharsetNames[static_cast<std::size_t>(charset)];
}

std::optional<TeCharset> charsetNamed(std::string_view name) {
  for (std::size_t i = 0; i < kCharsetNames.size(); ++i) {
    if (kCharsetNames[i] == name) return static_cast<TeCharset>(i);
  }
  return std::nullopt;
}

std::optional<std::u32string> fromTe(std::string_view bytes, TeCharset charset) {
  switch (charset) {
    case TeCharset::Gsm: {
      std::vector<std::uint8_t> septets;
      for (unsigned char c : bytes) {
        if (c > 0x7F) return std::nullopt;
        septets.push_back(c);
      }
      return sms::fromGsmSeptets(septets);
    }
    case TeCharset::Ira:
      return sms::fromLatin1(bytes);
    case TeCharset::Ucs2:
      return fromUcs2Hex(bytes);
  }
  return std::nullopt;
}

std::string toTe(std::u32string_view text, TeCharset charset) {
  switch (charset) {
    case TeCharset::Gsm: {
      const std::vector<std::uint8_t> septets = sms::toGsmSeptets(text);
      return std::string(septets.begin(), septets.end());
    }
    case TeCharset::Ira: {
      std::string out;
      for (char32_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
      return out;
    }
    case TeCharset::Ucs2:
      return ucs2Hex(text);
  }
  return {};
}

sms::Coding codingOfDcs(std::uint8_t dcs) {
  const unsigned group = dcs >> 4;
  if (group <= 0x7) {  // general data coding, with or without automatic deletion
    switch ((dcs >> 2) & 0x3) {
      case 1:
        return sms::Coding::Bits8;
      case 2:
        return sms::Coding::Ucs2;
      default:
        return sms::Coding::Gsm7;
    }
  }
  if (group == 0xE) return sms::Coding::Ucs2;  // message waiting, UCS2 text
  if (group == 0xF) return (dcs & 0x04) != 0 ? sms::Coding::Bits8 : sms::Coding::Gsm7;
  return sms::Coding::Gsm7;
}

sms::Coding codingOf(const StoredSms& sms) {
  const std::u32string text = sms::fromUtf8(sms.text);
  return sms::fromGsmSeptets(sms::toGsmSeptets(text)) == text ? sms::Coding::Gsm7
                                                              : sms::Coding::Ucs2;
}

std::string textTimestamp(const SmsTime& time) {
  using namespace std::chrono;
  const auto day = floor<days>(time.local);
  const year_month_day ymd{day};
  const hh_mm_ss hms{time.local - day};
  const int zone = time.zoneQuarters;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d/%02u/%02u,%02d:%02d:%02d%c%02d",
                static_cast<int>(ymd.year()) % 100, static_cast<unsigned>(ymd.month()),
                static_cast<unsigned>(ymd.day()), static_cast<int>(hms.hours().count()),
                static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()),
                zone < 0 ? '-' : '+', (zone < 0 ? -zone : zone) % 100);
  return buffer;
}

std::optional<sms::Address> addressOf(std::string_view number) {
  sms::Address address;
  if (!number.empty() && number.front() == '+') {
    address.type = 0x91;
    number.remove_prefix(1);
  }
  if (number.empty() || number.size() > kMaxDigits) return std::nullopt;
  for (char c : number) {
    if (!((c >= '0' && c <= '9') || c == '*' || c == '#')) return std::nullopt;
  }
  address.digits = std::string(number);
  return address;
}

std::string numberOf(const sms::Address& address) {
  return ((address.type & 0x70) == 0x10 ? "+" : "") + address.digits;
}

int typeOfNumber(std::string_view number) {
  return !number.empty() && number.front() == '+' ? 145 : 129;
}

std::optional<sms::Encoded> pduOfStored(const StoredSms& sms, std::string_view centre) {
  if (!sms.pdu.empty()) {
    const auto octets = sms::fromHex(sms.pdu);
    if (!octets || octets->empty() || octets->size() < 1u + (*octets)[0]) return std::nullopt;
    return sms::Encoded{sms.pdu, octets->size() - 1u - (*octets)[0]};
  }
  const bool received = sms.status == SmsStatus::RecUnread || sms.status == SmsStatus::RecRead;
  // A draft stored without a destination (AT+CMGW alone) has an empty address.
  const auto number =
      sms.number.empty() && !received ? std::optional(sms::Address{}) : addressOf(sms.number);
  if (!number) return std::nullopt;
  const sms::Coding coding = codingOf(sms);
  const std::u32string text = sms::fromUtf8(sms.text);
  std::optional<sms::Address> sca;
  if (!centre.empty()) sca = centreAddress(centre);
  try {
    if (received) {
      sms::Deliver deliver;
      deliver.sca = sca;
      deliver.originator = *number;
      deliver.coding = coding;
      if (sms.time) {
        using namespace std::chrono;
        const auto day = floor<days>(sms.time->local);
        const year_month_day ymd{day};
        const hh_mm_ss hms{sms.time->local - day};
        deliver.year = static_cast<int>(ymd.year()) % 100;
        deliver.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
        deliver.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
        deliver.hour = static_cast<int>(hms.hours().count());
        deliver.minute = static_cast<int>(hms.minutes().count());
        deliver.second = static_cast<int>(hms.seconds().count());
        deliver.zoneQuarters = sms.time->zoneQuarters;
      }
      deliver.text = text;
      return sms::encodeDeliver(deliver);
    }
    sms::Submit submit;
    submit.sca = sca;
    submit.destination = *number;
    submit.coding = coding;
    submit.dcs = coding == sms::Coding::Ucs2 ? 0x08 : 0x00;
    submit.text = text;
    return sms::encodeSubmit(submit);
  } catch (const std::invalid_argument&) {
    return std::nullopt;  // too long for one message, or a time stamp out of range
  }
}

std::string textModeData(const StoredSms& sms, TeCharset charset) {
  const std::u32string text = sms::fromUtf8(sms.text);
  if (codingOf(sms) == sms::Coding::Gsm7) return toTe(text, charset);
  return ucs2Hex(text);
}

}  // namespace d7o::sim
