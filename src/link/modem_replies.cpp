#include "link/modem_replies.h"

#include "app/text.h"

namespace d7o::link {

namespace {
// V1.51 and V1.52 are missing on purpose: the tabs do not work with them.
constexpr std::string_view kSupportedFirmware =
    "V1.63;V1.62;V1.61;V1.60;V1.59;V1.58;V1.57;V1.56;V1.55;V1.54;V1.53;V1.50";
}  // namespace

int rssiOf(std::string_view reply) {
  const auto p = reply.find("+CSQ:");
  if (p == std::string_view::npos) return 0;
  // "+CSQ: 17,99": the 7th and 8th characters from the "+" (p counts from 0, mid from 1).
  return app::wholeNumberOf(app::mid(reply, p + 7, 2));
}

int dbmOfRssi(int rssi) {
  return 2 * rssi - 113;
}

int registrationStatusOf(std::string_view reply) {
  // The answer, not the echo "AT+CREG?" before it, where a modem ends its echo with a bare
  // carriage return and both arrive as one reply.
  auto p = reply.find("+CREG:");
  if (p == std::string_view::npos) p = reply.find("+CREG");
  if (p == std::string_view::npos) return 0;
  // "+CREG: 0,1": the status is the 10th character from the "+".
  return app::wholeNumberOf(app::mid(reply, p + 10, 1));
}

std::optional<std::string> firmwareVersionOf(std::string_view reply) {
  const auto p = reply.find("V1.");
  if (p == std::string_view::npos) return std::nullopt;
  return app::mid(reply, p + 1, 5);  // "V1.63"
}

// A whole entry of the list: "3;V1." spans two entries and is none.
bool isSupportedFirmware(std::string_view version) {
  if (version.size() != 5) return false;
  for (std::size_t at = 0; at < kSupportedFirmware.size(); at += 6) {
    if (kSupportedFirmware.substr(at, 5) == version) return true;
  }
  return false;
}

}  // namespace d7o::link
