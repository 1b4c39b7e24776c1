#include "link/signal_trend.h"

#include "capture/capture_export.h"

#include <gtest/gtest.h>
#include <sstream>

namespace d7o::link {
namespace {

constexpr std::int64_t kStart = 1'796'810'400'000;  // 2026-12-09T10:00:00Z
constexpr std::int64_t kSecond = 1000;

SignalTrend trendOf(std::initializer_list<std::pair<int, SignalQuality>> readings) {
  SignalTrend t;
  for (const auto& [second, q] : readings) t.addQuality(kStart + second * kSecond, q);
  return t;
}

TEST(SignalTrend, SummarisesTheMeasuredReadingsOfASpan) {
  const SignalTrend t = trendOf(
      {{0, {10, 99}}, {2, {17, 0}}, {4, {99, 99}}, {6, {31, 99}}, {8, {0, 7}}, {100, {20, 99}}});
  struct Case {
    int from, to;
    SpanSummary expected;
  };
  const Case cases[] = {
      {0, 8, {4, 1, -113, -51, (-93 - 79 - 51 - 113) / 4.0}},
      {1, 6, {2, 1, -79, -51, -65}},
      {3, 5, {0, 1, 0, 0, 0}},
      {9, 99, {0, 0, 0, 0, 0}},
      {100, 100, {1, 0, -73, -73, -73}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    const SpanSummary s = t.summary(kStart + c.from * kSecond, kStart + c.to * kSecond);
    EXPECT_EQ(s.readings, c.expected.readings);
    EXPECT_EQ(s.notDetectable, c.expected.notDetectable);
    EXPECT_EQ(s.minDbm, c.expected.minDbm);
    EXPECT_EQ(s.maxDbm, c.expected.maxDbm);
    EXPECT_DOUBLE_EQ(s.meanDbm, c.expected.meanDbm);
  }
}

TEST(SignalTrend, ALineDenserThanThePlotKeepsEverySlotsLowAndHigh) {
  SignalTrend t;
  // A day of readings every 2 s, a dip to "not detectable" once, in the middle.
  for (int s = 0; s < 86'400; s += 2) {
    const int rssi = s == 43'200 ? 99 : 15 + (s / 2) % 5;
    t.addQuality(kStart + s * kSecond, {rssi, 99});
  }
  const auto line = t.dbmLine(kStart, kStart + 86'400 * kSecond, 1000);
  EXPECT_LE(line.size(), 2000u);
  EXPECT_GE(line.size(), 1900u);
  double lowest = 0;
  for (const auto& p : line) lowest = std::min(lowest, p.value);
  EXPECT_EQ(lowest, SignalTrend::kNotDetectableDbm);  // the one dip is there
  for (std::size_t i = 1; i < line.size(); ++i) EXPECT_LE(line[i - 1].utcMillis, line[i].utcMillis);
  // Sparse readings come through one for one.
  const auto few = t.dbmLine(kStart, kStart + 10 * kSecond, 1000);
  ASSERT_EQ(few.size(), 6u);
  EXPECT_EQ(few[1].value, -81);  // RSSI 16
  EXPECT_TRUE(t.berLine(kStart, kStart + 86'400 * kSecond, 1000).empty());
}

TEST(SignalTrend, TheRegistrationBandCarriesTheStateIntoTheSpan) {
  SignalTrend t;
  t.addRegistration(kStart, 2);
  t.addQuality(kStart + 5 * kSecond, {17, 99});
  t.addRegistration(kStart + 10 * kSecond, 2);
  t.addRegistration(kStart + 20 * kSecond, 1);
  t.addRegistration(kStart + 30 * kSecond, 0);
  using S = RegistrationStretch;
  EXPECT_EQ(t.registration(kStart + 15 * kSecond, kStart + 40 * kSecond),
            (std::vector<S>{{kStart + 15 * kSecond, kStart + 20 * kSecond, 2},
                            {kStart + 20 * kSecond, kStart + 30 * kSecond, 1},
                            {kStart + 30 * kSecond, kStart + 40 * kSecond, 0}}));
  EXPECT_EQ(t.registration(kStart, kStart + 12 * kSecond),
            (std::vector<S>{{kStart, kStart + 12 * kSecond, 2}}));
  EXPECT_TRUE(t.registration(kStart - 10 * kSecond, kStart - kSecond).empty());
}

TEST(SignalTrend, ItsCsvIsTheCapturesCsvOfTheSameReplies) {
  // The same replies, once as a capture exported by d7o-tool and once as the trend.
  const char* replies[] = {"+CSQ: 17,99", "+CREG: 0,1", "+CSQ: 99,99", "+CSQ: 5,3",
                           "+CREG: 2,\"00C3\",\"1A2B\""};
  std::string capture = "{\"d7o_capture\":1,\"start\":\"2026-12-09T10:00:00.000Z\"}\n";
  SignalTrend t;
  for (int i = 0; i < 5; ++i) {
    const std::string line = replies[i];
    capture += "{\"t\":" + std::to_string(i * 2000) + ",\"rx\":\"" +
               (line.find('"') == std::string::npos ? line : "+CREG: 2,\\\"00C3\\\",\\\"1A2B\\\"") +
               "\\r\\n\"}\n";
    if (const auto q = signalQualityOf(line)) t.addQuality(kStart + i * 2000, *q);
    if (const auto r = registrationStateOf(line)) t.addRegistration(kStart + i * 2000, *r);
  }
  std::istringstream in(capture);
  std::ostringstream out;
  const auto result = capture::exportCapture(in, capture::ExportFormat::Csv, out);
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(t.csv(), out.str());
  EXPECT_EQ(t.csv(),
            "time,rssi,dbm,ber,registration\n"
            "2026-12-09T10:00:00.000Z,17,-79,,\n"
            "2026-12-09T10:00:02.000Z,,,,1\n"
            "2026-12-09T10:00:04.000Z,99,,,\n"
            "2026-12-09T10:00:06.000Z,5,-103,3,\n"
            "2026-12-09T10:00:08.000Z,,,,2\n");
}

TEST(SignalTrend, KeepsAWeekAndForgetsTheOldestFirst) {
  SignalTrend t;
  const std::size_t extra = 10;
  for (std::size_t i = 0; i < SignalTrend::kMaxReadings + extra; ++i) {
    t.addQuality(kStart + static_cast<std::int64_t>(i) * 2000, {17, 99});
  }
  EXPECT_EQ(t.readings().size(), SignalTrend::kMaxReadings);
  EXPECT_EQ(t.readings().front().utcMillis, kStart + static_cast<std::int64_t>(extra) * 2000);
  // A clock that went back does not put a reading before the last one.
  t.addQuality(kStart, {20, 99});
  EXPECT_EQ(t.readings().back().utcMillis, t.readings()[t.readings().size() - 2].utcMillis);
}

}  // namespace
}  // namespace d7o::link
