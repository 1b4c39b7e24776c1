#pragma once

// How the simulated modem's messages look on the line: the character sets of AT+CSCS, the
// time stamps and data of text mode, the PDUs of PDU mode. Pure functions.

#include "sim/sms_store.h"
#include "sms/pdu_codec.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::sim {

// The character set of the strings between program and modem (AT+CSCS).
enum class TeCharset { Gsm, Ira, Ucs2 };

std::string_view charsetName(TeCharset charset);
// "UCS2" -> Ucs2; nothing for a set the modem does not offer.
std::optional<TeCharset> charsetNamed(std::string_view name);

// Bytes from the program read in `charset`. GSM: one septet code a byte, extension pairs
// after ESC; IRA: one character a byte (bytes above 7F read as Latin-1, which is what the
// program's windows write); UCS2: four hex digits a character. Nothing for bytes the set
// has no reading for: a GSM byte above 7F, UCS2 that is not whole groups of hex digits.
std::optional<std::u32string> fromTe(std::string_view bytes, TeCharset charset);
// Text in `charset`; a character the set cannot show becomes "?".
std::string toTe(std::u32string_view text, TeCharset charset);

// The alphabet a data coding scheme gives the user data: 00 7-bit, F6 8-bit, 08 UCS2.
// Reserved codings read as the default alphabet, as a phone reads them.
sms::Coding codingOfDcs(std::uint8_t dcs);

// The coding a stored message goes out in: the default alphabet when every character has
// a septet there, else UCS2.
sms::Coding codingOf(const StoredSms& sms);

// "26/12/09,14:05:00+04": the time stamp as text mode quotes it.
std::string textTimestamp(const SmsTime& time);

// A number as a PDU carries it: "+4917..." -> 91 and the digits, "0171..." -> 81. Nothing
// when it is empty, longer than 20 digits or holds more than digits, "*" and "#".
std::optional<sms::Address> addressOf(std::string_view number);
// The number of an address, "+" in front of an international one.
std::string numberOf(const sms::Address& address);
// Text mode's type of address: 145 for a number with "+", else 129.
int typeOfNumber(std::string_view number);

// A stored message as PDU mode lists it, the service centre `centre` in its SCA part:
// an SMS-DELIVER for a received message, an SMS-SUBMIT for one stored to send. Nothing
// when it cannot be one (a number no PDU can carry).
std::optional<sms::Encoded> pduOfStored(const StoredSms& sms, std::string_view centre);

// A stored message's data in text mode: default-alphabet text in `charset`, UCS2 data as
// hex, two digits an octet.
std::string textModeData(const StoredSms& sms, TeCharset charset);

}  // namespace d7o::sim
