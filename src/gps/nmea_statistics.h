#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace d7o::gps {

// The rows of the statistics: the four sentences the analyzer evaluates, and every other
// NMEA sentence (GLL, VTG, a proprietary "$P...", another talker's "$GNGGA").
enum class SentenceType { Gga, Rmc, Gsa, Gsv, Other };
inline constexpr std::size_t kSentenceTypes = 5;

// "$GPGGA,..." -> Gga, "$GPGSV,..." -> Gsv, "$GPVTG,..." / "$PSRF,..." / "$GNGGA,..." -> Other.
// Only for a line that is a sentence (see checkSentence).
SentenceType sentenceTypeOf(std::string_view sentence);

// How clean the GPS stream is: per sentence type how many came, how many a second
// lately, how many with a wrong checksum and when the last one came; in all, the bytes
// received, the sentences without a checksum and the lines that are no NMEA.
//
// It counts every line of a 115200-baud stream, so counting a line allocates nothing and
// classifies it by a few character compares and the checksum's one pass.
class NmeaStatistics {
 public:
  using Millis = std::chrono::milliseconds;
  // The rate is over the last this many seconds (fewer right after a start or reset).
  static constexpr int kRateWindowSeconds = 10;

  // One complete reply of the receive path in GPS receive mode, its line end already
  // blanked: its bytes count, and its text without the blanks at its ends as a line. A bare
  // line end stays in the receive buffer as the head of the next reply; its blanks are not
  // counted twice.
  void countReply(std::string_view reply, Millis now);
  // One line as it stood in a log (without its line end), `bytes` what it took on the
  // line. An empty line counts bytes only.
  void countLine(std::string_view line, std::uint64_t bytes, Millis now);
  // Starts counting afresh at `now`.
  void reset(Millis now);

  std::uint64_t count(SentenceType type) const { return row(type).count; }
  std::uint64_t badChecksums(SentenceType type) const { return row(type).bad; }
  // Sentences a second over the rate window up to `now`.
  double perSecond(SentenceType type, Millis now) const;
  // Time since the last sentence of the type; none before the first.
  std::optional<Millis> age(SentenceType type, Millis now) const;

  std::uint64_t bytes() const { return m_bytes; }
  std::uint64_t withoutChecksum() const { return m_withoutChecksum; }
  std::uint64_t noNmea() const { return m_noNmea; }
  std::uint64_t badChecksums() const;

 private:
  struct Row {
    std::uint64_t count = 0;
    std::uint64_t bad = 0;
    Millis last{0};
    // Sentences per whole second, a ring over the rate window; slot s % window holds
    // second s while it lies in the window that ends at m_newestSecond.
    std::array<std::uint32_t, kRateWindowSeconds> perSecond{};
  };

  const Row& row(SentenceType type) const { return m_rows[static_cast<std::size_t>(type)]; }
  // Moves the ring on to `second`, emptying the seconds it passes.
  void advanceTo(std::int64_t second);

  std::array<Row, kSentenceTypes> m_rows{};
  std::uint64_t m_bytes = 0;
  std::uint64_t m_withoutChecksum = 0;
  std::uint64_t m_noNmea = 0;
  std::int64_t m_newestSecond = 0;
  // When counting began (the first line, or a reset): the rate never spans time before it.
  std::optional<Millis> m_since;
  std::size_t m_carriedBlanks = 0;
};

}  // namespace d7o::gps
