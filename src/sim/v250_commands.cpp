// The modem's command interpreter as V.250 has it: echo, result codes, the profile that
// "ATZ", "AT&W" and "AT&F" handle, DTR and carrier detect, the S-registers and the fax
// class. Standard clients set these before anything else (a dialler's "ATQ0 V1 E1 S0=0 &C1
// &D2 +FCLASS=0"), so the modem must take them even where they change nothing it does.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <chrono>
#include <optional>
#include <string>

namespace d7o::sim {

namespace {

// The value of a basic command: "E1" -> 1; "E" alone -> 0.
std::optional<int> basicValue(const AtCommand& c, int max) {
  if (c.args().empty()) return 0;
  return numberIn(c.args(), 0, max);
}

// The numeric form (ATV0) of the result codes V.250 numbers; others keep their words.
std::optional<int> numericResult(std::string_view result) {
  struct Code {
    std::string_view text;
    int number;
  };
  static constexpr Code kCodes[] = {
      {"OK", 0},    {"CONNECT", 1},     {"RING", 2}, {"NO CARRIER", 3},
      {"ERROR", 4}, {"NO DIALTONE", 6}, {"BUSY", 7}, {"NO ANSWER", 8},
  };
  for (const Code& code : kCodes) {
    if (result == code.text) return code.number;
  }
  if (startsWith(result, "CONNECT ")) return 1;
  return std::nullopt;
}

// The S-registers the modem has; a read or write of another is an error.
bool knownRegister(int n) {
  return n == 0 || (n >= 2 && n <= 8) || n == 10 || n == 12;
}

}  // namespace

// "E0", "E1"
bool ModemEngine::atEcho(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 1);
  if (!v) return false;
  m_config.echo = *v == 1;
  return true;
}

bool ModemEngine::atQuiet(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 1);
  if (!v) return false;
  m_profile.quiet = *v == 1;
  return true;
}

bool ModemEngine::atVerbose(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 1);
  if (!v) return false;
  m_profile.verbose = *v == 1;
  return true;
}

bool ModemEngine::atResultSet(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 4);
  if (!v) return false;
  m_profile.resultSet = *v;
  return true;
}

bool ModemEngine::atSpeakerMode(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 2);
  if (!v) return false;
  m_profile.speakerMode = *v;
  return true;
}

bool ModemEngine::atSpeakerLevel(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 3);
  if (!v) return false;
  m_profile.speakerLevel = *v;
  return true;
}

bool ModemEngine::atDcdMode(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 1);
  if (!v) return false;
  m_profile.dcdMode = *v;
  return true;
}

bool ModemEngine::atDtrMode(const AtCommand& c, Answer&) {
  const std::optional<int> v = basicValue(c, 2);
  if (!v) return false;
  m_profile.dtrMode = *v;
  return true;
}

// "Z", "Z0": back to the stored profile, so a client that switched the echo off and leaves
// with "ATZ" hands the next one the modem it found.
bool ModemEngine::atRestoreProfile(const AtCommand& c, Answer&) {
  if (!basicValue(c, 0)) return false;
  applyProfile(m_storedProfile);
  return true;
}

// "&W", "&W0": stores the current profile.
bool ModemEngine::atStoreProfile(const AtCommand& c, Answer&) {
  if (!basicValue(c, 0)) return false;
  m_storedProfile = currentProfile();
  return true;
}

// "&F", "&F0": the factory's profile (echo on); the stored one stays.
bool ModemEngine::atFactoryProfile(const AtCommand& c, Answer&) {
  if (!basicValue(c, 0)) return false;
  CommandProfile factory;
  factory.s[7] = static_cast<int>(
      std::chrono::duration_cast<std::chrono::seconds>(ModemConfig{}.dataNoAnswerTimeout).count());
  applyProfile(factory);
  return true;
}

// "S7?" -> "060"; "S7=60", "S0=" (0). S7 and S12 are the modem's waits for the carrier and
// around the escape.
bool ModemEngine::atSRegister(const AtCommand& c, Answer& a) {
  const std::string_view rest = c.args();
  const std::size_t end = rest.find_first_of("?=");
  if (end == std::string_view::npos) return false;
  const std::optional<int> n = numberIn(rest.substr(0, end), 0, 99);
  if (!n || !knownRegister(*n)) return false;
  CommandProfile profile = currentProfile();
  int& value = profile.s[static_cast<std::size_t>(*n)];
  if (rest[end] == '?') {
    if (end + 1 != rest.size()) return false;
    std::string digits = std::to_string(value);
    a.info += framed(std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits);
    return true;
  }
  const std::string_view text = rest.substr(end + 1);
  const std::optional<int> v = text.empty() ? 0 : numberIn(text, 0, 255);
  if (!v) return false;
  value = *v;
  applyProfile(profile);
  return true;
}

// "+FCLASS?" -> "0": the modem is a data modem (class 0) and nothing else.
bool ModemEngine::atFclassQuery(const AtCommand&, Answer& a) {
  a.info += framed("0");
  return true;
}

bool ModemEngine::atFclassSet(const AtCommand& c, Answer&) {
  return c.args() == "0";
}

CommandProfile ModemEngine::currentProfile() const {
  CommandProfile profile = m_profile;
  profile.echo = m_config.echo;
  profile.s[7] = static_cast<int>(
      std::chrono::duration_cast<std::chrono::seconds>(m_config.dataNoAnswerTimeout).count());
  profile.s[12] = static_cast<int>(m_config.escapeGuardTime.count() / 20);
  return profile;
}

void ModemEngine::applyProfile(const CommandProfile& profile) {
  m_profile = profile;
  m_config.echo = profile.echo;
  m_config.dataNoAnswerTimeout = std::chrono::seconds(profile.s[7]);
  m_config.escapeGuardTime = Millis(profile.s[12] * 20);
}

std::string ModemEngine::resultLine(std::string_view result) const {
  if (m_profile.quiet) return {};
  std::string text(result);
  // Which call results the modem tells apart: X0 says "CONNECT" alone and nothing of a
  // busy line or a missing dial tone; X1 gives the rate; X2 adds the dial tone, X3 busy.
  const int x = m_profile.resultSet;
  if (startsWith(text, "CONNECT ") && x == 0) text = "CONNECT";
  if ((text == "BUSY" && x < 3) || (text == "NO DIALTONE" && (x < 2 || x == 3))) {
    text = "NO CARRIER";
  }
  if (m_profile.verbose) return framed(text);
  if (const std::optional<int> n = numericResult(text)) return std::to_string(*n) + "\r";
  return text + "\r\n";
}

std::string ModemEngine::informationText(std::string info) const {
  if (m_profile.verbose) return info;
  // "\r\nA\r\n\r\nB\r\n" -> "A\r\nB\r\n"
  std::string out;
  out.reserve(info.size());
  for (std::size_t i = 0; i < info.size();) {
    if (info.compare(i, 2, "\r\n") == 0 && (out.empty() || out.ends_with("\r\n"))) {
      i += 2;
      continue;
    }
    out.push_back(info[i++]);
  }
  return out;
}

}  // namespace d7o::sim
