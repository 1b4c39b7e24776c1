#include "sim/pty_replay.h"

#include "platform/line_settings.h"
#include "sim/pty_link.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace d7o::sim {

namespace {

using MillisF = std::chrono::duration<double, std::milli>;

// The recording's line rate as the device's rate, so a program that never sets one reads
// the recorded one; 9600 when it is none a terminal knows.
speed_t speedOfSettings(const std::string& settings) {
  platform::LineSettings line;
  if (platform::parseLineSettings(settings, line)) return B9600;
  return speedOfBaud(line.baud).value_or(B9600);
}

}  // namespace

PtyReplay::PtyReplay(ReplaySettings settings) : m_settings(std::move(settings)) {
  if (!(m_settings.speed > 0)) m_settings.speed = ReplaySettings::kMaxSpeed;
}

PtyReplay::~PtyReplay() {
  close();
}

void PtyReplay::close() {
  if (m_master >= 0) ::close(m_master);
  m_master = -1;
}

bool PtyReplay::startPass(std::string& error) {
  m_reader.reset();
  m_file.close();
  m_file.clear();
  m_file.open(m_settings.file, std::ios::binary);
  if (!m_file.is_open()) {
    error = "cannot read " + m_settings.file.string();
    return false;
  }
  m_reader = std::make_unique<capture::Reader>(m_file, m_settings.plainSettings);
  if (!m_reader->error().empty()) {
    error = m_settings.file.string() + ", byte " + std::to_string(m_reader->errorOffset()) + ": " +
            m_reader->error();
    return false;
  }
  ++m_pass;
  m_passBytes = 0;
  m_position = 0;
  m_lastTick = SteadyClock::now();
  fetch();
  return true;
}

bool PtyReplay::open(std::string& error) {
  close();
  m_devicePath.clear();
  if (!startPass(error)) return false;

  PseudoTerminal pty;
  if (!openPseudoTerminal(pty, speedOfSettings(m_reader->header().settings), error)) {
    error = "cannot create a pseudo-terminal: " + error;
    return false;
  }
  // The device stays closed on this side: the master then sees a hang-up until a program
  // opens it, which is how the replay knows it has a listener.
  ::close(pty.slave);
  m_master = pty.master;
  m_devicePath = pty.devicePath;
  m_present = false;
  m_lastTick = SteadyClock::now();
  return true;
}

void PtyReplay::fetch() {
  m_next.reset();
  // What the program sent and the line's events are not the device's to replay.
  while (auto record = m_reader->next()) {
    if (record->direction == capture::Direction::Received && !record->bytes.empty()) {
      m_next = std::move(record);
      return;
    }
  }
}

bool PtyReplay::running() const {
  return m_present && !m_stalled && !m_finished && m_settings.speed > 0;
}

void PtyReplay::advance() {
  const auto now = SteadyClock::now();
  if (running()) m_position += MillisF(now - m_lastTick).count() * m_settings.speed;
  m_lastTick = now;
}

Millis PtyReplay::position() const {
  double position = m_position;
  if (running()) {
    position += MillisF(SteadyClock::now() - m_lastTick).count() * m_settings.speed;
  }
  return Millis(static_cast<Millis::rep>(position));
}

void PtyReplay::setPresent(bool present) {
  if (present == m_present) return;
  advance();
  m_present = present;
  // Once played out, programs come and go without news.
  if (m_finished) return;
  if (present) {
    report(m_everPresent ? "a program opened the device; the replay goes on"
                         : "a program opened the device; the replay starts");
    m_everPresent = true;
  } else {
    report("the program closed the device; the replay waits for the next one");
  }
}

void PtyReplay::checkPresence() {
  if (m_master < 0) return;
  pollfd fd{};
  fd.fd = m_master;
  fd.events = POLLIN;
  if (::poll(&fd, 1, 0) >= 0) setPresent((fd.revents & POLLHUP) == 0);
}

void PtyReplay::endOfPass() {
  if (!m_reader->error().empty()) {
    m_error = m_settings.file.string() + ", byte " + std::to_string(m_reader->errorOffset()) +
              ": " + m_reader->error();
    report(m_error + "; the replay stops there, after " + std::to_string(m_replayed) + " bytes");
    m_finished = true;
    return;
  }
  // A pass without a byte would start over at once, forever.
  if (m_settings.loop && m_passBytes > 0) {
    report("end of the recording (pass " + std::to_string(m_pass) + "), starting over");
    std::string error;
    if (!startPass(error)) {
      m_error = error;
      report(m_error + "; the replay stops");
      m_finished = true;
    }
    return;
  }
  advance();
  m_finished = true;
  report("end of the recording, " + std::to_string(m_replayed) +
         " bytes replayed; the device stays open until stopped");
}

void PtyReplay::pump() {
  if (m_finished || m_master < 0) return;
  advance();
  while (true) {
    if (m_present) flush();
    if (!m_out.empty()) return;
    if (!m_next) {
      endOfPass();
      if (m_finished || !m_next) return;
      continue;
    }
    if (!m_present) return;
    if (m_settings.speed > 0 && static_cast<double>(m_next->time.count()) > m_position) return;
    m_out.append(m_next->bytes);
    m_replayed += m_next->bytes.size();
    m_passBytes += m_next->bytes.size();
    fetch();
  }
}

void PtyReplay::flush() {
  if (auto failure = m_out.writeTo(m_master)) {
    report(failure->what + "; " + std::to_string(failure->lost) + " bytes lost");
  }
  // The recording's clock stands while the program leaves the line full.
  const bool stalled = !m_out.empty();
  if (stalled != m_stalled) {
    advance();
    m_stalled = stalled;
  }
}

void PtyReplay::readInput() {
  std::array<char, 4096> buffer{};
  const ssize_t got = ::read(m_master, buffer.data(), buffer.size());
  if (got > 0) {
    m_dropped += static_cast<std::uint64_t>(got);
  } else if (got < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK && errno != EIO) {
    report("read from the pseudo-terminal: " + std::string(std::strerror(errno)));
  }
}

void PtyReplay::pollOnce(Millis maxWait, const sigset_t* waitMask) {
  checkPresence();
  pump();

  const auto now = SteadyClock::now();
  auto deadline = now + std::max(maxWait, Millis{0});
  if (!m_present) {
    deadline = std::min(deadline, now + kOpenCheck);
  } else if (running() && m_next && m_out.empty()) {
    const double due = (static_cast<double>(m_next->time.count()) - m_position) / m_settings.speed;
    const auto wait = std::chrono::ceil<SteadyClock::duration>(MillisF(std::clamp(due, 0.0, 1e9)));
    deadline = std::min(deadline, now + wait);
  }
  timespec wait = toTimespec(deadline - now);

  if (!m_present || m_master < 0) {
    // Poll would report the hang-up at once: wait without the master instead.
    ::ppoll(nullptr, 0, &wait, waitMask);
  } else {
    pollfd fd{};
    fd.fd = m_master;
    fd.events = static_cast<short>(POLLIN | (m_out.empty() ? 0 : POLLOUT));
    const int ready = ::ppoll(&fd, 1, &wait, waitMask);
    if (ready < 0 && errno != EINTR) {
      report("poll: " + std::string(std::strerror(errno)));
    } else if (ready > 0) {
      if (fd.revents & POLLHUP) {
        setPresent(false);
      } else {
        if (fd.revents & POLLIN) readInput();
        if (fd.revents & POLLOUT) flush();
      }
    }
  }
  pump();
}

void PtyReplay::report(const std::string& message) const {
  if (m_log) m_log(message);
}

}  // namespace d7o::sim
