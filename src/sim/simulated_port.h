#pragma once

#include "platform/scheduler.h"
#include "platform/serial_port.h"
#include "sim/modem_engine.h"
#include "sim/sim_clock.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace d7o::sim {

// The simulated modem's clock on the program's own scheduler.
class SchedulerClock : public SimClock {
 public:
  explicit SchedulerClock(platform::Scheduler& scheduler) : m_scheduler(scheduler) {}
  Millis now() const override { return m_scheduler.now(); }
  void after(Millis delay, std::function<void()> action) override {
    m_scheduler.post(delay, std::move(action));
  }

 private:
  platform::Scheduler& m_scheduler;
};

// A serial port with the simulated modem attached, inside the program's process: used by
// the scenario tests (virtual time) and by `rezedev7 --simulate` (real time).
class SimulatedPort : public platform::SerialPort {
 public:
  SimulatedPort(platform::Scheduler& scheduler, ModemEngine& modem);

  platform::PortResult setCommPort(int number) override;
  int commPort() const override { return m_commPort; }
  platform::PortResult setSettings(std::string_view settings) override;
  std::string settings() const override { return m_settings; }
  platform::PortResult open() override;
  void close() override;
  bool isOpen() const override { return m_open; }
  void setDtr(bool high) override;
  void setRts(bool high) override;
  void setBreak(bool on) override;
  void setHandshaking(platform::Handshaking mode) override;
  platform::Handshaking handshaking() const override { return m_handshaking; }
  platform::PortResult write(std::string_view bytes) override;
  std::string readAll() override;
  std::size_t bytesAvailable() const override { return m_input.size(); }
  void discardInput() override { m_input.clear(); }
  bool ctsHolding() const override;
  bool cdHolding() const override;
  void setReceiveHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

  bool deviceLost() const override { return m_lost; }
  std::string deviceIdentity() const override;
  std::string openedIdentity() const override { return m_openedIdentity; }
  // The adapter of the current port pulled out (the port closes itself, opening it fails)
  // and put back in; `identity`, when given, is another adapter's in its place.
  void unplug();
  void replug(std::optional<std::string> identity = std::nullopt);
  // The identity the device at the port tells (empty: none, as a built-in port).
  void setIdentity(std::string identity) { m_identity = std::move(identity); }

  // Port numbers where no device exists: opening them fails like a missing COM port.
  void setMissingPorts(std::set<int> ports) { m_missing = std::move(ports); }
  // Everything the program wrote since the last call (the bytes on the wire).
  std::string takeWritten();
  const std::string& written() const { return m_written; }
  // The baud rate of the current settings ("115200,n,8,1" -> 115200).
  int baud() const { return m_baud; }
  // Every line setting the port took, in order (a refused text is not among them).
  const std::vector<std::string>& settingsLog() const { return m_settingsLog; }

 private:
  void deliver(std::string_view bytes);

  platform::Scheduler& m_scheduler;
  ModemEngine& m_modem;
  int m_commPort = 1;
  std::string m_settings = "9600,n,8,1";
  int m_baud = 9600;
  bool m_open = false;
  bool m_lost = false;
  std::string m_identity;
  std::string m_openedIdentity;
  bool m_eventPosted = false;
  platform::Handshaking m_handshaking = platform::Handshaking::None;
  std::string m_input;
  std::string m_written;
  std::set<int> m_missing;
  std::vector<std::string> m_settingsLog;
  std::function<void()> m_handler;
};

}  // namespace d7o::sim
