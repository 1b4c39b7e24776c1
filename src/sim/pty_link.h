#pragma once

#include "sim/modem_engine.h"
#include "sim/sim_clock.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <signal.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <utility>

namespace d7o::sim {

// The modem's clock when it runs on its own behind a pseudo-terminal: real time, with a
// queue of actions that the link's loop runs when they fall due.
class PtyClock : public SimClock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  PtyClock();

  // Time since the clock was made.
  Millis now() const override;
  void after(Millis delay, std::function<void()> action) override;

  // Runs the actions due by now, earliest first (equal times in the order they were
  // posted). Actions they post for later wait for the next call, so a chain of zero
  // delays cannot starve the loop.
  void runDue();
  // When the earliest pending action falls due; nothing when none is pending.
  std::optional<TimePoint> nextDue() const;
  std::size_t pending() const { return m_queue.size(); }

 private:
  TimePoint m_start;
  std::uint64_t m_sequence = 0;
  std::map<std::pair<TimePoint, std::uint64_t>, std::function<void()>> m_queue;
};

// A fresh pseudo-terminal: the master side, non-blocking and close-on-exec, and its
// device opened once (kept open here), raw at `speed`.
struct PseudoTerminal {
  int master = -1;
  int slave = -1;
  std::string devicePath;
};
// False, with `error` set and nothing left open, when the system refuses.
bool openPseudoTerminal(PseudoTerminal& pty, speed_t speed, std::string& error);

// A wait for ppoll(); a wait already over is none.
timespec toTimespec(std::chrono::steady_clock::duration wait);

// Bytes on their way into a pseudo-terminal's master side: what the line does not take at
// once waits until poll reports room, in order.
class PtyOutput {
 public:
  void append(std::string_view bytes);
  std::size_t queued() const { return m_bytes.size() - m_pos; }
  bool empty() const { return queued() == 0; }
  void clear() {
    m_bytes.clear();
    m_pos = 0;
  }
  // A failed write other than a full line: what went wrong and how many bytes it cost.
  struct Failure {
    std::string what;
    std::size_t lost = 0;
  };
  // Writes what the line takes now; on a failure the rest is dropped.
  std::optional<Failure> writeTo(int fd);

 private:
  std::string m_bytes;
  std::size_t m_pos = 0;  // what the line has taken
};

// A pseudo-terminal with the simulated modem on its master side: a program opens the
// device path like a serial port and talks to the modem.
class PtyLink {
 public:
  using Log = std::function<void(std::string_view message)>;

  // Output the program does not take is held up to this much; beyond it the newest bytes
  // are dropped (and counted), as a receiver's full buffer would.
  static constexpr std::size_t kMaxQueued = std::size_t{1} << 20;

  PtyLink(PtyClock& clock, ModemEngine& modem);
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  // Creates the pseudo-terminal, its device raw at 9600 baud. False, with `error` set,
  // when the system refuses.
  bool open(std::string& error);
  bool isOpen() const { return m_master >= 0; }
  // The device a program opens, e.g. "/dev/pts/3".
  const std::string& devicePath() const { return m_devicePath; }

  // Waits up to `maxWait` for bytes from the program, room for queued output or the next
  // due action, then handles what came. With `waitMask` the wait runs under that signal
  // mask, so a signal kept blocked otherwise can end it without a race.
  void pollOnce(Millis maxWait, const sigset_t* waitMask = nullptr);
  // Serves for `duration` of real time.
  void runFor(Millis duration);

  // Bytes to the program as the modem sends them at its own rate; a program at another
  // rate gets noise.
  void send(std::string_view bytes);

  // The rate the program set on its side of the line; 0 when it cannot be read. A line
  // left without a rate (B0) counts as running at the modem's.
  int programBaud() const;
  std::size_t queuedBytes() const { return m_out.queued(); }
  std::size_t droppedBytes() const { return m_dropped; }

  // Where problems are reported (nowhere by default).
  void setLog(Log log) { m_log = std::move(log); }

  // How many programs have the device open now, as far as the link could watch them.
  int openers() const { return m_openers; }

 private:
  void readInput();
  // Opening and closing of the device, the pseudo-terminal's DTR: the first program to
  // open it raises DTR, the last to close it drops it (a modem hangs up as AT&D says).
  void watchOpeners(std::string& error);
  void readOpeners();
  void flush();
  void report(std::string_view message) const;
  void close();

  PtyClock& m_clock;
  ModemEngine& m_modem;
  int m_master = -1;
  // Kept open for the link's lifetime so the master never sees a hang-up when a program
  // closes the device; also where the program's line settings are read. Never read from.
  int m_slave = -1;
  std::string m_devicePath;
  int m_watch = -1;  // inotify on the device; -1: opening and closing are not seen
  int m_openers = 0;
  PtyOutput m_out;
  std::size_t m_dropped = 0;
  bool m_overflowReported = false;
  Log m_log;
};

// B9600 -> 9600; 0 for B0 and rates it does not know.
int baudOfSpeed(speed_t speed);
// 9600 -> B9600; nothing for rates a terminal cannot be set to.
std::optional<speed_t> speedOfBaud(int baud);

}  // namespace d7o::sim
