#pragma once

#include <string>
#include <string_view>

namespace d7o::platform {
class Dialogs;
}

namespace d7o::sms {

// The PDU creator's one rule for hex text: the value rounded to the nearest whole number
// (an exact half to the even one), in upper-case hex without leading zeros ("A", "1F");
// a negative value as its 32-bit two's complement, as the classic Hex$ writes it.
std::string hexText(double value);

// A length, MR or VP field is two characters: one character gets a "0" in front.
std::string widened(std::string text);

// HexToDecimal: the value of a hex text (either case). At the first character that is not
// a hex digit the user is told "Number given is not in Hex format" and the value is 0.
// "A7" -> 167, "" -> 0 without a message, "1G" -> message and 0.
double HexToDecimal(std::string_view text, platform::Dialogs& dialogs);

}  // namespace d7o::sms
