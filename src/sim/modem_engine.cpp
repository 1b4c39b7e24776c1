#include "sim/modem_engine.h"

#include "sim/modem_text.h"

#include <algorithm>
#include <cctype>

namespace d7o::sim {

namespace {

// Time one character takes on the line: start bit, eight data bits, stop bit.
Millis lineTime(std::size_t bytes, int baud) {
  if (baud <= 0) return Millis(0);
  return Millis(static_cast<long long>(bytes) * 10 * 1000 / baud);
}

}  // namespace

ModemEngine::ModemEngine(SimClock& clock, ModemConfig config) : m_clock(clock), m_config(config) {
  if (m_config.nmeaFromPowerOn) m_clock.after(Millis(1000), [this] { streamNmea(); });
}

// A position fix once a second: GGA and RMC with the time running on.
void ModemEngine::streamNmea() {
  const int t = 123500 + (m_nmeaSecond % 60) + (m_nmeaSecond / 60 % 60) * 100;
  ++m_nmeaSecond;
  const std::string hhmmss = std::to_string(t);
  emitLater("$GPGGA," + hhmmss + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n" +
                "$GPRMC," + hhmmss + ",A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n",
            Millis(0));
  m_clock.after(Millis(1000), [this] { streamNmea(); });
}

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
    answer += answerAt(line);
  } else if (startsWith(command, "&")) {
    m_commandLog.push_back(line);
    answer += answerDevice(command);
  } else if (!line.empty()) {
    m_commandLog.push_back(line);
  }
  if (!answer.empty()) emitLater(answer, m_config.answerDelay);
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
  if (m_dtr && !high) ++m_dtrPulses;
  m_dtr = high;
}
void ModemEngine::setRts(bool high) {
  m_rts = high;
}
void ModemEngine::setBreak(bool /*on*/) {}

}  // namespace d7o::sim
