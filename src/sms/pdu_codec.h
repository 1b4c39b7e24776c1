#pragma once

// SMS PDUs of GSM 03.40 and the default alphabet of GSM 03.38, shared by the PDU creator's
// decode field, d7o-tool and the simulated modem's message store.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sms {

using Octets = std::vector<std::uint8_t>;

// --- GSM 03.38 default alphabet ---------------------------------------------------------

// Septet codes of a text given as Unicode code points: each character of the default
// table is one septet ("@" 00, "£" 01, "_" 11); the extension characters ^ { } \ [ ~ ] |
// and the euro sign and form feed are ESC (1B) and their code; any other character is "?".
std::vector<std::uint8_t> toGsmSeptets(std::u32string_view text);
// The text of septet codes, ESC pairs read through the extension table. As GSM 03.38 says
// for a phone without the character, ESC and a code the extension table lacks reads as the
// code's character of the default table; ESC ESC, and a lone ESC at the end, read as a blank.
std::u32string fromGsmSeptets(const std::vector<std::uint8_t>& septets);
// Whether a character has a septet of its own or an extension pair, so nothing turns into "?".
bool isGsmCharacter(char32_t c);

// Septets packed least significant bit first: exactly ceil(7 n / 8) octets, no filler.
// `fillBits` (0..6) leading zero bits put the first septet on a septet boundary after a
// user-data header.
Octets packSeptets(const std::vector<std::uint8_t>& septets, int fillBits = 0);
// `count` septets out of `octets` (after `fillBits` leading bits); nullopt when the octets
// are too short for them.
std::optional<std::vector<std::uint8_t>> unpackSeptets(const Octets& octets, std::size_t count,
                                                       int fillBits = 0);

// Text encodings at the edges: UTF-8 from the command line, Latin-1 as the modem's IRA.
// Malformed UTF-8 sequences read as U+FFFD.
std::u32string fromUtf8(std::string_view text);
// The same, but nullopt for text that is not well-formed UTF-8 (a command-line argument
// typed in another encoding is refused rather than sent with replacement characters).
std::optional<std::u32string> fromUtf8Strict(std::string_view text);
std::string toUtf8(std::u32string_view text);
std::u32string fromLatin1(std::string_view text);

// Upper-case hex, two digits an octet; and back (blanks are not allowed; an odd count or
// a non-hex character gives nullopt).
std::string toHex(const Octets& octets);
std::optional<Octets> fromHex(std::string_view hex);

// Semi-octet form of a number: digits swapped in pairs, an odd count padded with F
// ("12345" -> "2143F5"). Characters other than digits go in as they stand.
std::string swapSemiOctets(std::string_view digits);

// --- GSM 03.40 PDUs -----------------------------------------------------------------------

enum class Coding { Gsm7, Bits8, Ucs2 };

// What a data coding scheme says: F6 -> 8-bit, class 2; 00 -> 7-bit, no class; 08 -> UCS2.
// Reserved groups and the reserved alphabet read as the default alphabet, as a receiving
// phone reads them; compressed text (00xx with bit 5) cannot be read as text.
struct DataCoding {
  Coding coding = Coding::Gsm7;
  std::optional<int> messageClass;
  bool compressed = false;
};
DataCoding readDataCodingScheme(std::uint8_t dcs);

// An address as the PDU carries it: type of address (81 national, 91 international) and
// its digits without "+".
struct Address {
  std::uint8_t type = 0x81;
  std::string digits;
};

// An SMS-SUBMIT as d7o-tool pdu and the simulated modem read it. The first octet is
// given whole (11: SMS-SUBMIT with a relative validity period).
struct Submit {
  std::optional<Address> sca;  // none: "00", the modem's stored centre is used
  std::uint8_t firstOctet = 0x11;
  std::uint8_t messageReference = 0;
  Address destination;
  std::uint8_t pid = 0x00;
  std::uint8_t dcs = 0xF6;
  std::optional<std::uint8_t> validityPeriod = 0xA7;  // relative; none without VPF
  Coding coding = Coding::Bits8;
  std::u32string text;  // 8-bit: code points up to U+00FF, one octet each
};

// The encoders throw std::invalid_argument, with a sentence for the user, for what no PDU
// can carry: a number with other characters than 0-9 * # a b c or more than 20 digits,
// text beyond 160 septets / 140 octets, 8-bit text above U+00FF, a first octet that is not
// an SMS-SUBMIT or whose VP format or UDHI disagrees with the fields, a DCS whose coding is
// not `coding`, a time stamp out of range. A leading "+" on a number is dropped and makes
// it international (91). An SCA with no digits is written as "00".
struct Encoded {
  std::string hex;         // whole PDU, SCA part first
  std::size_t tpduOctets;  // the AT+CMGS length: octets after the SCA part
};
Encoded encodeSubmit(const Submit& submit);

// An SMS-DELIVER as the simulated modem lists it (AT+CMGL=4, AT+CMGR).
struct Deliver {
  std::optional<Address> sca;
  Address originator;
  std::uint8_t pid = 0x00;
  Coding coding = Coding::Gsm7;
  // The centre's time stamp: yy mm dd hh mm ss and the zone in quarter hours.
  int year = 26, month = 1, day = 1, hour = 0, minute = 0, second = 0, zoneQuarters = 0;
  std::u32string text;
};
Encoded encodeDeliver(const Deliver& deliver);

// A decoded PDU, every field as it stood.
struct Decoded {
  enum class Kind { Deliver, Submit };
  Kind kind = Kind::Submit;
  std::optional<Address> sca;  // nullopt: the PDU had no SCA part ("00" or none at all)
  bool hadScaPart = false;
  std::uint8_t firstOctet = 0;
  std::optional<std::uint8_t> messageReference;  // SUBMIT
  Address address;                               // destination or originator
  std::uint8_t pid = 0;
  std::uint8_t dcs = 0;
  Coding coding = Coding::Gsm7;
  std::optional<int> messageClass;       // 0..3 when the DCS gives one
  std::optional<std::uint8_t> vpRaw;     // SUBMIT with a relative VP
  Octets vpOctets;                       // the VP field as it stood, any format
  std::string vpText;                    // "24 h", "5 min." ...
  std::optional<std::string> timestamp;  // DELIVER: "2026-12-09 14:05:00 +01:00"
  bool compressed = false;               // the DCS says compressed: the text stays empty
  std::uint8_t udl = 0;
  std::optional<Octets> userDataHeader;
  std::u32string text;
};

// `pdu` on success, else `error` says why: "octet 12: ..." (1-based, counted in the whole
// hex input, so with an SCA part it counts from the SCA length octet).
struct DecodeResult {
  std::optional<Decoded> pdu;
  std::string error;
};
// Reads a PDU with or without its SCA part (as modems list them with AT+CMGL=4 / AT+CMGR,
// or as AT+CMGS takes them); `hasSca` decides, none: the decoder tries both and keeps the
// reading that uses every octet, the one with an SCA part when both do. Blanks and line
// ends around the hex are ignored; any other input gives an error, never a crash.
DecodeResult decodePdu(std::string_view hex, std::optional<bool> hasSca = std::nullopt);

// The relative validity period in words (GSM 03.40 9.2.3.12.1): "5 min.", "12.5 h",
// "2 day", "5 week".
std::string validityPeriodText(std::uint8_t vp);

// The decoded PDU as one JSON object (text in UTF-8).
std::string toJson(const Decoded& pdu);

}  // namespace d7o::sms
