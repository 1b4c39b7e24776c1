#include "link/signal_trend.h"

#include "app/text.h"

#include <algorithm>
#include <limits>

namespace d7o::link {

void SignalTrend::add(const SignalReading& reading) {
  // The times come from one monotonic clock; a reading never goes before the last one.
  SignalReading r = reading;
  if (!m_readings.empty()) r.utcMillis = std::max(r.utcMillis, m_readings.back().utcMillis);
  if (m_readings.size() >= kMaxReadings) m_readings.pop_front();
  m_readings.push_back(r);
  ++m_revision;
}

void SignalTrend::addQuality(std::int64_t utcMillis, const SignalQuality& quality) {
  SignalReading r;
  r.utcMillis = utcMillis;
  r.rssi = static_cast<std::int8_t>(quality.rssi);
  if (quality.ber != 99) r.ber = static_cast<std::int8_t>(quality.ber);
  add(r);
  m_lastQuality = m_readings.back();
}

void SignalTrend::addRegistration(std::int64_t utcMillis, int state) {
  SignalReading r;
  r.utcMillis = utcMillis;
  r.registration = static_cast<std::int8_t>(state);
  add(r);
  m_lastRegistration = state;
}

void SignalTrend::clear() {
  m_readings.clear();
  m_lastQuality.reset();
  // The modem stays registered as it last said, readings or not.
  ++m_revision;
}

std::deque<SignalReading>::const_iterator SignalTrend::firstAt(std::int64_t utcMillis) const {
  return std::lower_bound(m_readings.begin(), m_readings.end(), utcMillis,
                          [](const SignalReading& r, std::int64_t t) { return r.utcMillis < t; });
}

SpanSummary SignalTrend::summary(std::int64_t fromUtc, std::int64_t toUtc) const {
  SpanSummary s;
  double sum = 0;
  for (auto it = firstAt(fromUtc); it != m_readings.end() && it->utcMillis <= toUtc; ++it) {
    if (!it->isQuality()) continue;
    if (it->rssi == 99) {
      ++s.notDetectable;
      continue;
    }
    const int dbm = dbmOfRssi(it->rssi);
    if (s.readings == 0 || dbm < s.minDbm) s.minDbm = dbm;
    if (s.readings == 0 || dbm > s.maxDbm) s.maxDbm = dbm;
    sum += dbm;
    ++s.readings;
  }
  if (s.readings > 0) s.meanDbm = sum / s.readings;
  return s;
}

// Up to `slots` equal slots over the span; a slot with one reading gives it, a slot with
// several its lowest and highest, in the order they came.
template <typename Value>
std::vector<TrendPoint> SignalTrend::line(std::int64_t fromUtc, std::int64_t toUtc, int slots,
                                          Value value) const {
  std::vector<TrendPoint> points;
  if (toUtc < fromUtc || slots < 1) return points;
  const std::int64_t width = std::max<std::int64_t>(1, (toUtc - fromUtc) / slots + 1);
  std::int64_t slot = std::numeric_limits<std::int64_t>::min();
  TrendPoint low, high;
  int inSlot = 0;
  const auto flush = [&] {
    if (inSlot == 0) return;
    if (inSlot == 1 || low == high) {
      points.push_back(low);
    } else if (low.utcMillis <= high.utcMillis) {
      points.push_back(low);
      points.push_back(high);
    } else {
      points.push_back(high);
      points.push_back(low);
    }
    inSlot = 0;
  };
  for (auto it = firstAt(fromUtc); it != m_readings.end() && it->utcMillis <= toUtc; ++it) {
    const std::optional<double> v = value(*it);
    if (!v) continue;
    const TrendPoint p{it->utcMillis, *v};
    const std::int64_t s = (it->utcMillis - fromUtc) / width;
    if (s != slot) {
      flush();
      slot = s;
    }
    if (inSlot == 0 || p.value < low.value) low = p;
    if (inSlot == 0 || p.value > high.value) high = p;
    ++inSlot;
  }
  flush();
  return points;
}

std::vector<TrendPoint> SignalTrend::dbmLine(std::int64_t fromUtc, std::int64_t toUtc,
                                             int slots) const {
  return line(fromUtc, toUtc, slots, [](const SignalReading& r) -> std::optional<double> {
    if (!r.isQuality()) return std::nullopt;
    return r.rssi == 99 ? kNotDetectableDbm : double(dbmOfRssi(r.rssi));
  });
}

std::vector<TrendPoint> SignalTrend::berLine(std::int64_t fromUtc, std::int64_t toUtc,
                                             int slots) const {
  return line(fromUtc, toUtc, slots, [](const SignalReading& r) -> std::optional<double> {
    if (!r.isQuality() || r.ber == SignalReading::kNone) return std::nullopt;
    return double(r.ber);
  });
}

std::vector<RegistrationStretch> SignalTrend::registration(std::int64_t fromUtc,
                                                           std::int64_t toUtc) const {
  std::vector<RegistrationStretch> stretches;
  if (toUtc < fromUtc) return stretches;
  const auto first = firstAt(fromUtc);
  // The state the span opens with: the last report before it.
  for (auto it = first; it != m_readings.begin();) {
    --it;
    if (it->registration != SignalReading::kNone) {
      stretches.push_back({fromUtc, fromUtc, it->registration});
      break;
    }
  }
  for (auto it = first; it != m_readings.end() && it->utcMillis <= toUtc; ++it) {
    if (it->registration == SignalReading::kNone) continue;
    if (!stretches.empty()) {
      stretches.back().toUtc = it->utcMillis;
      if (stretches.back().state == it->registration) continue;
    }
    stretches.push_back({it->utcMillis, it->utcMillis, it->registration});
  }
  if (!stretches.empty()) stretches.back().toUtc = toUtc;
  return stretches;
}

std::string SignalTrend::csv() const {
  std::string out(kSignalCsvHeader);
  out.reserve(out.size() + m_readings.size() * 36);
  for (const SignalReading& r : m_readings) {
    out += app::utcText(r.utcMillis);
    std::optional<SignalQuality> quality;
    std::optional<int> registration;
    if (r.isQuality()) {
      quality = SignalQuality{r.rssi, r.ber == SignalReading::kNone ? 99 : r.ber};
    } else {
      registration = r.registration;
    }
    appendSignalCsvFields(out, quality, registration);
  }
  return out;
}

}  // namespace d7o::link
