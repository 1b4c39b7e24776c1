// The stream statistics: the one sentence and checksum test, the sorting into rows, and
// the counters against a log with known faults.
#include "gps/nmea_statistics.h"

#include "gps/nmea_checksum.h"
#include "gps/statistics_panel.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::gps {
namespace {

using Millis = NmeaStatistics::Millis;

TEST(NmeaChecksum, EachLineIsSortedByFormAndChecksum) {
  struct Case {
    std::string_view name;
    std::string line;
    SentenceCheck expected;
  };
  const Case cases[] = {
      {"good GGA", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
       SentenceCheck::Good},
      {"good, lower-case hex", "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48", SentenceCheck::Good},
      {"empty sentence", "$GPGSV,1,1,00*79", SentenceCheck::Good},
      {"proprietary", "$PGRME,15.0,M,45.0,M,25.0,M*1C", SentenceCheck::Good},
      {"lower-case sum of a bad sentence", "$GPGSV,1,1,00*7a", SentenceCheck::BadChecksum},
      {"one digit changed", "$GPGSV,1,1,01*79", SentenceCheck::BadChecksum},
      {"sum of another sentence",
       "$GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230394,"
       "003.1,W*6A",
       SentenceCheck::BadChecksum},
      {"no sum", "$GPGLL,4916.45,N,12311.12,W,225444,A", SentenceCheck::NoChecksum},
      {"sum of one digit", "$GPGSV,1,1,00*7", SentenceCheck::NoNmea},
      {"sum not hex", "$GPGSV,1,1,00*7G", SentenceCheck::NoNmea},
      {"blank after the sum", "$GPGSV,1,1,00*79 ", SentenceCheck::NoNmea},
      {"lower-case address", "$gpgsv,1,1,00*79", SentenceCheck::NoNmea},
      {"byte above ASCII", "$GPGSV,1,\xe4,00*79", SentenceCheck::NoNmea},
      {"device banner", "$TARVIK R7O-3 Alarm/GPS V1.63", SentenceCheck::NoNmea},
      {"device answer", "$CNFOK", SentenceCheck::NoNmea},
      {"no dollar", "GPGSV,1,1,00*79", SentenceCheck::NoNmea},
      {"modem reply", "OK", SentenceCheck::NoNmea},
      {"empty", "", SentenceCheck::NoNmea},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(checkSentence(c.line), c.expected) << c.line;
  }
}

TEST(NmeaStatistics, TheFourEvaluatedSentencesHaveRowsAndEverythingElseIsOther) {
  struct Case {
    std::string_view sentence;
    SentenceType expected;
  };
  const Case cases[] = {
      {"$GPGGA,1", SentenceType::Gga},    {"$GPRMC,1", SentenceType::Rmc},
      {"$GPGSA,1", SentenceType::Gsa},    {"$GPGSV,1", SentenceType::Gsv},
      {"$GPGLL,1", SentenceType::Other},  {"$GPVTG,1", SentenceType::Other},
      {"$GNGGA,1", SentenceType::Other},  {"$PGRME,1", SentenceType::Other},
      {"$GPGGAX,1", SentenceType::Other}, {"$GPGG,1", SentenceType::Other},
      {"$GLGSV,1", SentenceType::Other},
  };
  for (const Case& c : cases) EXPECT_EQ(sentenceTypeOf(c.sentence), c.expected) << c.sentence;
}

// stream_statistics.log: eighteen lines with LF ends, 777 bytes.
TEST(NmeaStatistics, ALogWithKnownFaultsCountsEachOfThem) {
  std::ifstream in(std::string(D7O_TEST_DATA_DIR) + "/../gps/data/stream_statistics.log",
                   std::ios::binary);
  ASSERT_TRUE(in);
  NmeaStatistics s;
  std::string line;
  while (std::getline(in, line)) s.countLine(line, line.size() + 1, Millis(0));

  struct Row {
    SentenceType type;
    std::uint64_t count, bad;
  };
  const Row rows[] = {
      {SentenceType::Gga, 2, 0},  // one without a sum
      {SentenceType::Rmc, 2, 1},  // one with the sum of the other
      {SentenceType::Gsa, 2, 0},  // one without a sum
      {SentenceType::Gsv, 2, 0},
      // GLL, VTG, a proprietary PGRME, GNGGA of another talker, a VTG with a wrong sum
      {SentenceType::Other, 5, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.type));
    EXPECT_EQ(s.count(r.type), r.count);
    EXPECT_EQ(s.badChecksums(r.type), r.bad);
  }
  EXPECT_EQ(s.badChecksums(), 2u);
  EXPECT_EQ(s.withoutChecksum(), 2u);
  // "OK", "$CNFOK", the device's banner and a sentence with a broken sum; the empty line
  // is no line.
  EXPECT_EQ(s.noNmea(), 4u);
  EXPECT_EQ(s.bytes(), 777u);
}

TEST(NmeaStatistics, TheRateIsOverTheLastTenSecondsAndTheAgeSinceTheLast) {
  NmeaStatistics s;
  const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  const std::string gsv = "$GPGSV,1,1,00*79";
  // GGA once a second, GSV four times a second, for 30 s.
  for (int ms = 0; ms < 30000; ms += 250) {
    if (ms % 1000 == 0) s.countLine(gga, gga.size() + 2, Millis(ms));
    s.countLine(gsv, gsv.size() + 2, Millis(ms));
  }
  struct Case {
    std::string_view name;
    int nowMs;
    double gga, gsv;
  };
  const Case cases[] = {
      {"while streaming", 29900, 1.0, 4.0},
      {"half the window silent", 34000, 0.5, 2.0},
      {"all the window silent", 45000, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(s.perSecond(SentenceType::Gga, Millis(c.nowMs)), c.gga, 0.11);
    EXPECT_NEAR(s.perSecond(SentenceType::Gsv, Millis(c.nowMs)), c.gsv, 0.41);
  }
  EXPECT_EQ(s.age(SentenceType::Gga, Millis(29400)), Millis(400));
  EXPECT_EQ(s.age(SentenceType::Gsv, Millis(29900)), Millis(150));
  EXPECT_FALSE(s.age(SentenceType::Rmc, Millis(29900)));
  EXPECT_EQ(s.perSecond(SentenceType::Rmc, Millis(29900)), 0.0);
}

TEST(NmeaStatistics, TheFirstSentencesDoNotReadAsHundredsASecond) {
  NmeaStatistics s;
  s.countLine("$GPGSV,1,1,00*79", 18, Millis(5000));
  s.countLine("$GPGSV,1,1,00*79", 18, Millis(5010));
  EXPECT_DOUBLE_EQ(s.perSecond(SentenceType::Gsv, Millis(5020)), 2.0);
  // Two seconds on, over those two seconds.
  EXPECT_DOUBLE_EQ(s.perSecond(SentenceType::Gsv, Millis(7000)), 1.0);
}

TEST(NmeaStatistics, RepliesCountTheirBytesOnceAndTheirTextWithoutTheBlankedLineEnd) {
  NmeaStatistics s;
  // "$GPGSV,1,1,00*79\r\n", then a bare line end that stays as the head of the next reply,
  // then "\r\nOK\r\n" read as that head and "OK  ".
  s.countReply("$GPGSV,1,1,00*79  ", Millis(0));
  s.countReply("  ", Millis(1));
  s.countReply("  OK  ", Millis(2));
  s.countReply("$GPGSV,1,1,01*79  ", Millis(3));
  EXPECT_EQ(s.bytes(), 18u + 2u + 4u + 18u);
  EXPECT_EQ(s.count(SentenceType::Gsv), 2u);
  EXPECT_EQ(s.badChecksums(SentenceType::Gsv), 1u);
  EXPECT_EQ(s.noNmea(), 1u) << "the bare line end is no line";
}

TEST(NmeaStatistics, AResetStartsAfresh) {
  NmeaStatistics s;
  for (int ms = 0; ms < 5000; ms += 100) s.countLine("$GPGSV,1,1,01*79", 18, Millis(ms));
  s.countLine("OK", 4, Millis(5000));
  s.reset(Millis(5000));
  EXPECT_EQ(s.count(SentenceType::Gsv), 0u);
  EXPECT_EQ(s.badChecksums(), 0u);
  EXPECT_EQ(s.noNmea(), 0u);
  EXPECT_EQ(s.bytes(), 0u);
  EXPECT_EQ(s.perSecond(SentenceType::Gsv, Millis(5500)), 0.0);
  EXPECT_FALSE(s.age(SentenceType::Gsv, Millis(5500)));
  s.countLine("$GPGSV,1,1,00*79", 18, Millis(6000));
  EXPECT_DOUBLE_EQ(s.perSecond(SentenceType::Gsv, Millis(7000)), 0.5);
}

TEST(StatisticsPanelTexts, RatesAndAgesReadShort) {
  struct Case {
    std::string_view name;
    std::string text, expected;
  };
  const Case cases[] = {
      {"no rate", rateText(0.0), "0.0"},
      {"one a second", rateText(1.0), "1.0"},
      {"rounded up", rateText(9.96), "10.0"},
      {"fast", rateText(123.44), "123.4"},
      {"never", ageText(std::nullopt), "-"},
      {"just now", ageText(Millis(0)), "0.0 s"},
      {"tenths", ageText(Millis(440)), "0.4 s"},
      {"tenths rounded", ageText(Millis(9940)), "9.9 s"},
      {"whole seconds once late", ageText(Millis(9950)), "10 s"},
      {"long ago", ageText(Millis(3'600'400)), "3600 s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.text, c.expected);
  }
}

}  // namespace
}  // namespace d7o::gps
