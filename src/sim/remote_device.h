#pragma once

#include "sim/device_firmware.h"
#include "sim/gps_receiver.h"
#include "sim/sim_clock.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// What the device at the far end of a data call is: its own R7O-3 firmware, its own
// vehicle and receiver.
struct RemoteDeviceSettings {
  std::string firmware;
  GpsStart gps;
  Millis answerDelay{30};
};

// The R7O-3 Alarm/GPS device a data call reaches. Behind its own modem in online data mode
// it takes whatever comes over the link as its own lines, ended by CR, answers them as the
// local device answers its "&" lines (without an echo: its modem is online), and streams
// its NMEA sentences once a second after "&REQ INT". Its settings stay with it from one
// call to the next; the stream and a half line end with the call.
class RemoteDevice {
 public:
  // Bytes from the device onto the link, towards the caller.
  using Send = std::function<void(std::string bytes)>;

  RemoteDevice(SimClock& clock, Millis poweredOnAt) : m_clock(clock), m_receiver(poweredOnAt) {}

  // A call reached the device. `restarting` runs when "&RESET" restarts it, which takes
  // its modem and so the call down with it.
  void connect(const RemoteDeviceSettings& settings, Send send, std::function<void()> restarting);
  // The call ended.
  void disconnect();
  bool connected() const { return m_connected; }

  // Bytes that came over the link.
  void receive(std::string_view bytes);

  const DeviceState& state() const { return m_state; }
  DeviceState& state() { return m_state; }
  // The lines it took, in order, over all calls.
  const std::vector<std::string>& lines() const { return m_lines; }
  GpsReading reading();

 private:
  void handleLine(const std::string& line);
  void startStream(Millis notBefore);
  void tick(unsigned session);

  SimClock& m_clock;
  GpsReceiver m_receiver;
  DeviceState m_state;
  RemoteDeviceSettings m_settings;
  Send m_send;
  std::function<void()> m_restarting;
  bool m_connected = false;
  unsigned m_session = 0;  // changes with each call and its end, so stale timers do nothing
  bool m_ticking = false;
  std::string m_line;
  std::vector<std::string> m_lines;
};

}  // namespace d7o::sim
