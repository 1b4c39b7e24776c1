// What the simulated D7O answers to the AT commands the program uses, in the forms of
// GSM 07.07/07.05. Audio and call commands have files of their own.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <string>
#include <vector>

namespace d7o::sim {

namespace {

// "ATZ;+CMEE=1;+VGR?" -> {"Z", "+CMEE=1", "+VGR?"}
std::vector<std::string> splitCommands(const std::string& body) {
  return splitOutsideQuotes(body, ';');
}

std::string unquoted(std::string s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

std::string manufacturerOf(Engine engine) {
  switch (engine) {
    case Engine::Maker:
      return "Tarvik GmbH";
    case Engine::Siemens:
      return "SIEMENS";
    case Engine::Brellstowen:
      return "BRELLSTOWEN";
    case Engine::Other:
      return "WAVECOM MODEM";
  }
  return "";
}

// Settings the modem takes as given; what they set is outside what the program observes.
bool isAcceptedSetting(const std::string& c) {
  static const char* const kPrefixes[] = {
      "+CMEE=", "+CBST=", "+CSDH=", "+CMGF=", "+CNMI=", "+CSMP=", "S0=", "+CFUN=", "+IPR="};
  for (const char* p : kPrefixes) {
    if (startsWith(c, p)) return true;
  }
  return c == "Z" || c == "&W" || c == "&F" || c == "+CPOF";
}

}  // namespace

std::string ModemEngine::answerAt(const std::string& line) {
  const std::string body = line.substr(2);
  if (body.empty()) return framed("OK");
  const std::string bodyUpper = upper(body);
  // Dialling takes the rest of the line, ";" included.
  if (startsWith(bodyUpper, "D")) return dial(bodyUpper.substr(1));
  // An iChip answers its own commands ("AT+iRP1") instead of the GSM engine.
  if (startsWith(bodyUpper, "+I") && !startsWith(bodyUpper, "+IFC") &&
      !startsWith(bodyUpper, "+IPR")) {
    return framed(m_config.iChip ? "I/OK" : "ERROR");
  }
  std::string info;
  std::string final = "OK";
  for (const std::string& command : splitCommands(body)) {
    if (!runCommand(command, info, final)) {
      return info + framed(final == "OK" ? "ERROR" : final);
    }
  }
  return info + framed(final);
}

bool ModemEngine::runCommand(const std::string& raw, std::string& info, std::string& final) {
  const std::string c = upper(raw);
  if (c == "E0" || c == "E1") {
    m_config.echo = c == "E1";
    return true;
  }
  if (isAcceptedSetting(c)) return true;
  if (startsWith(c, "+IFC=")) {
    const std::string v = c.substr(5);
    const bool valid = v.size() == 3 && v[1] == ',' && (v[0] == '0' || v[0] == '2') &&
                       (v[2] == '0' || v[2] == '2');
    if (!valid) return false;
    m_ifcLocal = v[0] - '0';
    m_ifcRemote = v[2] - '0';
    return true;
  }
  if (c == "+IFC?") {
    info += framed("+IFC: " + std::to_string(m_ifcLocal) + "," + std::to_string(m_ifcRemote));
    return true;
  }
  if (c == "+IFC=?") {
    info += framed("+IFC: (0,2),(0,2)");
    return true;
  }
  if (c == "+CPIN?") {
    switch (m_config.sim) {
      case SimCard::Unreadable:
        final = "+CME ERROR: 10";
        return false;
      case SimCard::Missing:
        final = "+CME ERROR: 13";
        return false;
      case SimCard::PinRequired:
        info += framed(m_simUnlocked ? "+CPIN: READY" : "+CPIN: SIM PIN");
        return true;
      case SimCard::Ready:
        info += framed("+CPIN: READY");
        return true;
    }
  }
  if (startsWith(c, "+CPIN=")) {
    if (m_config.sim != SimCard::PinRequired || m_simUnlocked) {
      final = "+CME ERROR: 3";  // nothing to unlock
      return false;
    }
    if (unquoted(raw.substr(6)) != m_config.pin) {
      final = "+CME ERROR: 16";  // incorrect password
      return false;
    }
    m_simUnlocked = true;
    return true;
  }
  if (c == "+CGMI") {
    info += framed(manufacturerOf(m_config.engine));
    return true;
  }
  if (c == "+CSQ") {
    info += framed("+CSQ: " + std::to_string(m_config.rssi) + ",99");
    return true;
  }
  if (c == "+CREG?") {
    ++m_cregPolls;
    const bool registered =
        m_config.pollsUntilRegistered >= 0 && m_cregPolls > m_config.pollsUntilRegistered;
    const int status = registered ? (m_config.roaming ? 5 : 1) : 2;
    info += framed("+CREG: 0," + std::to_string(status));
    return true;
  }
  if (const auto audio = runAudioCommand(c, info)) return *audio;
  if (const auto call = runCallCommand(c, final)) return *call;
  return false;
}

}  // namespace d7o::sim
