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
    endDataCall("the modem is off", false);
  } else if (m_gpsWasOff) {
    m_gpsWasOff = false;
    m_receiver.startAcquiring(m_clock.now());
  }
}

GpsReading ModemEngine::gpsReading() {
  noticePower();
  return m_receiver.read(m_clock.now(),
                         GpsStart{m_config.gpsLatitude, m_config.gpsLongitude, m_config.gpsSeed,
                                  m_config.gpsStartUtc, m_config.gpsAcquisition});
}

// Ticks fall on the whole seconds of the receiver's clock, whenever the stream was asked
// for; one chain of ticks at most, which ends itself once nothing asks for output.
void ModemEngine::startGpsStream(Millis notBefore) {
  if (m_gpsTicking) return;
  m_gpsTicking = true;
  m_clock.after(m_receiver.untilWholeSecond(m_clock.now(), notBefore), [this] { gpsTick(); });
}

void ModemEngine::gpsTick() {
  noticePower();
  if (!gpsStreaming()) {
    m_gpsTicking = false;
    return;
  }
  // While a data call is up the line belongs to the connection: the device's own
  // sentences stay off it.
  if (m_config.powered && !m_restarting && m_dataCall != DataCallState::Connected) {
    std::string sentences = nmeaSecond(gpsReading(), m_device.gpsSentences);
    if (!sentences.empty()) emitLater(std::move(sentences), Millis(0));
  }
  m_clock.after(Millis(kSecond), [this] { gpsTick(); });
}

}  // namespace d7o::sim
