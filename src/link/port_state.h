#pragma once

#include "platform/scheduler.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace d7o::link {

// What the receive path has taken from the port since the program started. Counted as the
// bytes are read and as replies complete, so a glance at the port never reads it twice.
struct ReceiveCounters {
  std::uint64_t bytes = 0;
  std::uint64_t lineEnds = 0;      // line feeds
  std::uint64_t nonPrintable = 0;  // neither printable ASCII nor CR, LF, TAB
  std::uint64_t nmeaReplies = 0;   // complete replies that are NMEA sentences ("$GPRMC,...")
  std::uint64_t otherReplies = 0;  // every other complete reply with more than blanks

  ReceiveCounters operator-(const ReceiveCounters& earlier) const;
  bool operator==(const ReceiveCounters&) const = default;
};

// Adds a chunk read from the port: one pass over its bytes, no allocation.
void countBytes(ReceiveCounters& counters, std::string_view chunk);
// Adds a complete reply (line ends already blanked): "  $GPGGA,..." is an NMEA sentence,
// as is "$PSRF..."; "$CNFOK" is the device's own answer; "  " is no reply at all.
void countReply(ReceiveCounters& counters, std::string_view reply);

enum class PortState { NoData, Noise, ModemReplies, NmeaStream };

struct PortReading {
  PortState state = PortState::NoData;
  int bytesPerSecond = 0;
  bool operator==(const PortReading&) const = default;
};

// Fewer bytes than this in the window never count as noise: a prompt "> " or the head of
// a reply still coming.
inline constexpr std::uint64_t kNoiseMinBytes = 32;
// Lines longer than this on average are no modem's: a wrong baud rate loses the line ends.
inline constexpr std::uint64_t kLongestLine = 512;

// The state of the port from what arrived over `span`: noise when over a quarter of the
// bytes are not printable or the lines are far too long, an NMEA stream when sentences are
// at least half the replies, modem replies for anything else that came.
PortReading classifyPort(const ReceiveCounters& delta, platform::Millis span);

// "no data", "noise, 960 B/s", "modem replies, 12 B/s", "NMEA stream, 1045 B/s".
std::string portStateText(const PortReading& reading);

// The counters sampled once a second; the reading covers the last few seconds.
class PortStateWindow {
 public:
  static constexpr platform::Millis kSpan{3000};
  static constexpr platform::Millis kSampleEvery{1000};

  // Takes a sample when one is due at `now`; true when it did.
  bool sample(platform::Millis now, const ReceiveCounters& counters);
  PortReading reading() const;

 private:
  struct Sample {
    platform::Millis at;
    ReceiveCounters counters;
  };
  std::deque<Sample> m_samples;  // oldest first, spanning at most kSpan
};

}  // namespace d7o::link
