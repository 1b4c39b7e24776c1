#include "sim/pty_link.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>

namespace d7o::sim {

namespace {

using Clock = std::chrono::steady_clock;

struct SpeedEntry {
  speed_t speed;
  int baud;
};

constexpr std::array<SpeedEntry, 30> kSpeeds{{
    {B50, 50},           {B75, 75},           {B110, 110},         {B134, 134},
    {B150, 150},         {B200, 200},         {B300, 300},         {B600, 600},
    {B1200, 1200},       {B1800, 1800},       {B2400, 2400},       {B4800, 4800},
    {B9600, 9600},       {B19200, 19200},     {B38400, 38400},     {B57600, 57600},
    {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
    {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000},
    {B1500000, 1500000}, {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000},
    {B3500000, 3500000}, {B4000000, 4000000},
}};

std::string systemError(std::string_view what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

int baudOfSpeed(speed_t speed) {
  for (const auto& entry : kSpeeds) {
    if (entry.speed == speed) return entry.baud;
  }
  return 0;
}

std::optional<speed_t> speedOfBaud(int baud) {
  for (const auto& entry : kSpeeds) {
    if (entry.baud == baud) return entry.speed;
  }
  return std::nullopt;
}

bool openPseudoTerminal(PseudoTerminal& pty, speed_t speed, std::string& error) {
  pty = PseudoTerminal{};
  auto fail = [&](std::string_view what) {
    error = systemError(what);
    if (pty.slave >= 0) ::close(pty.slave);
    if (pty.master >= 0) ::close(pty.master);
    pty = PseudoTerminal{};
    return false;
  };
  pty.master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (pty.master < 0) return fail("posix_openpt");
  if (::grantpt(pty.master) != 0) return fail("grantpt");
  if (::unlockpt(pty.master) != 0) return fail("unlockpt");
  std::array<char, 128> name{};
  if (::ptsname_r(pty.master, name.data(), name.size()) != 0) return fail("ptsname");
  pty.devicePath = name.data();

  // Close-on-exec and non-blocking: a slow program must never stall the master's side.
  const int flags = ::fcntl(pty.master, F_GETFL);
  if (flags < 0 || ::fcntl(pty.master, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");
  if (::fcntl(pty.master, F_SETFD, FD_CLOEXEC) != 0) return fail("fcntl");

  pty.slave = ::open(pty.devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (pty.slave < 0) return fail("open " + pty.devicePath);

  termios settings{};
  if (::tcgetattr(pty.slave, &settings) != 0) return fail("tcgetattr");
  ::cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0) {
    return fail("cfsetspeed");
  }
  if (::tcsetattr(pty.slave, TCSANOW, &settings) != 0) return fail("tcsetattr");
  return true;
}

// ---- PtyClock ----

PtyClock::PtyClock() : m_start(Clock::now()) {}

Millis PtyClock::now() const {
  return std::chrono::duration_cast<Millis>(Clock::now() - m_start);
}

void PtyClock::after(Millis delay, std::function<void()> action) {
  if (!action) return;
  const TimePoint due = Clock::now() + std::max(delay, Millis{0});
  m_queue.emplace(std::make_pair(due, m_sequence++), std::move(action));
}

void PtyClock::runDue() {
  const TimePoint now = Clock::now();
  const std::uint64_t lastSequence = m_sequence;
  while (!m_queue.empty()) {
    auto first = m_queue.begin();
    if (first->first.first > now || first->first.second >= lastSequence) break;
    // Taken out before it runs: the action may post (or the engine may drop) others.
    std::function<void()> action = std::move(first->second);
    m_queue.erase(first);
    action();
  }
}

std::optional<PtyClock::TimePoint> PtyClock::nextDue() const {
  if (m_queue.empty()) return std::nullopt;
  return m_queue.begin()->first.first;
}

// ---- PtyLink ----

PtyLink::PtyLink(PtyClock& clock, ModemEngine& modem) : m_clock(clock), m_modem(modem) {}

PtyLink::~PtyLink() {
  // The engine may outlive us; it must not call into a link that is gone.
  m_modem.setOutput(nullptr);
  close();
}

void PtyLink::close() {
  if (m_watch >= 0) ::close(m_watch);
  m_watch = -1;
  m_openers = 0;
  if (m_slave >= 0) ::close(m_slave);
  if (m_master >= 0) ::close(m_master);
  m_slave = -1;
  m_master = -1;
}

bool PtyLink::open(std::string& error) {
  close();
  m_devicePath.clear();
  m_out.clear();

  PseudoTerminal pty;
  if (!openPseudoTerminal(pty, B9600, error)) return false;
  m_master = pty.master;
  m_slave = pty.slave;
  m_devicePath = pty.devicePath;
  m_modem.setOutput([this](std::string_view bytes) { send(bytes); });
  std::string watchError;
  watchOpeners(watchError);
  if (!watchError.empty()) {
    report(watchError + "; closing the device will not drop DTR");
  }
  return true;
}

void PtyLink::watchOpeners(std::string& error) {
  m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (m_watch < 0) {
    error = systemError("inotify");
    return;
  }
  if (::inotify_add_watch(m_watch, m_devicePath.c_str(), IN_OPEN | IN_CLOSE) < 0) {
    error = systemError("inotify on " + m_devicePath);
    ::close(m_watch);
    m_watch = -1;
  }
}

// Each open of the device is one event, and so is the last close of each open (a
// descriptor passed on by fork or dup closes once); the link's own stays open throughout.
void PtyLink::readOpeners() {
  alignas(inotify_event) std::array<char, 4096> buffer{};
  for (;;) {
    const ssize_t got = ::read(m_watch, buffer.data(), buffer.size());
    if (got <= 0) return;
    for (ssize_t at = 0; at < got;) {
      inotify_event event{};
      std::memcpy(&event, buffer.data() + at, sizeof event);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
      if (event.mask & IN_OPEN) {
        if (m_openers++ == 0) m_modem.setDtr(true);
      } else if ((event.mask & IN_CLOSE) && m_openers > 0) {
        if (--m_openers == 0) {
          // Nobody reads what is still queued or unread; the next program starts afresh.
          m_out.clear();
          ::tcflush(m_slave, TCIFLUSH);
          m_modem.setDtr(false);
        }
      }
    }
  }
}

int PtyLink::programBaud() const {
  if (m_slave < 0) return 0;
  termios settings{};
  if (::tcgetattr(m_slave, &settings) != 0) return 0;
  // An input rate of 0 means "same as output".
  const speed_t in = ::cfgetispeed(&settings);
  const speed_t speed = in != B0 ? in : ::cfgetospeed(&settings);
  // No rate at all: a pseudo-terminal carries none, and a program that never sets one
  // (gammu gives up on the rate once the terminal refuses DTR) is on the modem's.
  if (speed == B0) return m_modem.config().baud;
  return baudOfSpeed(speed);
}

void PtyLink::send(std::string_view bytes) {
  if (bytes.empty() || m_master < 0) return;
  // No program has the device open: what the modem says is lost, as on a serial line.
  // (One may have opened it since the last poll.)
  if (m_watch >= 0 && m_openers == 0) readOpeners();
  if (m_watch >= 0 && m_openers == 0) return;
  std::string garbled;
  if (programBaud() != m_modem.config().baud) {
    garbled = ModemEngine::garble(bytes);
    bytes = garbled;
  }

  const std::size_t room = kMaxQueued - std::min(kMaxQueued, queuedBytes());
  if (bytes.size() > room) {
    m_dropped += bytes.size() - room;
    if (!m_overflowReported) {
      report("the program is not reading; modem output is being dropped");
      m_overflowReported = true;
    }
    bytes = bytes.substr(0, room);
  }
  m_out.append(bytes);
  flush();
}

timespec toTimespec(std::chrono::steady_clock::duration wait) {
  wait = std::max(wait, std::chrono::steady_clock::duration::zero());
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
  const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(wait - seconds);
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(seconds.count());
  ts.tv_nsec = static_cast<long>(nanos.count());
  return ts;
}

void PtyOutput::append(std::string_view bytes) {
  if (m_pos > 0 && m_pos == m_bytes.size()) clear();
  m_bytes.append(bytes);
}

std::optional<PtyOutput::Failure> PtyOutput::writeTo(int fd) {
  std::optional<Failure> failure;
  while (m_pos < m_bytes.size()) {
    const ssize_t written = ::write(fd, m_bytes.data() + m_pos, m_bytes.size() - m_pos);
    if (written > 0) {
      m_pos += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    // Full: the rest goes when poll says there is room.
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    failure = Failure{written < 0 ? systemError("write to the pseudo-terminal")
                                  : std::string("write to the pseudo-terminal took nothing"),
                      queued()};
    m_pos = m_bytes.size();
  }
  if (m_pos == m_bytes.size()) {
    clear();
  } else if (m_pos > m_bytes.size() / 2) {
    // Drop what is sent so the queue does not creep through memory.
    m_bytes.erase(0, m_pos);
    m_pos = 0;
  }
  return failure;
}

void PtyLink::flush() {
  if (auto failure = m_out.writeTo(m_master)) {
    m_dropped += failure->lost;
    report(failure->what);
  }
  if (m_out.empty()) m_overflowReported = false;
}

void PtyLink::readInput() {
  std::array<char, 4096> buffer{};
  const ssize_t got = ::read(m_master, buffer.data(), buffer.size());
  if (got > 0) {
    m_modem.receive(std::string_view(buffer.data(), static_cast<std::size_t>(got)), programBaud());
    return;
  }
  if (got < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK && errno != EIO) {
    report(systemError("read from the pseudo-terminal"));
  }
}

void PtyLink::pollOnce(Millis maxWait, const sigset_t* waitMask) {
  m_clock.runDue();

  Clock::time_point deadline = Clock::now() + std::max(maxWait, Millis{0});
  if (const auto next = m_clock.nextDue(); next && *next < deadline) deadline = *next;
  timespec wait = toTimespec(deadline - Clock::now());

  std::array<pollfd, 2> fds{};
  pollfd& fd = fds[0];
  fd.fd = m_master;
  fd.events = static_cast<short>(POLLIN | (queuedBytes() > 0 ? POLLOUT : 0));
  fds[1].fd = m_watch;
  fds[1].events = POLLIN;
  const nfds_t count = m_master < 0 ? 0 : m_watch < 0 ? 1 : 2;
  const int ready = ::ppoll(fds.data(), count, &wait, waitMask);
  if (ready < 0 && errno != EINTR) report(systemError("poll"));

  // Opens first: a program that opens the device and writes at once finds DTR up.
  if (ready > 0 && count == 2 && (fds[1].revents & POLLIN)) readOpeners();
  if (ready > 0) {
    if (fd.revents & POLLIN) readInput();
    if (fd.revents & POLLOUT) flush();
    if ((fd.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(fd.revents & POLLIN)) {
      // Nothing to read yet poll keeps waking (the device was hung up): wait out the
      // rest without the master, so the loop does not spin.
      wait = toTimespec(deadline - Clock::now());
      ::ppoll(nullptr, 0, &wait, waitMask);
    }
  }
  m_clock.runDue();
}

void PtyLink::runFor(Millis duration) {
  const Clock::time_point end = Clock::now() + duration;
  for (auto now = Clock::now(); now < end; now = Clock::now()) {
    pollOnce(std::chrono::ceil<Millis>(end - now));
  }
}

void PtyLink::report(std::string_view message) const {
  if (m_log) m_log(message);
}

}  // namespace d7o::sim
