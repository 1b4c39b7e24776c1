#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace d7o::link {

// Readers of the modem's information replies, at the positions the program has always
// read them. Replies arrive normalised (line ends are blanks).

// "+CSQ: 17,99" -> 17: the two characters six after the start of "+CSQ:".
int rssiOf(std::string_view reply);

// RSSI 0..31 -> dBm by GSM 07.07: 2 * RSSI - 113 (17 -> -79, 31 -> -51), as every other
// GSM tool reads the same modem.
int dbmOfRssi(int rssi);

// "+CREG: 0,1" -> 1: the one character nine after the start of "+CREG:" (of "+CREG" in a
// reply without the answer); 0 where the reply is too short to hold it (the echo
// "AT+CREG?").
int registrationStatusOf(std::string_view reply);

// "$TARVIK R7O-3 Alarm/GPS V1.63" -> "V1.63": the five characters from "V1."; nothing
// without "V1.".
std::optional<std::string> firmwareVersionOf(std::string_view reply);

// Whether a firmware version is one the alarm/GPS tabs support.
bool isSupportedFirmware(std::string_view version);

}  // namespace d7o::link
