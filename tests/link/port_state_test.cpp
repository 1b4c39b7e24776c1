// What the port receives, told apart from the receive path's counters.
#include "link/port_state.h"

#include "sim/modem_engine.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::link {
namespace {

using platform::Millis;

TEST(PortState, BytesAreCountedWithTheirLineEndsAndUnprintables) {
  struct Case {
    std::string_view name;
    std::string chunk;
    ReceiveCounters expected;
  };
  const Case cases[] = {
      {"nothing", "", {}},
      {"a reply", "\r\nOK\r\n", {6, 2, 0, 0, 0}},
      {"tab and blanks are text", "a\tb c", {5, 0, 0, 0, 0}},
      {"control characters", std::string("\x01\x1a\x7f", 3), {3, 0, 3, 0, 0}},
      {"NUL", std::string(1, '\0'), {1, 0, 1, 0, 0}},
      {"high bytes", "\xE4\xFF", {2, 0, 2, 0, 0}},
      {"printable edges", " ~", {2, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReceiveCounters counters;
    countBytes(counters, c.chunk);
    EXPECT_EQ(counters, c.expected);
  }
}

TEST(PortState, RepliesAreCountedAsSentencesOrOthers) {
  struct Case {
    std::string_view name;
    std::string_view reply;
    std::uint64_t nmea;
    std::uint64_t other;
  };
  const Case cases[] = {
      {"GPS sentence", "$GPRMC,120000,A,4807.038,N  ", 1, 0},
      {"after a kept line end", "  $GPGGA,120000  ", 1, 0},
      {"maker's sentence", "$PSRF103,00  ", 1, 0},
      {"device's own answer", "$CNFOK  ", 0, 1},
      {"device's own error", "$ERROR  ", 0, 1},
      {"modem reply", "+CSQ: 17,99  ", 0, 1},
      {"a bare dollar", "$", 0, 1},
      {"blanks only", "   ", 0, 0},
      {"empty", "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReceiveCounters counters;
    countReply(counters, c.reply);
    EXPECT_EQ(counters.nmeaReplies, c.nmea);
    EXPECT_EQ(counters.otherReplies, c.other);
  }
}

TEST(PortState, ClassifierThresholds) {
  struct Case {
    std::string_view name;
    ReceiveCounters delta;  // bytes, line ends, unprintable, NMEA replies, other replies
    Millis span;
    PortReading expected;
  };
  using S = PortState;
  const Case cases[] = {
      {"nothing came", {}, Millis(3000), {S::NoData, 0}},
      {"no span yet", {100, 2, 0, 0, 2}, Millis(0), {S::NoData, 0}},
      {"a few replies", {60, 6, 0, 0, 3}, Millis(3000), {S::ModemReplies, 20}},
      {"a prompt without line end", {2, 0, 0, 0, 1}, Millis(3000), {S::ModemReplies, 1}},
      {"a short text without line end", {300, 0, 0, 0, 0}, Millis(3000), {S::ModemReplies, 100}},
      {"lines too long to be a modem's", {512, 0, 0, 0, 0}, Millis(3000), {S::Noise, 171}},
      {"one line end in 1024 bytes", {1024, 1, 0, 0, 1}, Millis(3000), {S::Noise, 341}},
      {"one line end in 1023 bytes", {1023, 1, 0, 0, 1}, Millis(3000), {S::ModemReplies, 341}},
      {"a quarter unprintable", {400, 8, 100, 0, 8}, Millis(3000), {S::ModemReplies, 133}},
      {"over a quarter unprintable", {400, 8, 101, 0, 8}, Millis(3000), {S::Noise, 133}},
      {"few unprintable bytes are no noise",
       {31, 0, 31, 0, 0},
       Millis(3000),
       {S::ModemReplies, 10}},
      {"noise from the smallest amount", {32, 0, 32, 0, 0}, Millis(3000), {S::Noise, 11}},
      {"sentences only", {3135, 45, 0, 45, 0}, Millis(3000), {S::NmeaStream, 1045}},
      {"sentences as many as replies", {400, 6, 0, 3, 3}, Millis(3000), {S::NmeaStream, 133}},
      {"replies outnumber sentences", {400, 7, 0, 3, 4}, Millis(3000), {S::ModemReplies, 133}},
      {"sentences at the wrong rate", {3135, 0, 3135, 0, 0}, Millis(3000), {S::Noise, 1045}},
      {"rate rounded", {5, 1, 0, 0, 1}, Millis(3000), {S::ModemReplies, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(classifyPort(c.delta, c.span), c.expected);
  }
}

TEST(PortState, TextsNameTheStateAndTheRate) {
  EXPECT_EQ(portStateText({PortState::NoData, 0}), "no data");
  EXPECT_EQ(portStateText({PortState::Noise, 960}), "noise, 960 B/s");
  EXPECT_EQ(portStateText({PortState::ModemReplies, 12}), "modem replies, 12 B/s");
  EXPECT_EQ(portStateText({PortState::NmeaStream, 1045}), "NMEA stream, 1045 B/s");
}

TEST(PortState, WrongRateGarbleIsNoise) {
  ReceiveCounters counters;
  countBytes(counters, sim::ModemEngine::garble("$GPRMC,120000,A,4807.038,N,01131.000,E*6A\r\n"));
  EXPECT_EQ(classifyPort(counters, Millis(1000)).state, PortState::Noise);
}

TEST(PortState, TheWindowCoversTheLastThreeSecondsSampledOnceASecond) {
  PortStateWindow window;
  ReceiveCounters counters;
  EXPECT_TRUE(window.sample(Millis(0), counters));
  EXPECT_EQ(window.reading(), PortReading{}) << "one sample tells nothing yet";
  EXPECT_FALSE(window.sample(Millis(999), counters)) << "not due yet";

  counters.bytes = 300;
  counters.lineEnds = 30;
  counters.otherReplies = 30;
  EXPECT_TRUE(window.sample(Millis(1000), counters));
  EXPECT_EQ(window.reading(), (PortReading{PortState::ModemReplies, 300}));
  window.sample(Millis(2000), counters);
  window.sample(Millis(3000), counters);
  EXPECT_EQ(window.reading(), (PortReading{PortState::ModemReplies, 100}));
  window.sample(Millis(4000), counters);
  EXPECT_EQ(window.reading(), PortReading{}) << "the replies were more than three seconds ago";
}

}  // namespace
}  // namespace d7o::link
