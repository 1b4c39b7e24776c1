#pragma once

#include "sim/sim_clock.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// The device clock as "&CNF TIME" set it, and when (on the modem's clock) that was.
struct DeviceClock {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int day = 1;
  int month = 1;
  int year = 2000;
  Millis setAt{0};
};

// Where messages go ("&CNF MSG"): kind S, D or G, the number, the sender name (empty: none)
// and the interval.
struct MessageTarget {
  char kind = 'S';
  std::string number;
  std::string source;
  int interval = 0;
};

// One alarm input ("&CNF KEY"): kind S, D, V, G or none ('\0'), edge L, H or E, and whether
// the GPS position is appended.
struct AlarmKey {
  char kind = '\0';
  std::string number;
  std::string text;
  char edge = 'L';
  bool position = false;
};

// The output port ("&CNF PORT"): mode E on, A off, I one impulse, Z cycled.
struct PortTiming {
  char mode = 'A';
  int time1 = 10;
  int time2 = 10;
};

// What the alarm/GPS firmware keeps; it survives a restart, as the device stores it.
struct DeviceState {
  std::optional<DeviceClock> clock;
  std::string modeLetters;  // a subset of D, V, C, G in that order
  int startCounter = 0;
  std::optional<MessageTarget> message;
  // The NMEA sentences the device sends, and the figure that follows the list.
  std::vector<std::string> gpsSentences{"GPGGA", "GPGSV", "GPRMC", "GPGSA"};
  int gpsRate = 100;
  int ignitionMinutes = 0;  // -1: the ignition is ignored
  std::string password;
  std::array<std::optional<AlarmKey>, 3> keys;
  std::optional<PortTiming> port;
  int positionRequests = 0;
  bool intervalRequested = false;
  int failureClears = 0;
  // Alarms the device could not pass on (no network, no centre); "&CLR FAIL" drops them.
  int failedAlarms = 0;
};

// What the device did when an alarm input changed (ModemEngine::inputEdge).
struct AlarmReport {
  int input = 0;     // 1..3
  char kind = '\0';  // S, D, V, G of its KEY line
  std::string number;
  std::string text;       // the alarm text, the position appended where the KEY line asks for it
  bool passedOn = false;  // an SMS the network took; a call or a GPS report is not made here
};

// The firmware's answer to one of its "&" lines, and whether the device restarts after it.
struct DeviceAnswer {
  std::vector<std::string> lines;  // unframed
  bool restart = false;
};

// Runs one "&" line (as typed: keywords in any case, quoted texts and passwords kept as
// they are) against the device state. `now` is the modem's clock, for the device clock.
DeviceAnswer runDeviceLine(DeviceState& state, std::string_view line, std::string_view firmware,
                           Millis now);

// The "$CNF ..." lines of "&REQ CNF": the settings in the form they are set, the clock as
// it reads at `now`. The password is never reported.
std::vector<std::string> describeDevice(const DeviceState& state, Millis now);

}  // namespace d7o::sim
