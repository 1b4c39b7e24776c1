#include "link/modem_replies.h"

#include "app/text.h"

#include <vector>

namespace d7o::link {

namespace {
// V1.51 and V1.52 are missing on purpose: the tabs do not work with them.
constexpr std::string_view kSupportedFirmware =
    "V1.63;V1.62;V1.61;V1.60;V1.59;V1.58;V1.57;V1.56;V1.55;V1.54;V1.53;V1.50";

// The numbers of a reply after its name, split at commas: "+CSQ: 17,99" -> "17", "99".
// Blanks around them go; quotes stay.
std::vector<std::string_view> replyFields(std::string_view line, std::string_view name) {
  std::vector<std::string_view> fields;
  const auto start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || line.substr(start, name.size()) != name) return fields;
  std::string_view rest = line.substr(start + name.size());
  while (true) {
    const auto comma = rest.find(',');
    std::string_view field = rest.substr(0, comma);
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    fields.push_back(field);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return fields;
}

bool isQuoted(std::string_view field) {
  return field.size() >= 2 && field.front() == '"' && field.back() == '"';
}

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

std::optional<SignalQuality> signalQualityOf(std::string_view line) {
  const auto fields = replyFields(line, "+CSQ:");
  if (fields.size() != 2) return std::nullopt;
  const auto rssi = app::digitsUpTo(fields[0], 99), ber = app::digitsUpTo(fields[1], 99);
  if (!rssi || !ber || (*rssi > 31 && *rssi != 99) || (*ber > 7 && *ber != 99)) {
    return std::nullopt;
  }
  return SignalQuality{*rssi, *ber};
}

std::optional<int> registrationStateOf(std::string_view line) {
  const auto fields = replyFields(line, "+CREG:");
  // The location comes quoted, so a second field in quotes (or left empty) makes the first
  // the state; a second plain number makes it the answer to the query, with n first.
  std::size_t stateAt = 0;
  if (fields.size() >= 2 && !isQuoted(fields[1]) && !fields[1].empty()) {
    if (!app::digitsUpTo(fields[0], 3)) return std::nullopt;
    stateAt = 1;
  }
  // Then at most the area and cell, quoted, and the access technology.
  if (fields.empty() || fields.size() > stateAt + 4) return std::nullopt;
  for (std::size_t i = stateAt + 1; i < fields.size(); ++i) {
    const bool location = i <= stateAt + 2;
    if (location && !fields[i].empty() && !isQuoted(fields[i])) return std::nullopt;
    if (!location && !app::digitsUpTo(fields[i], 99)) return std::nullopt;
  }
  return app::digitsUpTo(fields[stateAt], 10);
}

void appendSignalCsvFields(std::string& out, const std::optional<SignalQuality>& quality,
                           const std::optional<int>& registration) {
  out += ',';
  if (quality) {
    app::appendNumber(out, quality->rssi, 1);
    out += ',';
    if (quality->rssi != 99) app::appendNumber(out, dbmOfRssi(quality->rssi), 1);
    out += ',';
    if (quality->ber != 99) app::appendNumber(out, quality->ber, 1);
  } else {
    out += ",,";
  }
  out += ',';
  if (registration) app::appendNumber(out, *registration, 1);
  out += '\n';
}

}  // namespace d7o::link
