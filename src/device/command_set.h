#pragma once

#include "platform/host.h"

#include <string>
#include <string_view>
#include <vector>

namespace d7o::device {

// The R7O-3 Alarm/GPS firmware's own command lines, built in one place from typed values.
// Each returns the line without its carriage return (the serial link adds it). Texts go
// out as given: the device, not the program, judges them.

// "&CNF TIME,9.5.3,7.12.2026": numbers without leading zeros, four-digit year.
std::string cnfTime(const platform::DateTime& t);

// The mode letters in their fixed order D, V, C, G (any may be absent).
struct ModeLetters {
  bool autoData = false;     // D
  bool answerVoice = false;  // V
  bool counter = false;      // C
  bool autoGps = false;      // G
};
std::string modeLetters(const ModeLetters& m);
// "&CNF MODE,DV,0"
std::string cnfMode(std::string_view letters, int startCounter);

// "&CNF MSG,S0123456789,\"Car number 222\",0"; an empty source leaves ",,".
std::string cnfMsg(std::string_view kind, std::string_view destination, std::string_view source,
                   std::string_view interval);

// "&CNF GPS,GPGGA;GPRMC,100"; no sentences: "&CNF GPS,,100".
std::string cnfGps(const std::vector<std::string>& sentences);
std::string cnfGps(std::string_view sentenceList);

// What "all protocols" asks the device for, in the analyzer and the remote tool.
inline constexpr std::string_view kAllSentences = "GPRMC;GPGGA;GPGSA;GPGSV";

// "&CNF IGN,5"
std::string cnfIgn(std::string_view minutes);
// The ignition line is ignored.
inline constexpr std::string_view kIgnitionIgnored = "&CNF IGN,-1";

// "&PASS,new,old"
std::string pass(std::string_view newPassword, std::string_view oldPassword);

// Edge of an alarm input: L rising, H falling, E each; "P" appends the GPS position.
// "&CNF KEY,1,S0123,\"Alarm\",LP"; an empty kind puts the number right after the key.
std::string cnfKey(int key, std::string_view kind, std::string_view destination,
                   std::string_view alarmText, std::string_view edge, bool appendPosition);

// "&CNF PORT,E,10,20": OUT1 mode E on, A off, I one impulse, Z cycled.
std::string cnfPort(std::string_view mode, std::string_view time1, std::string_view time2);

inline constexpr std::string_view kRequestConfiguration = "&REQ CNF";
inline constexpr std::string_view kRequestPosition = "&REQ POS";
inline constexpr std::string_view kRequestInterval = "&REQ INT";
inline constexpr std::string_view kRequestIdentification = "&REQ TM";
inline constexpr std::string_view kReset = "&RESET";
inline constexpr std::string_view kClearFailures = "&CLR FAIL";

}  // namespace d7o::device
