#pragma once

#include "forms/trend_plot.h"
#include "link/modem_replies.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace d7o::link {

// One reading: the field strength of a "+CSQ:" reply, or the registration state of a
// "+CREG:" reply. 16 bytes, so a day of readings every 2 seconds takes under 1 MB.
struct SignalReading {
  static constexpr std::int8_t kNone = -1;

  std::int64_t utcMillis = 0;
  std::int8_t rssi = kNone;          // 0..31, 99 not detectable; kNone: a registration
  std::int8_t ber = kNone;           // 0..7; kNone: unknown (99) or a registration
  std::int8_t registration = kNone;  // the +CREG state; kNone: a field-strength reading

  bool isQuality() const { return rssi != kNone; }
};

// Min, mean and max of the field strength over a span, in dBm, of the readings the modem
// could measure (RSSI 99 is none).
struct SpanSummary {
  int readings = 0;  // measured readings in the span
  int notDetectable = 0;
  int minDbm = 0;
  int maxDbm = 0;
  double meanDbm = 0;
};

using forms::RegistrationStretch;
using forms::TrendPoint;

// The readings of the field strength and the registration as the program received them,
// oldest first, with what the signal window shows of them.
class SignalTrend {
 public:
  // A week of readings every 2 seconds (5 MB); older readings go first.
  static constexpr std::size_t kMaxReadings = 7 * 24 * 1800;
  // The value plotted for "not detectable" (RSSI 99): below the lowest the modem reports.
  static constexpr double kNotDetectableDbm = -115;

  void addQuality(std::int64_t utcMillis, const SignalQuality& quality);
  void addRegistration(std::int64_t utcMillis, int state);
  void clear();

  const std::deque<SignalReading>& readings() const { return m_readings; }
  // The newest field-strength reading, and the registration state last reported.
  std::optional<SignalReading> lastQuality() const { return m_lastQuality; }
  std::optional<int> lastRegistration() const { return m_lastRegistration; }
  // Changes with every reading added and with clear().
  std::uint64_t revision() const { return m_revision; }

  SpanSummary summary(std::int64_t fromUtc, std::int64_t toUtc) const;
  // The dBm line over [fromUtc, toUtc], at most 2 * `slots` points.
  std::vector<TrendPoint> dbmLine(std::int64_t fromUtc, std::int64_t toUtc, int slots) const;
  // The bit error rate where the modem gave one, likewise.
  std::vector<TrendPoint> berLine(std::int64_t fromUtc, std::int64_t toUtc, int slots) const;
  // The registration over [fromUtc, toUtc]: from each report to the next (the last to
  // `toUtc`); a state before the first report in the span carries over from before it.
  std::vector<RegistrationStretch> registration(std::int64_t fromUtc, std::int64_t toUtc) const;

  // "time,rssi,dbm,ber,registration", one row per reading, UTC times.
  std::string csv() const;

 private:
  void add(const SignalReading& reading);
  std::deque<SignalReading>::const_iterator firstAt(std::int64_t utcMillis) const;
  template <typename Value>
  std::vector<TrendPoint> line(std::int64_t fromUtc, std::int64_t toUtc, int slots,
                               Value value) const;

  std::deque<SignalReading> m_readings;
  std::optional<SignalReading> m_lastQuality;
  std::optional<int> m_lastRegistration;
  std::uint64_t m_revision = 0;
};

}  // namespace d7o::link
