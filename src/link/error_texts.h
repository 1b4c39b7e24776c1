#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::link {

// The modem reports errors by number after "AT+CMEE=1"; these give the meaning in words,
// as the GSM standards for the equipment (+CME) and the message service (+CMS) list them.

// "SIM not inserted" for 10; nullopt for a code the list does not hold.
std::optional<std::string_view> cmeErrorText(int code);
// "invalid PDU mode parameter" for 304; nullopt for a code the list does not hold.
std::optional<std::string_view> cmsErrorText(int code);

// The first numeric error report in a reply and what it means.
struct ErrorExplanation {
  std::size_t position = 0;  // where "+CME ERROR: " or "+CMS ERROR: " starts in the reply
  std::size_t length = 0;    // of the report with its number: "+CME ERROR: 10" is 14
  std::string report;        // "+CME ERROR: 10"
  std::string meaning;       // "SIM not inserted"; "unknown error" for a code not listed
};

// "OK  +CME ERROR: 10  " -> {4, 14, "+CME ERROR: 10", "SIM not inserted"}.
// Nothing for a reply without a numeric report, and for the text form a modem sends after
// "AT+CMEE=2" ("+CME ERROR: SIM not inserted"), which says it in words already.
std::optional<ErrorExplanation> explainError(std::string_view reply);

// "+CME ERROR: 10: SIM not inserted", as the status field shows it.
std::string statusText(const ErrorExplanation& e);

}  // namespace d7o::link
