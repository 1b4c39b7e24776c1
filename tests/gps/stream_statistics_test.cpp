// The analyzer's NMEA statistics on the simulated device's stream, in virtual time: every
// reply in GPS receive mode is counted, a sentence with a wrong checksum is evaluated all
// the same and counted bad, and the panel shows the counters while it is open.
#include "gps/analyzer.h"
#include "support/rig.h"

#include <gtest/gtest.h>
#include <string>

namespace d7o::test {
namespace {

using gps::SentenceType;
using platform::Millis;

constexpr const char* kRmc =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
// The course changed on the way (084.4 to 123.4); the sum is still the one of kRmc.
constexpr const char* kRmcDamaged =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,123.4,230394,003.1,W*6A\r\n";

sim::ModemConfig streamingDevice() {
  sim::ModemConfig c;
  c.nmeaFromPowerOn = true;
  c.gpsAcquisition = Millis(0);
  return c;
}

TEST(StreamStatistics, ASentenceWithAWrongChecksumIsEvaluatedAndCountedBad) {
  Rig rig;
  rig.startWithOpenPort();
  rig.fromModem(kRmc);
  rig.run(Millis(100));
  ASSERT_TRUE(rig.state().dispatch.gpsReceiveMode);
  const gps::Analyzer& analyzer = rig.app->gpsAnalyzer();
  EXPECT_EQ(analyzer.fix().course, "84.4");

  rig.fromModem(kRmcDamaged);
  rig.fromModem("OK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(analyzer.fix().course, "123.4") << "evaluated as the program always has";
  const gps::NmeaStatistics& s = analyzer.statistics();
  EXPECT_EQ(s.count(SentenceType::Rmc), 2u);
  EXPECT_EQ(s.badChecksums(SentenceType::Rmc), 1u);
  EXPECT_EQ(s.noNmea(), 1u);
  // Counting begins with GPS receive mode: the sentence that switched it on and after.
  EXPECT_EQ(s.bytes(), std::string(kRmc).size() + std::string(kRmcDamaged).size() + 4);
}

struct StreamingRig : Rig {
  StreamingRig() : Rig(streamingDevice()) {
    writeDefaultIni();
    start();
    app->activate();
  }
  forms::GpsForm& gps() { return app->context().gpsForm; }
  const gps::NmeaStatistics& statistics() { return app->gpsAnalyzer().statistics(); }
};

TEST(StreamStatistics, CountingRunsInTheBackgroundAndThePanelShowsItAllWhenOpened) {
  StreamingRig rig;
  ASSERT_TRUE(rig.untilGpsStreams());
  rig.run(Millis(12000));
  auto& g = rig.gps();
  const auto& s = rig.statistics();
  EXPECT_GT(s.count(SentenceType::Gga), 10u);
  EXPECT_NEAR(s.perSecond(SentenceType::Gga, rig.scheduler.now()), 1.0, 0.15);
  EXPECT_EQ(s.badChecksums(), 0u) << "the simulated receiver sends clean sentences";
  EXPECT_EQ(g.StatCount[0].caption(), "") << "nothing painted while the panel is shut";

  rig.main().m_gps.click();
  g.CheckStatistics.setChecked(true);
  EXPECT_TRUE(g.NmeaStatistics.visible());
  EXPECT_EQ(g.CheckStatistics.caption(), "hide statistics");
  EXPECT_TRUE(g.StatisticsTimer.enabled());
  EXPECT_EQ(g.StatCount[0].caption(), std::to_string(s.count(SentenceType::Gga)));
  EXPECT_EQ(g.StatRate[0].caption(), "1.0");
  EXPECT_EQ(g.StatBad[1].caption(), "0");
  EXPECT_EQ(g.StatBytes.caption(), std::to_string(s.bytes()));

  // The timer brings it up to date.
  const std::string before = g.StatBytes.caption();
  rig.run(Millis(1000));
  EXPECT_NE(g.StatBytes.caption(), before);
  EXPECT_EQ(g.StatBytes.caption(), std::to_string(s.bytes()));
}

TEST(StreamStatistics, OnlyItsOwnResetEmptiesTheCountersAndClosingTheWindowStopsItsTimer) {
  StreamingRig rig;
  ASSERT_TRUE(rig.untilGpsStreams());
  rig.run(Millis(5000));
  auto& g = rig.gps();
  const auto& s = rig.statistics();
  rig.main().m_gps.click();
  g.CheckStatistics.setChecked(true);

  g.Command3.click();  // "r e s e t    d i s p l a y": the satellite table only
  EXPECT_GT(s.count(SentenceType::Gsv), 0u);

  g.StatReset.click();
  EXPECT_EQ(s.count(SentenceType::Gsv), 0u);
  EXPECT_EQ(s.bytes(), 0u);
  EXPECT_EQ(g.StatCount[3].caption(), "0");
  EXPECT_EQ(g.StatAge[3].caption(), "-");

  g.m_exit.click();
  EXPECT_FALSE(g.NmeaStatistics.visible());
  EXPECT_FALSE(g.CheckStatistics.checked());
  EXPECT_EQ(g.CheckStatistics.caption(), "show statistics");
  EXPECT_FALSE(g.StatisticsTimer.enabled());
  rig.run(Millis(3000));
  EXPECT_GT(s.count(SentenceType::Gsv), 0u) << "the stream is counted for the whole run";
}

TEST(StreamStatistics, ARedColumnMarksTheRowsThatHadAWrongChecksum) {
  Rig rig;
  rig.startWithOpenPort();
  rig.fromModem(kRmc);
  rig.fromModem(kRmcDamaged);
  rig.run(Millis(100));
  auto& g = rig.app->context().gpsForm;
  g.CheckStatistics.setChecked(true);
  EXPECT_EQ(g.StatBad[1].caption(), "1");
  EXPECT_EQ(g.StatBad[1].backColor(), forms::colors::kRed);
  EXPECT_EQ(g.StatBad[0].backColor(), forms::colors::kSystemButtonFace);
  EXPECT_EQ(g.StatCount[1].caption(), "2");
}

}  // namespace
}  // namespace d7o::test
