// The device's GPS receiver: what it reads each second, and the sentences it sends once a
// second while streaming.
#include "sim/modem_engine.h"
#include "sim/nmea_sentences.h"

#include <algorithm>
#include <chrono>

namespace d7o::sim {

namespace {
constexpr long long kSecond = 1000;
}  // namespace

bool ModemEngine::gpsStreaming() const {
  return m_config.nmeaFromPowerOn || m_device.intervalRequested;
}

void ModemEngine::noticePower() {
  if (!m_config.powered) {
    m_gpsWasOff = true;
    m_device.intervalRequested = false;
  } else if (m_gpsWasOff) {
    m_gpsWasOff = false;
    m_gpsAcquiringSince = m_clock.now();
  }
}

GpsReading ModemEngine::gpsReading() {
  noticePower();
  if (!m_route) m_route.emplace(m_config.gpsLatitude, m_config.gpsLongitude, m_config.gpsSeed);
  if (!m_sky) m_sky.emplace(m_config.gpsSeed);
  const Millis now = m_clock.now();
  const long long second = std::max(0LL, (now - m_powerOnAt).count() / kSecond);
  GpsReading r;
  r.utc = m_config.gpsStartUtc + std::chrono::seconds(second);
  r.vehicle = m_route->at(second);
  r.sky = m_sky->inView(second);
  // Four satellites at least, or there is no position to give.
  r.fix =
      now - m_gpsAcquiringSince >= m_config.gpsAcquisition && satellitesInUse(r.sky).size() >= 4;
  return r;
}

// Ticks fall on the whole seconds of the receiver's clock, whenever the stream was asked
// for; one chain of ticks at most, which ends itself once nothing asks for output.
void ModemEngine::startGpsStream(Millis notBefore) {
  if (m_gpsTicking) return;
  m_gpsTicking = true;
  const long long from = (m_clock.now() + notBefore - m_powerOnAt).count();
  const long long next = (std::max(0LL, from) / kSecond + 1) * kSecond;
  m_clock.after(m_powerOnAt + Millis(next) - m_clock.now(), [this] { gpsTick(); });
}

void ModemEngine::gpsTick() {
  noticePower();
  if (!gpsStreaming()) {
    m_gpsTicking = false;
    return;
  }
  if (m_config.powered && !m_restarting) {
    std::string sentences = nmeaSecond(gpsReading(), m_device.gpsSentences);
    if (!sentences.empty()) emitLater(std::move(sentences), Millis(0));
  }
  m_clock.after(Millis(kSecond), [this] { gpsTick(); });
}

}  // namespace d7o::sim
