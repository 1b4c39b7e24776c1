#pragma once

#include "capture/capture_file.h"
#include "sim/pty_link.h"
#include "sim/sim_clock.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <signal.h>
#include <string>
#include <string_view>

namespace d7o::sim {

struct ReplaySettings {
  // 0: as fast as the program reads.
  static constexpr double kMaxSpeed = 0;

  std::filesystem::path file;
  // How many times faster than recorded.
  double speed = 1;
  // Start over at the end of the recording.
  bool loop = false;
  // The line a plain log (no capture header) is paced at.
  std::string plainSettings = "115200,n,8,1";
};

// A recording played onto a pseudo-terminal in place of the modem: the bytes the device
// sent (of a capture, or all of a plain log) reach the program that opens the device at
// their recorded pace; what the program writes is read and dropped.
//
// The recording waits for its listener: its clock starts when a program first opens the
// device, stands still while none has it open and while the program leaves the bytes
// unread, so every byte reaches a program, in order and never early.
class PtyReplay {
 public:
  using Log = std::function<void(std::string_view message)>;
  using SteadyClock = std::chrono::steady_clock;

  // While no program has the device open, this often the replay looks whether one came.
  static constexpr Millis kOpenCheck{50};

  explicit PtyReplay(ReplaySettings settings);
  ~PtyReplay();
  PtyReplay(const PtyReplay&) = delete;
  PtyReplay& operator=(const PtyReplay&) = delete;

  // Reads the recording's start and creates the pseudo-terminal. False, with `error` set
  // (naming the file), when the file cannot be read or its header is malformed, or the
  // system refuses a pseudo-terminal.
  bool open(std::string& error);
  // The device a program opens, e.g. "/dev/pts/3".
  const std::string& devicePath() const { return m_devicePath; }
  bool isCapture() const { return m_reader && m_reader->isCapture(); }
  const capture::Header& header() const { return m_reader->header(); }

  // Waits up to `maxWait` for the next byte to fall due, for room on the line, for bytes
  // from the program or for one to open the device, then handles what came. With
  // `waitMask` the wait runs under that signal mask (see PtyLink::pollOnce).
  void pollOnce(Millis maxWait, const sigset_t* waitMask = nullptr);

  // Where the replay is in the current pass through the recording.
  Millis position() const;
  // A program has the device open.
  bool programPresent() const { return m_present; }
  // The recording is played out (not to start over) and every byte of it is on the line.
  bool finished() const { return m_finished; }
  // It stopped at a malformed line; error() names the file and the line's byte offset.
  bool failed() const { return !m_error.empty(); }
  const std::string& error() const { return m_error; }
  // Passes begun through the recording (more than one with `loop`).
  int pass() const { return m_pass; }
  std::uint64_t bytesReplayed() const { return m_replayed; }
  // Bytes the program wrote, all dropped.
  std::uint64_t bytesDropped() const { return m_dropped; }

  // Where the end of the recording and problems are reported (nowhere by default).
  void setLog(Log log) { m_log = std::move(log); }

 private:
  bool startPass(std::string& error);
  void fetch();
  // Hands every byte due to the line, as far as it takes them.
  void pump();
  void endOfPass();
  void advance();
  bool running() const;
  void setPresent(bool present);
  void checkPresence();
  void flush();
  void readInput();
  void report(const std::string& message) const;
  void close();

  ReplaySettings m_settings;
  std::ifstream m_file;
  std::unique_ptr<capture::Reader> m_reader;
  std::optional<capture::Record> m_next;  // the next received bytes
  int m_pass = 0;
  std::uint64_t m_passBytes = 0;

  int m_master = -1;
  std::string m_devicePath;
  PtyOutput m_out;  // handed over, not yet taken by the line
  bool m_present = false;
  bool m_everPresent = false;
  bool m_stalled = false;  // the line is full

  double m_position = 0;  // milliseconds of the recording, this pass
  SteadyClock::time_point m_lastTick;

  bool m_finished = false;
  std::string m_error;
  std::uint64_t m_replayed = 0;
  std::uint64_t m_dropped = 0;
  Log m_log;
};

}  // namespace d7o::sim
