#pragma once

// d7o-tool's SMS commands: pdu (an SMS-SUBMIT for AT+CMGS), septets (7-bit user data) and
// decode (a PDU as JSON). Header-only, like the nmea step, so the command tests run the
// very code of the tool without linking it; each command takes its arguments and two
// streams and returns the exit status.

#include "app/text.h"
#include "sms/pdu_codec.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace d7o::cli {

inline constexpr int kSmsOk = 0;
inline constexpr int kSmsBadInput = 1;
inline constexpr int kSmsBadUsage = 2;

inline constexpr const char* kPduSynopsis =
    "d7o-tool pdu --to NUMBER [--intl] [--sca NUMBER [--sca-national] | --no-sca]\n"
    "                    [--class 0..3] [--vp 0..255] [--mr 0..255] [--pid HEX2]\n"
    "                    [--7bit | --8bit] [--] TEXT";
inline constexpr const char* kSeptetsSynopsis = "d7o-tool septets [--] TEXT";
inline constexpr const char* kDecodeSynopsis = "d7o-tool decode [--with-sca | --without-sca] HEX";

namespace sms_detail {

struct Streams {
  std::ostream& out;
  std::ostream& err;
};

inline int badUsage(const Streams& s, const std::string& why, const char* synopsis) {
  s.err << "d7o-tool: " << why << "\nusage: " << synopsis << "\n";
  return kSmsBadUsage;
}

inline int badInput(const Streams& s, const std::string& why) {
  s.err << "d7o-tool: " << why << "\n";
  return kSmsBadInput;
}

inline int written(const Streams& s) {
  if (s.out.flush()) return kSmsOk;
  s.err << "d7o-tool: cannot write the output\n";
  return kSmsBadInput;
}

// Digits only, as the option's range says: "--vp 167" -> 167; "1e2", "-1", "300" -> none.
inline std::optional<int> smallNumber(const std::string& text, int highest) {
  if (text.size() > 3) return std::nullopt;
  return app::digitsUpTo(text, highest);
}

inline std::string codePointName(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

// The text argument as code points; nullopt (and the message written) when it is not UTF-8.
inline std::optional<std::u32string> textArgument(const Streams& s, const std::string& text) {
  auto codePoints = sms::fromUtf8Strict(text);
  if (!codePoints) badInput(s, "TEXT is not UTF-8");
  return codePoints;
}

// Characters outside the GSM alphabet still go out, as "?", but the user is told.
inline void warnUnmapped(const Streams& s, const std::u32string& text) {
  std::size_t unmapped = 0;
  for (const char32_t c : text) unmapped += sms::isGsmCharacter(c) ? 0 : 1;
  if (unmapped > 0) {
    s.err << "d7o-tool: " << unmapped << (unmapped == 1 ? " character is" : " characters are")
          << " not in the GSM alphabet and go as '?'\n";
  }
}

// "+491710760000" -> type 91, "491710760000"; "0171..." -> the given type.
inline std::optional<sms::Address> numberArgument(const Streams& s, const std::string& text,
                                                  std::uint8_t type, const char* what) {
  const bool plus = !text.empty() && text.front() == '+';
  const sms::Address address{plus ? std::uint8_t{0x91} : type, plus ? text.substr(1) : text};
  const std::string& digits = address.digits;
  if (digits.empty() || digits.size() > 20 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    badInput(s, std::string(what) + " '" + text + "' is not 1 to 20 digits (an optional + first)");
    return std::nullopt;
  }
  return address;
}

struct PduArguments {
  std::optional<std::string> to, sca, text;
  bool intl = false, scaNational = false, noSca = false, sevenBit = false, eightBit = false;
  int messageClass = 2, vp = 167, mr = 1, pid = 0x00;
};

struct Flag {
  const char* name;
  bool PduArguments::*member;
};
inline constexpr Flag kFlags[] = {
    {"--intl", &PduArguments::intl},     {"--sca-national", &PduArguments::scaNational},
    {"--no-sca", &PduArguments::noSca},  {"--7bit", &PduArguments::sevenBit},
    {"--8bit", &PduArguments::eightBit},
};
struct Range {
  const char* name;
  int highest;
  int PduArguments::*member;
};
inline constexpr Range kRanges[] = {
    {"--class", 3, &PduArguments::messageClass},
    {"--vp", 255, &PduArguments::vp},
    {"--mr", 255, &PduArguments::mr},
};

// One option at args[i] (and its value, which moves i on); the reason when it is not usable.
inline std::string readOption(const std::vector<std::string>& args, std::size_t& i,
                              PduArguments& a) {
  const std::string& arg = args[i];
  for (const Flag& f : kFlags) {
    if (arg == f.name) {
      a.*f.member = true;
      return {};
    }
  }
  const Range* range = nullptr;
  for (const Range& r : kRanges) {
    if (arg == r.name) range = &r;
  }
  if (!range && arg != "--to" && arg != "--sca" && arg != "--pid") return "unknown option " + arg;
  if (i + 1 >= args.size()) return arg + " needs a value";
  const std::string& value = args[++i];
  if (range) {
    const auto v = smallNumber(value, range->highest);
    if (!v) return arg + " takes 0.." + std::to_string(range->highest) + ", not '" + value + "'";
    a.*range->member = *v;
  } else if (arg == "--pid") {
    const auto octet = sms::fromHex(value);
    if (value.size() != 2 || !octet) return "--pid takes two hex digits, not '" + value + "'";
    a.pid = (*octet)[0];
  } else {
    (arg == "--to" ? a.to : a.sca) = value;
  }
  return {};
}

// Reads the options into `a`; the reason when they are not usable, empty when they are.
inline std::string readPduArguments(const std::vector<std::string>& args, PduArguments& a) {
  std::vector<std::string> seen;
  bool optionsEnd = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnd && arg == "--") {
      optionsEnd = true;
    } else if (optionsEnd || !arg.starts_with("--")) {
      if (a.text) return "only one TEXT (quote a text with blanks)";
      a.text = arg;
    } else {
      if (std::find(seen.begin(), seen.end(), arg) != seen.end()) return arg + " given twice";
      seen.push_back(arg);
      if (std::string problem = readOption(args, i, a); !problem.empty()) return problem;
    }
  }
  if (!a.to) return "--to NUMBER is missing";
  if (!a.text) return "TEXT is missing";
  if (a.sca && a.noSca) return "--sca and --no-sca exclude each other";
  if (a.scaNational && !a.sca) return "--sca-national needs --sca NUMBER";
  if (a.sevenBit && a.eightBit) return "--7bit and --8bit exclude each other";
  if (a.scaNational && a.sca->starts_with("+"))
    return "--sca-national contradicts the + of the centre's number";
  return {};
}

}  // namespace sms_detail

// d7o-tool pdu ... TEXT: the PDU in hex, then the TPDU length for AT+CMGS.
inline int pduCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  using namespace sms_detail;
  const Streams s{out, err};
  for (const auto& arg : args) {
    if (arg == "--") break;
    if (arg == "--help") {
      out << "usage: " << kPduSynopsis << "\n";
      return written(s);
    }
  }
  PduArguments a;
  if (const std::string problem = readPduArguments(args, a); !problem.empty()) {
    return badUsage(s, problem, kPduSynopsis);
  }
  const auto to = numberArgument(s, *a.to, a.intl ? 0x91 : 0x81, "destination number");
  if (!to) return kSmsBadInput;
  std::optional<sms::Address> sca;
  if (a.sca) {
    sca = numberArgument(s, *a.sca, a.scaNational ? 0x81 : 0x91, "service-centre number");
    if (!sca) return kSmsBadInput;
  }
  const auto text = textArgument(s, *a.text);
  if (!text) return kSmsBadInput;

  sms::Submit submit;
  submit.sca = sca;
  submit.messageReference = static_cast<std::uint8_t>(a.mr);
  submit.destination = *to;
  submit.pid = static_cast<std::uint8_t>(a.pid);
  submit.validityPeriod = static_cast<std::uint8_t>(a.vp);
  submit.coding = a.sevenBit ? sms::Coding::Gsm7 : sms::Coding::Bits8;
  submit.dcs = static_cast<std::uint8_t>((a.sevenBit ? 0xF0 : 0xF4) + a.messageClass);
  submit.text = *text;
  if (a.sevenBit) {
    warnUnmapped(s, *text);
  } else {
    for (std::size_t i = 0; i < text->size(); ++i) {
      if ((*text)[i] > 0xFF) {
        return badInput(s, "character " + std::to_string(i + 1) + " (" + codePointName((*text)[i]) +
                               ") does not fit in 8-bit coding (up to U+00FF); try --7bit");
      }
    }
  }
  try {
    const sms::Encoded encoded = sms::encodeSubmit(submit);
    out << encoded.hex << "\n" << encoded.tpduOctets << "\n";
  } catch (const std::invalid_argument& e) {
    return badInput(s, e.what());
  }
  return written(s);
}

// d7o-tool septets TEXT: "abc" -> 61F118
inline int septetsCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err) {
  using namespace sms_detail;
  const Streams s{out, err};
  std::optional<std::string> textArg;
  bool optionsEnd = false;
  for (const auto& arg : args) {
    if (!optionsEnd && arg == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && arg == "--help") {
      out << "usage: " << kSeptetsSynopsis << "\n";
      return written(s);
    } else if (!optionsEnd && arg.size() > 2 && arg.starts_with("--")) {
      return badUsage(s, "unknown option " + arg, kSeptetsSynopsis);
    } else if (textArg) {
      return badUsage(s, "only one TEXT (quote a text with blanks)", kSeptetsSynopsis);
    } else {
      textArg = arg;
    }
  }
  if (!textArg) return badUsage(s, "TEXT is missing", kSeptetsSynopsis);
  const auto text = textArgument(s, *textArg);
  if (!text) return kSmsBadInput;
  warnUnmapped(s, *text);
  out << sms::toHex(sms::packSeptets(sms::toGsmSeptets(*text))) << "\n";
  return written(s);
}

// d7o-tool decode HEX: one JSON object, or the failing octet on standard error.
inline int decodeCommand(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err) {
  using namespace sms_detail;
  const Streams s{out, err};
  std::optional<bool> hasSca;
  std::optional<std::string> hex;
  for (const auto& arg : args) {
    if (arg == "--help") {
      out << "usage: " << kDecodeSynopsis << "\n";
      return written(s);
    }
    if (arg == "--with-sca" || arg == "--without-sca") {
      const bool with = arg == "--with-sca";
      if (hasSca && *hasSca != with) {
        return badUsage(s, "--with-sca and --without-sca exclude each other", kDecodeSynopsis);
      }
      hasSca = with;
    } else if (arg.starts_with("--")) {
      return badUsage(s, "unknown option " + arg, kDecodeSynopsis);
    } else if (hex) {
      return badUsage(s, "only one HEX", kDecodeSynopsis);
    } else {
      hex = arg;
    }
  }
  if (!hex) return badUsage(s, "HEX is missing", kDecodeSynopsis);
  const sms::DecodeResult result = sms::decodePdu(*hex, hasSca);
  if (!result.pdu) return badInput(s, "not a PDU: " + result.error);
  out << sms::toJson(*result.pdu) << "\n";
  return written(s);
}

}  // namespace d7o::cli
