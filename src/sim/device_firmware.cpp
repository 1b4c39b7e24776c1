// The R7O-3 Alarm/GPS firmware's own lines: "&CNF ...", "&PASS", "&REQ ...", "&CLR FAIL",
// "&RESET". Each is accepted with "$CNFOK" only when every field is well formed; anything
// else leaves the state as it was and answers "$ERROR".
#include "sim/device_firmware.h"

#include "sim/modem_text.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <optional>

namespace d7o::sim {

namespace {

constexpr std::string_view kOk = "$CNFOK";
constexpr std::string_view kError = "$ERROR";
// Longest sender name or alarm text the device stores.
constexpr std::size_t kMaxText = 64;
constexpr std::size_t kMaxDigits = 20;
constexpr std::size_t kMaxPassword = 16;

constexpr std::string_view kSentences[] = {"GPGGA", "GPGSV", "GPRMC", "GPGSA", "GPGLL", "GPVTG"};

std::vector<std::string> fields(std::string_view text) {
  return splitOutsideQuotes(text, ',');
}

// A phone number: an optional "+" and one or more digits.
bool isPhoneNumber(std::string_view s) {
  if (startsWith(s, "+")) s.remove_prefix(1);
  if (s.empty() || s.size() > kMaxDigits) return false;
  for (char c : s) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// "\"Car 222\"" -> "Car 222"; nothing when the text is not quoted or holds a quote or a
// control character.
std::optional<std::string> quotedText(std::string_view s) {
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return std::nullopt;
  s = s.substr(1, s.size() - 2);
  if (s.size() > kMaxText) return std::nullopt;
  for (char c : s) {
    if (c == '"' || static_cast<unsigned char>(c) < 0x20) return std::nullopt;
  }
  return std::string(s);
}

// "h.m.s" or "d.mo.yyyy" -> three numbers.
std::optional<std::array<std::string, 3>> dotted(std::string_view s) {
  const std::vector<std::string> parts = splitOutsideQuotes(s, '.');
  if (parts.size() != 3) return std::nullopt;
  return std::array<std::string, 3>{parts[0], parts[1], parts[2]};
}

bool setTime(DeviceState& state, std::string_view args, Millis now) {
  const auto f = fields(args);
  if (f.size() != 2) return false;
  const auto t = dotted(f[0]);
  const auto d = dotted(f[1]);
  if (!t || !d || (*d)[2].size() != 4) return false;
  const auto hour = numberIn((*t)[0], 0, 23);
  const auto minute = numberIn((*t)[1], 0, 59);
  const auto second = numberIn((*t)[2], 0, 59);
  const auto day = numberIn((*d)[0], 1, 31);
  const auto month = numberIn((*d)[1], 1, 12);
  const auto year = numberIn((*d)[2], 2000, 2099);
  if (!hour || !minute || !second || !day || !month || !year) return false;
  const std::chrono::year_month_day date{std::chrono::year{*year},
                                         std::chrono::month{static_cast<unsigned>(*month)},
                                         std::chrono::day{static_cast<unsigned>(*day)}};
  if (!date.ok()) return false;  // 30 February and the like
  state.clock = DeviceClock{*hour, *minute, *second, *day, *month, *year, now};
  return true;
}

bool setMode(DeviceState& state, std::string_view args) {
  const auto f = fields(args);
  if (f.size() != 2) return false;
  const std::string letters = upper(f[0]);
  // Each letter at most once and in the order D, V, C, G.
  constexpr std::string_view kOrder = "DVCG";
  std::size_t next = 0;
  for (char c : letters) {
    const std::size_t at = kOrder.find(c, next);
    if (at == std::string_view::npos) return false;
    next = at + 1;
  }
  const auto counter = numberIn(f[1], 0, 255);
  if (!counter) return false;
  state.modeLetters = letters;
  state.startCounter = *counter;
  return true;
}

bool setMessage(DeviceState& state, std::string_view args) {
  const auto f = fields(args);
  if (f.size() != 3 || f[0].empty()) return false;
  const char kind = upper(f[0].substr(0, 1))[0];
  if (kind != 'S' && kind != 'D' && kind != 'G') return false;
  const std::string number = f[0].substr(1);
  if (!isPhoneNumber(number)) return false;
  std::string source;
  if (!f[1].empty()) {
    const auto text = quotedText(f[1]);
    if (!text) return false;
    source = *text;
  }
  const auto interval = numberIn(f[2], 0, 9999);
  if (!interval) return false;
  state.message = MessageTarget{kind, number, source, *interval};
  return true;
}

bool setGps(DeviceState& state, std::string_view args) {
  const auto f = fields(args);
  if (f.size() != 2) return false;
  std::vector<std::string> chosen;
  if (!f[0].empty()) {
    for (const std::string& item : splitOutsideQuotes(f[0], ';')) {
      const std::string name = upper(item);
      bool known = false;
      for (std::string_view s : kSentences) known = known || name == s;
      if (!known) return false;
      bool twice = false;
      for (const std::string& c : chosen) twice = twice || c == name;
      if (!twice) chosen.push_back(name);
    }
  }
  const auto rate = numberIn(f[1], 1, 9999);
  if (!rate) return false;
  state.gpsSentences = std::move(chosen);
  state.gpsRate = *rate;
  return true;
}

bool setIgnition(DeviceState& state, std::string_view args) {
  if (args == "-1") {
    state.ignitionMinutes = -1;
    return true;
  }
  const auto minutes = numberIn(args, 0, 60);
  if (!minutes) return false;
  state.ignitionMinutes = *minutes;
  return true;
}

bool isPassword(std::string_view s) {
  if (s.empty() || s.size() > kMaxPassword) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// "&PASS,<new>,<old>": only the holder of the current password may change it.
bool setPassword(DeviceState& state, std::string_view args) {
  const auto f = fields(args);
  if (f.size() != 2 || !isPassword(f[0]) || f[1] != state.password) return false;
  state.password = f[0];
  return true;
}

bool setKey(DeviceState& state, std::string_view args) {
  const auto f = fields(args);
  if (f.size() != 4) return false;
  const auto key = numberIn(f[0], 1, 3);
  if (!key) return false;
  AlarmKey k;
  // "<kind><number>", a bare number, or nothing at all (the key raises no call).
  std::string destination = f[1];
  if (!destination.empty()) {
    const char first = upper(destination.substr(0, 1))[0];
    if (first == 'S' || first == 'D' || first == 'V' || first == 'G') {
      k.kind = first;
      destination.erase(0, 1);
    }
    if (!isPhoneNumber(destination)) return false;
    k.number = destination;
  }
  const auto text = quotedText(f[2]);
  if (!text) return false;
  k.text = *text;
  const std::string edge = upper(f[3]);
  if (edge.empty() || edge.size() > 2) return false;
  if (edge[0] != 'L' && edge[0] != 'H' && edge[0] != 'E') return false;
  if (edge.size() == 2) {
    // Only a message or a data call can carry the position.
    if (edge[1] != 'P' || (k.kind != 'S' && k.kind != 'D')) return false;
    k.position = true;
  }
  k.edge = edge[0];
  state.keys[static_cast<std::size_t>(*key - 1)] = std::move(k);
  return true;
}

std::optional<int> portTime(std::string_view s) {
  const auto t = numberIn(s, 10, 99999);
  if (!t || *t % 10 != 0) return std::nullopt;
  return t;
}

bool setPort(DeviceState& state, std::string_view args) {
  const auto f = fields(args);
  if (f.size() != 3) return false;
  const std::string mode = upper(f[0]);
  if (mode.size() != 1 || std::string_view("EAIZ").find(mode[0]) == std::string_view::npos) {
    return false;
  }
  const auto t1 = portTime(f[1]);
  const auto t2 = portTime(f[2]);
  if (!t1 || !t2) return false;
  state.port = PortTiming{mode[0], *t1, *t2};
  return true;
}

// "&CNF <WORD>,<fields>": the setting named by WORD.
bool configure(DeviceState& state, std::string_view line, Millis now) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return false;
  const std::string word = upper(line.substr(0, comma));
  const std::string_view args = line.substr(comma + 1);
  if (word == "TIME") return setTime(state, args, now);
  if (word == "MODE") return setMode(state, args);
  if (word == "MSG") return setMessage(state, args);
  if (word == "GPS") return setGps(state, args);
  if (word == "IGN") return setIgnition(state, args);
  if (word == "KEY") return setKey(state, args);
  if (word == "PORT") return setPort(state, args);
  return false;
}

DeviceAnswer one(std::string_view text) {
  return DeviceAnswer{{std::string(text)}, false};
}

}  // namespace

DeviceAnswer runDeviceLine(DeviceState& state, std::string_view line, std::string_view firmware,
                           Millis now) {
  const std::string word = upper(line);
  if (word == "&REQ TM") {
    std::string id = "$TARVIK R7O-3 Alarm/GPS";
    if (!firmware.empty()) id += " " + std::string(firmware);
    return one(id);
  }
  if (word == "&REQ CNF") {
    DeviceAnswer answer{describeDevice(state, now), false};
    answer.lines.emplace_back(kOk);
    return answer;
  }
  if (word == "&REQ POS") {
    ++state.positionRequests;
    return one(kOk);
  }
  if (word == "&REQ INT") {
    state.intervalRequested = true;
    return one(kOk);
  }
  if (word == "&CLR FAIL") {
    ++state.failureClears;
    state.failedAlarms = 0;
    return one(kOk);
  }
  if (word == "&RESET") return DeviceAnswer{{std::string(kOk)}, true};
  if (startsWith(word, "&PASS,")) {
    return one(setPassword(state, line.substr(6)) ? kOk : kError);
  }
  if (startsWith(word, "&CNF ")) {
    return one(configure(state, line.substr(5), now) ? kOk : kError);
  }
  return one(kError);
}

}  // namespace d7o::sim
