#include "sim/modem_engine.h"

#include <algorithm>
#include <cctype>

namespace d7o::sim {

namespace {

std::string upper(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Time one character takes on the line: start bit, eight data bits, stop bit.
Millis lineTime(std::size_t bytes, int baud) {
  if (baud <= 0) return Millis(0);
  return Millis(static_cast<long long>(bytes) * 10 * 1000 / baud);
}

constexpr const char* kOk = "\r\nOK\r\n";
constexpr const char* kError = "\r\nERROR\r\n";

}  // namespace

ModemEngine::ModemEngine(SimClock& clock, ModemConfig config) : m_clock(clock), m_config(config) {}

std::string ModemEngine::garble(std::string_view bytes) {
  // A frame at the wrong rate reads as a different, mostly high-bit byte; CR and LF never
  // survive, so the receiver's line never ends.
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    unsigned char g = static_cast<unsigned char>(((c * 7u) ^ 0xA5u) | 0x80u);
    out.push_back(static_cast<char>(g));
  }
  return out;
}

void ModemEngine::receive(std::string_view bytes, int programBaud) {
  if (!m_config.powered) return;
  if (programBaud != m_config.baud) {
    // Noise: whatever was half typed is lost too.
    m_line.clear();
    return;
  }
  for (char c : bytes) {
    if (c == '\r') {
      std::string line = m_line;
      m_line.clear();
      handleLine(line);
    } else if (c == '\n') {
      // Line feeds after a carriage return are ignored, as a modem does.
    } else if (c == '\b' || c == 0x7F) {
      if (!m_line.empty()) m_line.pop_back();
    } else if (m_line.size() < 1024) {
      m_line.push_back(c);
    }
  }
}

void ModemEngine::handleLine(const std::string& line) {
  std::string answer;
  if (m_config.echo) answer += line + "\r";
  const std::string command = upper(line);
  if (startsWith(command, "AT")) {
    m_commandLog.push_back(line);
    answer += answerAt(command);
  } else if (!line.empty()) {
    m_commandLog.push_back(line);
  }
  if (!answer.empty()) emitLater(answer, m_config.answerDelay);
}

// Answers one AT command line (upper-cased). Commands this modem does not know give ERROR.
std::string ModemEngine::answerAt(const std::string& command) {
  const std::string body = command.substr(2);
  if (body.empty() || body == "Z" || body == "&W" || body == "&F") return kOk;
  if (body == "E0" || body == "E1") {
    // The answer to ATE0 already goes out without echo.
    m_config.echo = body == "E1";
    return kOk;
  }
  if (startsWith(body, "+IFC=")) {
    const std::string values = body.substr(5);
    if (values.size() == 3 && values[1] == ',' && (values[0] == '0' || values[0] == '2') &&
        (values[2] == '0' || values[2] == '2')) {
      m_ifcLocal = values[0] - '0';
      m_ifcRemote = values[2] - '0';
      return kOk;
    }
    return kError;
  }
  if (body == "+IFC?") {
    return "\r\n+IFC: " + std::to_string(m_ifcLocal) + "," + std::to_string(m_ifcRemote) + "\r\n" +
           kOk;
  }
  if (body == "+IFC=?") return std::string("\r\n+IFC: (0,2),(0,2)\r\n") + kOk;
  return kError;
}

void ModemEngine::emitLater(std::string bytes, Millis delay) {
  const Millis when = delay + lineTime(bytes.size(), m_config.baud);
  m_clock.after(when, [this, bytes = std::move(bytes)] {
    if (m_output && m_config.powered) m_output(bytes);
  });
}

void ModemEngine::sendUnsolicited(std::string_view text) {
  if (m_output && m_config.powered) m_output(text);
}

void ModemEngine::setDtr(bool high) {
  m_dtr = high;
}
void ModemEngine::setRts(bool high) {
  m_rts = high;
}
void ModemEngine::setBreak(bool /*on*/) {}

}  // namespace d7o::sim
