// What the golden logs cannot show: colours, level bars, the satellite row pointer, the
// reset of the satellite display, the clock text and the steps that must change nothing.
#include "gps/nmea_evaluation.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace {

using namespace d7o::gps;
using d7o::forms::colors::kGreen;
using d7o::forms::colors::kRed;

constexpr std::string_view kGga =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47  ";
constexpr std::string_view kRmc =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A  ";
constexpr std::string_view kGsa = "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39  ";
constexpr std::string_view kGsv =
    "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75  ";

struct Analyzer {
  GpsFix fix;
  int slotPointer = 0;
  double gpsSpeed = 0;
  NmeaState state{slotPointer, gpsSpeed, true};

  Analyzer() { GPSformRefresh(fix); }
  std::string feed(std::string_view reply) { return evaluateReply(std::string(reply), fix, state); }
};

TEST(NmeaGga, SatellitesInUseAndQualityAreColoured) {
  Analyzer a;
  a.feed(kGga);
  EXPECT_EQ(a.fix.inUseColor, kGreen);
  EXPECT_EQ(a.fix.qualityColor, kGreen);

  a.feed("$GPGGA,123520,,,,,0,00,,,M,,M,,*4A  ");
  EXPECT_EQ(a.fix.inUse, "00");
  EXPECT_EQ(a.fix.inUseColor, kRed);
  EXPECT_EQ(a.fix.quality, "fix not available");
  EXPECT_EQ(a.fix.qualityColor, kRed);

  a.feed("$GPGGA,123521,,,,,2,0,,,M,,M,,  ");
  EXPECT_EQ(a.fix.inUseColor, kGreen) << "only \"00\" is red";
  EXPECT_EQ(a.fix.quality, "Differential GPS fix available");
  EXPECT_EQ(a.fix.qualityColor, kGreen);
}

TEST(NmeaGga, UnknownQualityLeavesTextAndColour) {
  Analyzer a;
  a.feed(kGga);
  a.feed("$GPGGA,123520,4807.038,N,01131.000,E,6,08,0.9,545.4,M,46.9,M,,  ");
  EXPECT_EQ(a.fix.quality, "Non-differential GPS fix available");
  EXPECT_EQ(a.fix.qualityColor, kGreen);
}

TEST(NmeaRmc, ValidityComesFromTheStatusFieldOnly) {
  Analyzer a;
  a.feed(kRmc);
  EXPECT_EQ(a.fix.validity, "3D GPS available");
  EXPECT_EQ(a.fix.validityColor, kGreen);
  // Warning status whose checksum holds an "A".
  a.feed("$GPRMC,123521,V,4807.038,N,01131.000,E,000.0,000.0,230394,003.1,W*7A  ");
  EXPECT_EQ(a.fix.validity, "v a l i d");
  EXPECT_EQ(a.fix.validityColor, kRed);
}

TEST(NmeaRmc, SpeedFollowsTheChosenUnit) {
  Analyzer a;
  a.feed(kRmc);
  EXPECT_EQ(a.fix.speed, "41.4848");
  EXPECT_EQ(a.fix.speedUnit, "km/h");
  EXPECT_DOUBLE_EQ(a.gpsSpeed, 22.4 * 1.852);

  a.state.speedInKmh = false;
  a.feed(kRmc);
  EXPECT_EQ(a.fix.speed, "22.4");
  EXPECT_EQ(a.fix.speedUnit, "knots");
  EXPECT_DOUBLE_EQ(a.gpsSpeed, 22.4);
  EXPECT_EQ(a.fix.courseShown, "84.4");
}

TEST(NmeaGsa, FixTypeColours) {
  struct Case {
    std::string_view name;
    std::string_view sentence;
    std::string_view fixType;
    d7o::forms::Color color;
  };
  const Case cases[] = {
      {"no fix", "$GPGSA,A,1,,,,,,,,,,,,,,,  ", "not available", kRed},
      {"2D", "$GPGSA,A,2,,,,,,,,,,,,,,,  ", "2D-GPS", kGreen},
      {"3D", "$GPGSA,A,3,,,,,,,,,,,,,,,  ", "3D-GPS", kGreen},
      {"empty", "$GPGSA,A,,,,,,,,,,,,,,,,  ", "not available", kRed},
      {"not a number", "$GPGSA,A,?,,,,,,,,,,,,,,,  ", "not available", kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Analyzer a;
    a.feed(c.sentence);
    EXPECT_EQ(a.fix.fixType, c.fixType);
    EXPECT_EQ(a.fix.fixTypeColor, c.color);
  }
}

TEST(NmeaGsa, OtherNumbersLeaveTheFixType) {
  Analyzer a;
  a.feed(kGsa);
  a.feed("$GPGSA,A,0,,,,,,,,,,,,,,,  ");
  a.feed("$GPGSA,A,4,,,,,,,,,,,,,,,  ");
  EXPECT_EQ(a.fix.fixType, "3D-GPS");
  EXPECT_EQ(a.fix.fixTypeColor, kGreen);
}

TEST(NmeaGsa, StarBeforeComma16LeavesVdop) {
  Analyzer a;
  a.feed(kGsa);
  a.feed("$GPGSA,A,3*00,,,,,,,,,,,,,,,9.9  ");
  EXPECT_EQ(a.fix.vdop, "2.1");
}

TEST(NmeaGsv, BarsShowTheLevelRedBelow31) {
  Analyzer a;
  a.feed("$GPGSV,1,1,02,05,10,020,30,06,11,021,31*70  ");
  EXPECT_EQ(a.fix.satellites[0].bar, 30);
  EXPECT_EQ(a.fix.satellites[0].barColor, kRed);
  EXPECT_EQ(a.fix.satellites[1].bar, 31);
  EXPECT_EQ(a.fix.satellites[1].barColor, kGreen);
  EXPECT_EQ(a.slotPointer, 2);
}

// Read by fields, a level may be any length: the bar stays within its 99 dB.
TEST(NmeaGsv, AnOverlongLevelFillsTheBarAndNoMore) {
  Analyzer a;
  a.feed("$GPGSV,1,1,01,05,10,020," + std::string(90, '4') + "*7B  ");
  EXPECT_EQ(a.fix.satellites[0].nr, "05");
  EXPECT_EQ(a.fix.satellites[0].bar, 99);
}

TEST(NmeaGsv, KnownSatelliteGetsItsLevelTextAndLeavesWhenSilent) {
  Analyzer a;
  a.feed(kGsv);
  a.feed("$GPGSV,2,1,08,02,17,308,07*00  ");
  EXPECT_EQ(a.fix.satellites[1].lev, "7");
  EXPECT_EQ(a.fix.satellites[1].bar, 41) << "the bar keeps the level the row was filled with";

  a.feed("$GPGSV,2,1,08,02,17,308,*00  ");
  SatelliteSlot cleared;
  cleared.barColor = kGreen;
  EXPECT_EQ(a.fix.satellites[1], cleared);
  EXPECT_EQ(a.slotPointer, 4) << "clearing a row does not move the pointer";
}

TEST(NmeaGsv, PointerOutOfRangeStartsAtRowOne) {
  for (const int pointer : {-3, 0, 11, 42}) {
    SCOPED_TRACE(pointer);
    Analyzer a;
    a.slotPointer = pointer;
    a.feed("$GPGSV,1,1,01,05,10,020,40*00  ");
    EXPECT_EQ(a.slotPointer, 1);
    EXPECT_EQ(a.fix.satellites[0].nr, "05");
  }
}

TEST(GpsSatelliteDisplay, ResetEmptiesTheTableButKeepsTheRowPointer) {
  Analyzer a;
  a.feed(kGsv);
  ASSERT_EQ(a.slotPointer, 4);
  resetSatelliteDisplay(a.fix);
  for (const auto& row : a.fix.satellites) {
    EXPECT_TRUE(row.nr.empty() && row.el.empty() && row.az.empty() && row.lev.empty());
    EXPECT_EQ(row.bar, 0);
  }
  EXPECT_EQ(a.fix.inView, "");
  EXPECT_EQ(a.slotPointer, 4);

  // New satellites continue after the last row used.
  a.feed("$GPGSV,1,1,01,01,40,083,46*00  ");
  EXPECT_EQ(a.fix.satellites[4].nr, "01");
  EXPECT_TRUE(a.fix.satellites[0].nr.empty());
}

TEST(GpsFormRefresh, EmptiesTheValuesButNotUnitColoursTableOrReceivedText) {
  Analyzer a;
  a.feed(kGga);
  a.feed(kRmc);
  a.feed(kGsa);
  a.feed(kGsv);
  const GpsFix before = a.fix;
  GPSformRefresh(a.fix);

  GpsFix expected = before;
  for (std::string* text :
       {&expected.altitude, &expected.courseShown, &expected.quality, &expected.inUse,
        &expected.validity, &expected.date, &expected.utc, &expected.speed, &expected.lat,
        &expected.ew, &expected.mode, &expected.fixType, &expected.pdop, &expected.hdop,
        &expected.vdop, &expected.lon, &expected.ns, &expected.course}) {
    text->clear();
  }
  expected.prn.fill("");
  EXPECT_EQ(a.fix, expected);
  EXPECT_EQ(a.fix.inView, "08");
  EXPECT_EQ(a.fix.gpsString, kGsv);
}

TEST(NmeaMarkedSentence, LastNameInTestOrderWins) {
  struct Case {
    std::string_view reply;
    std::string_view marked;
  };
  const Case cases[] = {
      {kGga, "GPGGA"},
      {kRmc, "GPRMC"},
      {kGsa, "GPGSA"},
      {kGsv, "GPGSV"},
      {"$GPGGA,1$GPGSV,2", "GPGGA"},
      {"$GPGSA,1$GPRMC,2", "GPGSA"},
      {"xx$GPRMCxx", "GPRMC"},
      // The device's own lines name sentences without being one.
      {"&CNF GPS,GPRMC,100  ", ""},
      {"&CNF GPS,GPGSV,100  ", ""},
      {"$CNF GPS,GPRMC;GPGGA;GPGSA;GPGSV,100  ", ""},
      {"GPGGA,123519,4807.038,N  ", ""},
      {"$GPGLL,4916.45,N,12311.12,W,225444,A,*1D  ", ""},
      {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48  ", ""},
      {"OK  ", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    EXPECT_EQ(markedSentence(c.reply), c.marked);
  }
}

TEST(NmeaEvaluateReply, OtherRepliesChangeOnlyTheReceivedText) {
  Analyzer a;
  a.feed(kGga);
  a.feed(kGsv);
  for (const std::string_view reply :
       {"$GPGLL,4916.45,N,12311.12,W,225444,A,*1D  ", "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48  ",
        "OK  ", "&CNF GPS,GPRMC,100  ", "&CNF GPS,GPGSV,100    $CNFOK  ",
        "$CNF GPS,GPRMC;GPGGA;GPGSA;GPGSV,100  "}) {
    SCOPED_TRACE(reply);
    GpsFix expected = a.fix;
    expected.gpsString = reply;
    EXPECT_EQ(a.feed(reply), "");
    EXPECT_EQ(a.fix, expected);
    EXPECT_EQ(a.slotPointer, 4);
  }
}

TEST(NmeaEvaluateReply, EmptyTextChangesNothing) {
  Analyzer a;
  a.feed(kGga);
  const GpsFix before = a.fix;
  CalculateGPGGA("", a.fix);
  CalculateGPRMC("", a.fix, a.state);
  CalculateGPGSA("", a.fix);
  CalculateGPGSV("", a.fix, a.state);
  EXPECT_EQ(a.fix, before);
}

TEST(GpsClockText, SixCharactersAfterTheFirstComma) {
  struct Case {
    std::string_view reply;
    std::string_view clock;
  };
  const Case cases[] = {
      {kGga, "12.35.19"}, {kRmc, "12.35.19"}, {"$GPRMC,12  ", "12.  ."}, {"$GPGGA", ""}, {kGsv, ""},
      {kGsa, ""},         {"OK", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    EXPECT_EQ(gpsClockText(c.reply), c.clock);
  }
}

}  // namespace
