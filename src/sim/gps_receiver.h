#pragma once

#include "sim/gps_route.h"
#include "sim/gps_sky.h"
#include "sim/nmea_sentences.h"
#include "sim/sim_clock.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace d7o::sim {

// Where a receiver's vehicle starts, what its clock reads at power-on, and how long it
// needs for a fix.
struct GpsStart {
  double latitude = 0;
  double longitude = 0;
  std::uint32_t seed = 1;
  std::chrono::sys_seconds utc{};
  Millis acquisition{0};
};

// One device's GPS receiver on its own drive under its own sky. The local device has one,
// and so has the device at the far end of a data call.
class GpsReceiver {
 public:
  explicit GpsReceiver(Millis poweredOnAt)
      : m_poweredOnAt(poweredOnAt), m_acquiringSince(poweredOnAt) {}

  // What it reads at `now` (the modem's clock). The drive is laid out on first use, so a
  // scenario may still move the start after the modem is made.
  GpsReading read(Millis now, const GpsStart& start);
  // The receiver starts looking for satellites again at `at` (power-on, a restart).
  void startAcquiring(Millis at) { m_acquiringSince = at; }
  // How long from `now` until the first whole second of the receiver's clock that is at
  // least `notBefore` away: its sentences fall on whole seconds.
  Millis untilWholeSecond(Millis now, Millis notBefore) const;

 private:
  Millis m_poweredOnAt;
  Millis m_acquiringSince;
  std::optional<GpsRoute> m_route;
  std::optional<GpsSky> m_sky;
};

}  // namespace d7o::sim
