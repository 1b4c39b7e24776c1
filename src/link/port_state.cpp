#include "link/port_state.h"

namespace d7o::link {

ReceiveCounters ReceiveCounters::operator-(const ReceiveCounters& earlier) const {
  return {bytes - earlier.bytes, lineEnds - earlier.lineEnds, nonPrintable - earlier.nonPrintable,
          nmeaReplies - earlier.nmeaReplies, otherReplies - earlier.otherReplies};
}

void countBytes(ReceiveCounters& counters, std::string_view chunk) {
  std::uint64_t lineEnds = 0;
  std::uint64_t nonPrintable = 0;
  for (const char ch : chunk) {
    const auto c = static_cast<unsigned char>(ch);
    lineEnds += c == '\n';
    nonPrintable += (c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c > 0x7E;
  }
  counters.bytes += chunk.size();
  counters.lineEnds += lineEnds;
  counters.nonPrintable += nonPrintable;
}

void countReply(ReceiveCounters& counters, std::string_view reply) {
  const std::size_t start = reply.find_first_not_of(' ');
  if (start == std::string_view::npos) return;
  const std::string_view text = reply.substr(start);
  const bool nmea = text.size() > 2 && text[0] == '$' && (text[1] == 'G' || text[1] == 'P');
  ++(nmea ? counters.nmeaReplies : counters.otherReplies);
}

PortReading classifyPort(const ReceiveCounters& delta, platform::Millis span) {
  if (delta.bytes == 0 || span.count() <= 0) return {};
  const auto rate =
      static_cast<int>((delta.bytes * 1000 + static_cast<std::uint64_t>(span.count()) / 2) /
                       static_cast<std::uint64_t>(span.count()));
  const bool garbled = delta.bytes >= kNoiseMinBytes && delta.nonPrintable * 4 > delta.bytes;
  const bool endless = delta.bytes >= kLongestLine * (delta.lineEnds + 1);
  if (garbled || endless) return {PortState::Noise, rate};
  if (delta.nmeaReplies > 0 && delta.nmeaReplies >= delta.otherReplies) {
    return {PortState::NmeaStream, rate};
  }
  return {PortState::ModemReplies, rate};
}

std::string portStateText(const PortReading& reading) {
  const char* name = "no data";
  switch (reading.state) {
    case PortState::NoData:
      return name;
    case PortState::Noise:
      name = "noise";
      break;
    case PortState::ModemReplies:
      name = "modem replies";
      break;
    case PortState::NmeaStream:
      name = "NMEA stream";
      break;
  }
  return std::string(name) + ", " + std::to_string(reading.bytesPerSecond) + " B/s";
}

bool PortStateWindow::sample(platform::Millis now, const ReceiveCounters& counters) {
  if (!m_samples.empty() && now - m_samples.back().at < kSampleEvery) return false;
  m_samples.push_back({now, counters});
  // The oldest sample kept is the one kSpan back, so the reading covers the whole span.
  while (m_samples.size() > 2 && now - m_samples[1].at >= kSpan) m_samples.pop_front();
  return true;
}

PortReading PortStateWindow::reading() const {
  if (m_samples.size() < 2) return {};
  const Sample& first = m_samples.front();
  const Sample& last = m_samples.back();
  return classifyPort(last.counters - first.counters, last.at - first.at);
}

}  // namespace d7o::link
