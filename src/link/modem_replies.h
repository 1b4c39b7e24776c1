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

// Signal quality from "+CSQ: 17,99" (the whole line, blanks around it allowed): rssi 0..31
// or 99 (unknown), ber 0..7 or 99. None for anything else ("+CSQ: (0-31,99),(0-7,99)").
struct SignalQuality {
  int rssi = 99;
  int ber = 99;
};
std::optional<SignalQuality> signalQualityOf(std::string_view line);

// The registration state from a +CREG line, in all four of its forms: the query's answer
// "+CREG: n,stat" and "+CREG: n,stat,"lac","ci"", and the unsolicited report "+CREG: stat"
// and "+CREG: stat,"lac","ci"". None for anything else ("+CREG: (0-2)" from AT+CREG=?).
std::optional<int> registrationStateOf(std::string_view line);

// The signal and registration as CSV, the same from a capture and from the signal window.
inline constexpr std::string_view kSignalCsvHeader = "time,rssi,dbm,ber,registration\n";
// The fields after the time: ",17,-79,,\n" for "+CSQ: 17,99" (dBm empty for an rssi of 99,
// ber empty where unknown), ",,,,1\n" for a registration state.
void appendSignalCsvFields(std::string& out, const std::optional<SignalQuality>& quality,
                           const std::optional<int>& registration);

// "$TARVIK R7O-3 Alarm/GPS V1.63" -> "V1.63": the five characters from "V1."; nothing
// without "V1.".
std::optional<std::string> firmwareVersionOf(std::string_view reply);

// Whether a firmware version is one the alarm/GPS tabs support.
bool isSupportedFirmware(std::string_view version);

}  // namespace d7o::link
