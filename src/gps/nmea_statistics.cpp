#include "gps/nmea_statistics.h"

#include "gps/nmea_checksum.h"

#include <algorithm>

namespace d7o::gps {

namespace {

constexpr std::int64_t kWindow = NmeaStatistics::kRateWindowSeconds;

// Whole seconds of a clock that starts anywhere, also before 0.
std::int64_t secondOf(std::chrono::milliseconds t) {
  const std::int64_t ms = t.count();
  return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

std::size_t slotOf(std::int64_t second) {
  const std::int64_t slot = second % kWindow;
  return static_cast<std::size_t>(slot < 0 ? slot + kWindow : slot);
}

std::size_t leadingBlanks(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] == ' ') ++n;
  return n;
}

}  // namespace

SentenceType sentenceTypeOf(std::string_view sentence) {
  // "$GPGGA," : the talker GP and the type in characters 3 to 5, the comma at 6.
  if (sentence.size() < 7 || sentence[6] != ',' || sentence[1] != 'G' || sentence[2] != 'P') {
    return SentenceType::Other;
  }
  const char a = sentence[3], b = sentence[4], c = sentence[5];
  if (a == 'G' && b == 'G' && c == 'A') return SentenceType::Gga;
  if (a == 'R' && b == 'M' && c == 'C') return SentenceType::Rmc;
  if (a == 'G' && b == 'S' && c == 'A') return SentenceType::Gsa;
  if (a == 'G' && b == 'S' && c == 'V') return SentenceType::Gsv;
  return SentenceType::Other;
}

void NmeaStatistics::countReply(std::string_view reply, Millis now) {
  const std::size_t head = leadingBlanks(reply);
  const std::size_t counted = std::min(head, m_carriedBlanks);
  m_carriedBlanks = head == reply.size() ? reply.size() : 0;
  std::string_view line = reply.substr(head);
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  countLine(line, reply.size() - counted, now);
}

void NmeaStatistics::countLine(std::string_view line, std::uint64_t bytes, Millis now) {
  if (!m_since) m_since = now;
  m_bytes += bytes;
  if (line.empty()) return;
  const SentenceCheck check = checkSentence(line);
  if (check == SentenceCheck::NoNmea) {
    ++m_noNmea;
    return;
  }
  if (check == SentenceCheck::NoChecksum) ++m_withoutChecksum;
  const std::int64_t second = secondOf(now);
  advanceTo(second);
  Row& r = m_rows[static_cast<std::size_t>(sentenceTypeOf(line))];
  ++r.count;
  if (check == SentenceCheck::BadChecksum) ++r.bad;
  r.last = now;
  ++r.perSecond[slotOf(second)];
}

void NmeaStatistics::advanceTo(std::int64_t second) {
  if (second <= m_newestSecond) return;
  const std::int64_t passed = std::min(second - m_newestSecond, kWindow);
  for (std::int64_t s = second - passed + 1; s <= second; ++s) {
    for (Row& r : m_rows) r.perSecond[slotOf(s)] = 0;
  }
  m_newestSecond = second;
}

void NmeaStatistics::reset(Millis now) {
  *this = NmeaStatistics{};
  m_since = now;
  m_newestSecond = secondOf(now);
}

double NmeaStatistics::perSecond(SentenceType type, Millis now) const {
  if (!m_since) return 0.0;
  const std::int64_t nowSecond = secondOf(now);
  // The whole seconds of the window that the ring still holds.
  const std::int64_t first = std::max(nowSecond - kWindow + 1, m_newestSecond - kWindow + 1);
  std::uint64_t sum = 0;
  for (std::int64_t s = first; s <= std::min(nowSecond, m_newestSecond); ++s) {
    sum += row(type).perSecond[slotOf(s)];
  }
  // Over the time the window covers, but not before counting began, and at least a
  // second, so the first sentence does not read as hundreds a second.
  const std::int64_t windowStart = (nowSecond - kWindow + 1) * 1000;
  const std::int64_t span = now.count() - std::max(windowStart, m_since->count());
  return static_cast<double>(sum) * 1000.0 /
         static_cast<double>(std::max<std::int64_t>(span, 1000));
}

std::optional<NmeaStatistics::Millis> NmeaStatistics::age(SentenceType type, Millis now) const {
  const Row& r = row(type);
  if (r.count == 0) return std::nullopt;
  return std::max(now - r.last, Millis(0));
}

std::uint64_t NmeaStatistics::badChecksums() const {
  std::uint64_t sum = 0;
  for (const Row& r : m_rows) sum += r.bad;
  return sum;
}

}  // namespace d7o::gps
