#include "sim/gps_receiver.h"

#include <algorithm>

namespace d7o::sim {

namespace {
constexpr long long kSecond = 1000;
}  // namespace

GpsReading GpsReceiver::read(Millis now, const GpsStart& start) {
  if (!m_route) m_route.emplace(start.latitude, start.longitude, start.seed);
  if (!m_sky) m_sky.emplace(start.seed);
  const long long second = std::max(0LL, (now - m_poweredOnAt).count() / kSecond);
  GpsReading r;
  r.utc = start.utc + std::chrono::seconds(second);
  r.vehicle = m_route->at(second);
  r.sky = m_sky->inView(second);
  // Four satellites at least, or there is no position to give.
  r.fix = now - m_acquiringSince >= start.acquisition && satellitesInUse(r.sky).size() >= 4;
  return r;
}

Millis GpsReceiver::untilWholeSecond(Millis now, Millis notBefore) const {
  const long long from = (now + notBefore - m_poweredOnAt).count();
  const long long next = (std::max(0LL, from) / kSecond + 1) * kSecond;
  return m_poweredOnAt + Millis(next) - now;
}

}  // namespace d7o::sim
