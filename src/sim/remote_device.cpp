#include "sim/remote_device.h"

#include "sim/firmware_reply.h"
#include "sim/modem_text.h"
#include "sim/nmea_sentences.h"

#include <utility>

namespace d7o::sim {

namespace {
constexpr std::size_t kMaxLine = 1024;
constexpr Millis kSecond{1000};
}  // namespace

void RemoteDevice::connect(const RemoteDeviceSettings& settings, Send send,
                           std::function<void()> restarting) {
  disconnect();
  m_settings = settings;
  m_send = std::move(send);
  m_restarting = std::move(restarting);
  m_connected = true;
}

void RemoteDevice::disconnect() {
  ++m_session;
  m_connected = false;
  m_ticking = false;
  m_line.clear();
  m_send = nullptr;
  m_restarting = nullptr;
  // Nobody is left to send the sentences to; a new call asks for them again.
  m_state.intervalRequested = false;
}

GpsReading RemoteDevice::reading() {
  return m_receiver.read(m_clock.now(), m_settings.gps);
}

void RemoteDevice::receive(std::string_view bytes) {
  if (!m_connected) return;
  for (char c : bytes) {
    if (c == '\r') {
      handleLine(std::exchange(m_line, {}));
      if (!m_connected) return;  // "&RESET" took the call down
    } else if (c == '\n') {
      // A line feed after the carriage return ends nothing.
    } else if (c == '\b' || c == 0x7F) {
      if (!m_line.empty()) m_line.pop_back();
    } else if (m_line.size() < kMaxLine) {
      m_line.push_back(c);
    }
  }
}

// Only the firmware's own "&" lines get an answer; anything else on its line is not meant
// for it.
void RemoteDevice::handleLine(const std::string& line) {
  if (line.empty()) return;
  m_lines.push_back(line);
  if (!startsWith(line, "&")) return;
  const bool streaming = m_state.intervalRequested;
  FirmwareReply reply = replyToDeviceLine(m_state, line, m_settings.firmware, m_clock.now(),
                                          [this] { return reading(); });
  const unsigned session = m_session;
  const Millis delay = m_settings.answerDelay;
  m_clock.after(delay, [this, session, text = std::move(reply.text), restart = reply.restart] {
    if (session != m_session || !m_send) return;
    m_send(text);
    if (restart && m_restarting) {
      // Its modem goes down with it: the call ends.
      m_state.intervalRequested = false;
      std::function<void()> restarting = m_restarting;
      restarting();
    }
  });
  if (!streaming && m_state.intervalRequested && !reply.restart) startStream(delay);
}

void RemoteDevice::startStream(Millis notBefore) {
  if (m_ticking) return;
  m_ticking = true;
  m_clock.after(m_receiver.untilWholeSecond(m_clock.now(), notBefore),
                [this, session = m_session] { tick(session); });
}

void RemoteDevice::tick(unsigned session) {
  if (session != m_session) return;
  if (!m_state.intervalRequested || !m_send) {
    m_ticking = false;
    return;
  }
  std::string sentences = nmeaSecond(reading(), m_state.gpsSentences);
  if (!sentences.empty()) m_send(std::move(sentences));
  m_clock.after(kSecond, [this, session] { tick(session); });
}

}  // namespace d7o::sim
