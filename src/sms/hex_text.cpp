#include "sms/hex_text.h"

#include "platform/dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace d7o::sms {

std::string hexText(double value) {
  if (!std::isfinite(value)) return "0";
  // The default rounding mode rounds an exact half to the even neighbour.
  double whole = std::nearbyint(value);
  // The classic Hex$ takes a 32-bit number; beyond it there is nothing sound to write.
  whole = std::clamp(whole, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                     static_cast<double>(std::numeric_limits<std::uint32_t>::max()));
  auto bits = whole < 0 ? static_cast<std::uint32_t>(static_cast<std::int64_t>(whole))
                        : static_cast<std::uint32_t>(whole);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  return text;
}

std::string widened(std::string text) {
  if (text.size() == 1) text.insert(text.begin(), '0');
  return text;
}

double HexToDecimal(std::string_view text, platform::Dialogs& dialogs) {
  double value = 0;
  for (const char c : text) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      dialogs.messageBox("Number given is not in Hex format", "", platform::MessageIcon::Critical,
                         platform::MessageButtons::Ok);
      return 0;
    }
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace d7o::sms
