#pragma once

#include "capture/capture_file.h"
#include "platform/scheduler.h"
#include "platform/serial_port.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace d7o::capture {

// The program's serial port with a recorder in between: every call goes to the port
// beneath unchanged, and while a recording runs, what crossed the line goes to a capture
// file as well. Nothing in the program knows it is there.
//
// Received bytes are recorded as the program reads them, so their times are the times the
// program saw them. CTS and carrier detect are recorded when a read of them shows a new
// state, which is when the program sees the change.
class RecordingPort : public platform::SerialPort {
 public:
  RecordingPort(platform::SerialPort& port, platform::Scheduler& scheduler);
  ~RecordingPort() override;

  // Starts a recording into `file`, replacing one that runs; the error names the file.
  std::optional<std::string> start(const std::filesystem::path& file, std::string program);
  // Ends the recording; what gathered is written out.
  void stop();
  bool recording() const { return m_writer.isOpen(); }
  const std::filesystem::path& file() const { return m_writer.path(); }
  // Called once when the disk refuses the capture (the recording has stopped then).
  void setFailureHandler(std::function<void(const std::string&)> handler) {
    m_onFailure = std::move(handler);
  }

  platform::PortResult setCommPort(int number) override;
  int commPort() const override { return m_port.commPort(); }
  platform::PortResult setSettings(std::string_view settings) override;
  std::string settings() const override { return m_port.settings(); }
  platform::PortResult open() override;
  void close() override;
  bool isOpen() const override;
  void setDtr(bool high) override;
  void setRts(bool high) override;
  void setBreak(bool on) override;
  void setHandshaking(platform::Handshaking mode) override;
  platform::Handshaking handshaking() const override { return m_port.handshaking(); }
  platform::PortResult write(std::string_view bytes) override;
  std::string readAll() override;
  std::size_t bytesAvailable() const override { return m_port.bytesAvailable(); }
  void discardInput() override;
  bool ctsHolding() const override;
  bool cdHolding() const override;
  bool deviceLost() const override;
  std::string deviceIdentity() const override { return m_port.deviceIdentity(); }
  std::string openedIdentity() const override { return m_port.openedIdentity(); }
  void setReceiveHandler(std::function<void()> handler) override {
    m_port.setReceiveHandler(std::move(handler));
  }

 private:
  // const: the reads of CTS, CD and the port's state record what they saw.
  void record(Record record) const;
  void recordEvent(LineEvent event, bool on = false, std::string value = {}) const;
  void recordLine(LineEvent event, bool now, std::optional<bool>& last) const;
  void noteVanished() const;
  void flushSoon() const;
  void flushNow() const;

  platform::SerialPort& m_port;
  platform::Scheduler& m_scheduler;
  mutable Writer m_writer;
  Millis m_start{0};
  mutable bool m_flushPosted = false;
  mutable std::uint64_t m_generation = 0;  // a flush posted for an earlier recording is void
  mutable std::optional<bool> m_cts;
  mutable std::optional<bool> m_cd;
  mutable bool m_lostRecorded = false;
  std::function<void(const std::string&)> m_onFailure;
  std::shared_ptr<int> m_alive = std::make_shared<int>(0);  // posted flushes outlive no port
};

}  // namespace d7o::capture
