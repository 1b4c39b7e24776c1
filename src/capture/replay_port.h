#pragma once

#include "capture/capture_file.h"
#include "platform/scheduler.h"
#include "platform/serial_port.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace d7o::capture {

// A serial port that plays a capture back: the received bytes arrive at their recorded
// times (scaled by the speed, or as fast as the program reads them), CTS and carrier
// detect follow the recording, and a device that vanished in the recording vanishes here
// at the same moment and can be opened again when the recording has it back. What the
// program writes goes nowhere.
//
// The replay's clock starts when the program first opens the port, at the moment of the
// recording's first opening, so a recorded start-up lines up with the replayed one.
// Bytes that fall due while the program has the port closed wait for it to open again.
class ReplayPort : public platform::SerialPort {
 public:
  // 0: as fast as the program takes the bytes.
  static constexpr double kMaxSpeed = 0;

  ReplayPort(platform::Scheduler& scheduler, std::filesystem::path file,
             std::string plainSettings = "115200,n,8,1");
  ~ReplayPort() override;

  // Empty when the file opened and its header (if any) reads; else what is wrong with it.
  const std::string& openError() const { return m_openError; }
  const Header& header() const { return m_reader->header(); }
  bool isCapture() const { return m_reader->isCapture(); }

  // --- the replay's controls ---
  void setSpeed(double speed);
  double speed() const { return m_speed; }
  void setPaused(bool paused);
  bool paused() const { return m_paused; }
  // Plays the rest as fast as the program takes it.
  void toEnd();
  // Where the replay is and how long the recording runs.
  Millis position() const;
  Millis length() const { return m_length; }
  bool finished() const { return m_finished; }
  // A malformed line stopped the replay there: the text and its byte offset.
  const std::string& error() const { return m_reader->error(); }
  std::uint64_t errorOffset() const { return m_reader->errorOffset(); }
  // Bytes the program wrote meanwhile (they went nowhere).
  std::uint64_t bytesDropped() const { return m_dropped; }
  // Called whenever the position jumps or the replay ends (for the replay bar).
  void setProgressHandler(std::function<void()> handler) { m_onProgress = std::move(handler); }

  // --- platform::SerialPort ---
  platform::PortResult setCommPort(int number) override;
  int commPort() const override { return m_commPort; }
  platform::PortResult setSettings(std::string_view settings) override;
  std::string settings() const override { return m_settings; }
  platform::PortResult open() override;
  void close() override;
  bool isOpen() const override { return m_open; }
  void setDtr(bool) override {}
  void setRts(bool) override {}
  void setBreak(bool) override {}
  void setHandshaking(platform::Handshaking mode) override { m_handshaking = mode; }
  platform::Handshaking handshaking() const override { return m_handshaking; }
  platform::PortResult write(std::string_view bytes) override;
  std::string readAll() override;
  std::size_t bytesAvailable() const override { return m_input.size(); }
  void discardInput() override { m_input.clear(); }
  bool ctsHolding() const override { return m_open && m_cts; }
  bool cdHolding() const override { return m_open && m_cd; }
  bool deviceLost() const override { return m_lost; }
  void setReceiveHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

 private:
  // Applies every record due at the position, then waits for the next one.
  void play();
  void apply(const Record& record);
  void schedule();
  void deliver();
  void fetch();
  void reanchor();

  platform::Scheduler& m_scheduler;
  std::ifstream m_file;
  std::unique_ptr<Reader> m_reader;
  std::string m_openError;
  std::optional<Record> m_next;
  Millis m_length{0};

  int m_commPort = 1;
  std::string m_settings;
  platform::Handshaking m_handshaking = platform::Handshaking::None;
  bool m_open = false;
  bool m_lost = false;
  bool m_gone = false;  // vanished in the recording and not back yet
  bool m_cts = true;
  bool m_cd = false;
  std::string m_input;  // received, not yet read
  std::string m_held;   // fell due while the port was closed
  std::function<void()> m_handler;
  std::function<void()> m_onProgress;
  std::uint64_t m_dropped = 0;

  bool m_started = false;
  bool m_paused = false;
  bool m_finished = false;
  double m_speed = 1;
  bool m_toEnd = false;
  Millis m_anchorPosition{0};      // the position at m_anchorTime
  Millis m_anchorTime{0};          // scheduler time
  std::uint64_t m_generation = 0;  // a posted play() of an earlier schedule is void
  bool m_posted = false;
  std::shared_ptr<int> m_alive = std::make_shared<int>(0);  // posted actions outlive no port
};

}  // namespace d7o::capture
