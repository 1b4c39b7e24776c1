#include "capture/recording_port.h"

namespace d7o::capture {

namespace {

// At most this long between a byte on the line and its line in the file.
constexpr Millis kFlushInterval{100};
// A fast stream is written out sooner, so the buffer stays small.
constexpr std::size_t kFlushBytes = 64 * 1024;

const char* handshakeName(platform::Handshaking mode) {
  return mode == platform::Handshaking::RtsCts ? "rts/cts" : "none";
}

}  // namespace

RecordingPort::RecordingPort(platform::SerialPort& port, platform::Scheduler& scheduler)
    : m_port(port), m_scheduler(scheduler) {}

RecordingPort::~RecordingPort() {
  m_writer.close();
}

std::optional<std::string> RecordingPort::start(const std::filesystem::path& file,
                                                std::string program) {
  stop();
  Header header;
  header.program = std::move(program);
  header.port = "COM" + std::to_string(m_port.commPort());
  header.settings = m_port.settings();
  header.open = m_port.isOpen();
  header.startUtc = utcNow();
  if (auto error = m_writer.open(file, header)) return error;
  m_start = m_scheduler.now();
  ++m_generation;
  m_flushPosted = false;
  m_lostRecorded = false;
  // The lines' state at the start, so a replay begins from it.
  m_cts.reset();
  m_cd.reset();
  if (header.open) {
    recordLine(LineEvent::Cts, m_port.ctsHolding(), m_cts);
    recordLine(LineEvent::Cd, m_port.cdHolding(), m_cd);
  }
  return std::nullopt;
}

void RecordingPort::stop() {
  if (!m_writer.isOpen()) return;
  ++m_generation;
  m_writer.close();
}

void RecordingPort::record(Record record) const {
  if (!m_writer.isOpen()) return;
  record.time = m_scheduler.now() - m_start;
  m_writer.append(record);
  if (m_writer.pendingBytes() >= kFlushBytes) {
    flushNow();
  } else {
    flushSoon();
  }
}

void RecordingPort::recordEvent(LineEvent event, bool on, std::string value) const {
  Record r;
  r.direction = Direction::Event;
  r.event = event;
  r.on = on;
  r.value = std::move(value);
  record(std::move(r));
}

void RecordingPort::recordLine(LineEvent event, bool now, std::optional<bool>& last) const {
  if (!m_writer.isOpen() || last == now) return;
  last = now;
  recordEvent(event, now);
}

void RecordingPort::flushSoon() const {
  if (m_flushPosted) return;
  m_flushPosted = true;
  const std::uint64_t generation = m_generation;
  m_scheduler.post(kFlushInterval, [this, alive = std::weak_ptr<int>(m_alive), generation] {
    if (alive.expired() || generation != m_generation) return;
    m_flushPosted = false;
    flushNow();
  });
}

void RecordingPort::flushNow() const {
  if (m_writer.flush()) return;
  ++m_generation;
  const std::string failure = m_writer.failure();
  if (m_onFailure && !failure.empty()) m_onFailure(failure);
}

void RecordingPort::noteVanished() const {
  if (m_lostRecorded || !m_port.deviceLost()) return;
  m_lostRecorded = true;
  recordEvent(LineEvent::Vanished);
  m_cts.reset();
  m_cd.reset();
}

platform::PortResult RecordingPort::setCommPort(int number) {
  auto result = m_port.setCommPort(number);
  if (!result) recordEvent(LineEvent::Port, false, "COM" + std::to_string(number));
  return result;
}

platform::PortResult RecordingPort::setSettings(std::string_view settings) {
  auto result = m_port.setSettings(settings);
  if (!result) recordEvent(LineEvent::Settings, false, std::string(settings));
  return result;
}

platform::PortResult RecordingPort::open() {
  noteVanished();
  auto result = m_port.open();
  if (!result) {
    m_lostRecorded = false;
    recordEvent(LineEvent::Opened);
    recordLine(LineEvent::Cts, m_port.ctsHolding(), m_cts);
    recordLine(LineEvent::Cd, m_port.cdHolding(), m_cd);
  }
  return result;
}

void RecordingPort::close() {
  noteVanished();
  const bool wasOpen = m_port.isOpen();
  m_port.close();
  if (wasOpen) recordEvent(LineEvent::Closed);
  m_cts.reset();
  m_cd.reset();
}

bool RecordingPort::isOpen() const {
  noteVanished();
  return m_port.isOpen();
}

bool RecordingPort::deviceLost() const {
  noteVanished();
  return m_port.deviceLost();
}

void RecordingPort::setDtr(bool high) {
  m_port.setDtr(high);
  recordEvent(LineEvent::Dtr, high);
}

void RecordingPort::setRts(bool high) {
  m_port.setRts(high);
  recordEvent(LineEvent::Rts, high);
}

void RecordingPort::setBreak(bool on) {
  m_port.setBreak(on);
  recordEvent(LineEvent::Break, on);
}

void RecordingPort::setHandshaking(platform::Handshaking mode) {
  m_port.setHandshaking(mode);
  recordEvent(LineEvent::Handshake, false, handshakeName(mode));
}

platform::PortResult RecordingPort::write(std::string_view bytes) {
  auto result = m_port.write(bytes);
  // What reached the line; a refused write sent nothing.
  if (!result && !bytes.empty()) {
    Record r;
    r.direction = Direction::Sent;
    r.bytes = std::string(bytes);
    record(std::move(r));
  }
  return result;
}

std::string RecordingPort::readAll() {
  std::string bytes = m_port.readAll();
  if (!bytes.empty() && m_writer.isOpen()) {
    Record r;
    r.direction = Direction::Received;
    r.bytes = bytes;
    record(std::move(r));
  }
  return bytes;
}

void RecordingPort::discardInput() {
  // Bytes the program throws away were on the line all the same.
  if (m_writer.isOpen()) readAll();
  m_port.discardInput();
}

bool RecordingPort::ctsHolding() const {
  const bool cts = m_port.ctsHolding();
  if (m_port.isOpen()) recordLine(LineEvent::Cts, cts, m_cts);
  return cts;
}

bool RecordingPort::cdHolding() const {
  const bool cd = m_port.cdHolding();
  if (m_port.isOpen()) recordLine(LineEvent::Cd, cd, m_cd);
  return cd;
}

}  // namespace d7o::capture
