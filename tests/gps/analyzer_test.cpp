// The GPS analyzer fed by the simulated device's stream, and its protocol choice.
#include "gps/analyzer.h"

#include "gps/course_display.h"
#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;
namespace colors = forms::colors;

// A device that streams from power-on, found by the program's start.
struct StreamingRig : Rig {
  StreamingRig() : Rig(config()) {
    writeDefaultIni();
    start();
    app->activate();
  }
  static sim::ModemConfig config() {
    sim::ModemConfig c;
    c.nmeaFromPowerOn = true;
    c.gpsAcquisition = Millis(0);
    return c;
  }
  forms::GpsForm& gps() { return app->context().gpsForm; }
  const gps::GpsFix& fix() { return app->gpsAnalyzer().fix(); }
};

TEST(GpsAnalyzer, StreamFillsTheAnalyzerInTheBackground) {
  StreamingRig rig;
  rig.run(Millis(3000));
  auto& g = rig.gps();
  const gps::GpsFix& fix = rig.fix();
  EXPECT_TRUE(rig.state().dispatch.gpsReceiveMode);
  EXPECT_TRUE(g.loaded) << "the first sentence creates the window";
  EXPECT_FALSE(g.visible());
  EXPECT_FALSE(fix.lat.empty());
  EXPECT_EQ(fix.ns, "N");
  EXPECT_EQ(fix.validity, "3D GPS available");
  EXPECT_TRUE(rig.main().m_gps.visible());
  EXPECT_EQ(rig.main().Label12.caption(), "GPS-Time");
  EXPECT_EQ(rig.main().Label14.caption(), "GMT");
  EXPECT_EQ(rig.state().gps.timeDisplay.size(), 8u);
  EXPECT_EQ(rig.main().Label48.caption(), rig.state().gps.timeDisplay);
}

TEST(GpsAnalyzer, MenuShowsItWithItsValuesAndExitReturnsToTheTerminal) {
  StreamingRig rig;
  rig.run(Millis(3000));
  auto& w = rig.main();
  auto& g = rig.gps();
  const gps::GpsFix& fix = rig.fix();
  w.Tab1.setTab(forms::tabs::kAbout);
  w.m_gps.click();
  EXPECT_FALSE(w.visible());
  EXPECT_TRUE(g.visible());
  EXPECT_FALSE(fix.utc.empty()) << "what the sentences wrote stays when the window shows";
  EXPECT_EQ(g.Line1.x1(), g.Line1.x2()) << "the needle points north until the next RMC";
  rig.run(Millis(2000));
  EXPECT_FALSE(fix.utc.empty());
  std::vector<bool> menuShown;
  w.m_gps.changed.connect([&] { menuShown.push_back(w.m_gps.visible()); });
  // Exit; the main window, active again, runs its search meanwhile (the stream goes on).
  g.m_exit.click();
  EXPECT_TRUE(w.visible());
  EXPECT_FALSE(g.visible());
  EXPECT_EQ(w.Tab1.tab(), forms::tabs::kTerminal);
  ASSERT_GE(menuShown.size(), 2u);
  EXPECT_FALSE(menuShown[0]) << "the entry goes with the window";
  EXPECT_TRUE(menuShown[1]) << "the next sentence brings it back";
  EXPECT_EQ(fix.speedUnit, "km/h") << "a window loaded afresh has its designed values";
}

TEST(GpsAnalyzer, ProtocolBoxSendsItsChoiceAndAsksForOutputAfterTheNextOk) {
  Rig rig;
  rig.startWithOpenPort();
  auto& g = rig.app->context().gpsForm;
  g.Check3.setChecked(false);  // the user clicks the ticked GPRMC box
  EXPECT_EQ(rig.wire(), "&CNF GPS,GPRMC,100\r") << "sent once, though the box ticks itself again";
  EXPECT_TRUE(g.Check3.checked());
  for (forms::CheckBox* box : {&g.Check1, &g.Check2, &g.Check4, &g.Check5}) {
    EXPECT_EQ(box->backColor(), colors::kRed);
  }
  EXPECT_TRUE(g.GPGSV.visible()) << "the satellite panel opens";
  EXPECT_EQ(g.Check6.caption(), "hide satellite level");
  EXPECT_TRUE(rig.state().dispatch.intervalRequestPending);
  rig.run(Millis(500));  // the device answers $CNFOK, which contains OK
  EXPECT_EQ(rig.wire(), "&REQ INT\r");
  EXPECT_FALSE(rig.state().dispatch.intervalRequestPending);
}

TEST(GpsAnalyzer, AllBoxAsksForEverySentence) {
  Rig rig;
  rig.startWithOpenPort();
  auto& g = rig.app->context().gpsForm;
  g.Check5.setChecked(false);
  EXPECT_EQ(rig.wire(), "&CNF GPS,GPRMC;GPGGA;GPGSA;GPGSV,100\r");
  EXPECT_EQ(g.Check5.backColor(), colors::kGreen);
  EXPECT_EQ(g.Check1.backColor(), colors::kRed);
  EXPECT_EQ(rig.state().gps.gpsSentenceShown, "GPGSV");
  EXPECT_FALSE(g.GPGSV.visible());
}

TEST(GpsAnalyzer, NothingIsSentWhileARemoteCallIsBeingDialled) {
  Rig rig;
  rig.startWithOpenPort();
  rig.state().dispatch.remoteConnectPending = true;
  auto& g = rig.app->context().gpsForm;
  g.Check2.setChecked(false);
  EXPECT_EQ(rig.wire(), "");
  EXPECT_TRUE(g.GPGSV.visible()) << "the window changes all the same";
}

TEST(GpsAnalyzer, ResetEmptiesTheTableButNewSatellitesContinueAfterTheLastRow) {
  Rig rig;
  rig.startWithOpenPort();
  auto& g = rig.app->context().gpsForm;
  const gps::GpsFix& fix = rig.app->gpsAnalyzer().fix();
  rig.fromModem("$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(fix.satellites[3].nr, "14");
  g.Command3.click();
  EXPECT_EQ(fix.satellites[0].nr, "");
  EXPECT_EQ(fix.inView, "");
  rig.fromModem("$GPGSV,2,2,08,15,11,052,33*40\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(fix.satellites[4].nr, "15") << "row 5, after the four used before";
}

TEST(GpsAnalyzer, SatellitePanelBoxShowsAndHides) {
  Rig rig;
  rig.startWithOpenPort();
  auto& g = rig.app->context().gpsForm;
  g.Check6.setChecked(true);
  EXPECT_TRUE(g.GPGSV.visible());
  EXPECT_EQ(g.Check6.caption(), "hide satellite level");
  g.Check6.setChecked(false);
  EXPECT_FALSE(g.GPGSV.visible());
  EXPECT_EQ(g.Check6.caption(), "show satellite level");
}

TEST(GpsAnalyzer, OtherRepliesLeaveTheValuesAndPutThePcClockBack) {
  Rig rig;
  rig.startWithOpenPort();
  auto& g = rig.app->context().gpsForm;
  const gps::GpsFix& fix = rig.app->gpsAnalyzer().fix();
  rig.fromModem("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(rig.main().Label48.caption(), "12.35.19");
  const gps::GpsFix before = fix;
  rig.fromModem("$GPGLL,4916.45,N,12311.12,W,225444,A\r\nOK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(fix.lat, before.lat);
  EXPECT_EQ(fix.satellites, before.satellites);
  EXPECT_EQ(rig.main().Label12.caption(), "PC-Time");
  EXPECT_EQ(rig.state().gps.timeDisplay, "");
  EXPECT_EQ(g.Check2.backColor(), colors::kGreen) << "GGA stays the type marked last";
}

TEST(GpsAnalyzer, CourseTurnsTheNeedle) {
  Rig rig;
  rig.startWithOpenPort();
  auto& g = rig.app->context().gpsForm;
  const gps::GpsFix& fix = rig.app->gpsAnalyzer().fix();
  rig.fromModem("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,090.0,230394,003.1,W*6A\r\n");
  rig.run(Millis(100));
  const auto end = gps::needleEndFor(90, forms::GpsForm::kPanel1);
  EXPECT_EQ((forms::Point{g.Line1.x1(), g.Line1.y1()}), *end);
  EXPECT_EQ(fix.speed, "41.4848");
  EXPECT_EQ(fix.speedUnit, "km/h");
  g.Option21.select();
  rig.fromModem("$GPRMC,123520,A,4807.038,N,01131.000,E,022.4,180.0,230394,003.1,W*6A\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(fix.speed, "22.4");
  EXPECT_EQ(fix.speedUnit, "knots");
  EXPECT_EQ((forms::Point{g.Line1.x1(), g.Line1.y1()}),
            *gps::needleEndFor(180, forms::GpsForm::kPanel1));
}

TEST(GpsAnalyzer, TheWindowShowsTheFixWithItsColoursAndExitShowsTheDesignAgain) {
  Rig rig;
  rig.startWithOpenPort();
  auto& g = rig.app->context().gpsForm;
  const gps::GpsFix& fix = rig.app->gpsAnalyzer().fix();
  for (const char* sentence :
       {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
        "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",
        "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,29,14,22,228,45*74",
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"}) {
    rig.fromModem(std::string(sentence) + "\r\n");
    rig.run(Millis(100));
  }
  EXPECT_EQ(g.Label61.caption(), fix.lat);
  EXPECT_EQ(g.Label92.caption(), "84.4");
  EXPECT_EQ(g.Label75.caption(), fix.prn[1]);
  EXPECT_EQ(g.Lev[2].caption(), "29");
  EXPECT_EQ(g.Anzahl.caption(), "08");
  // A coloured value on a dark field; validity by its back colour; weak levels red.
  EXPECT_EQ(g.Label21.foreColor(), colors::kGreen);
  EXPECT_EQ(g.Label21.backColor(), colors::kBlack);
  EXPECT_EQ(g.Label53.backColor(), colors::kGreen);
  EXPECT_EQ(g.Bar[0].value(), 46);
  EXPECT_EQ(g.Bar[2].barColor(), colors::kRed);
  EXPECT_EQ(g.Bar[0].barColor(), colors::kGreen);
  EXPECT_EQ(g.GPSstring.caption().find_first_of("\r\n"), std::string::npos)
      << "the received text shows on one line";
  EXPECT_EQ(g.GPSstring.caption().rfind("$GPRMC", 0), 0u);

  g.m_exit.click();
  EXPECT_EQ(g.Label56.caption(), "00:00:00");
  EXPECT_EQ(g.Label61.caption(), "");
  EXPECT_EQ(g.Label21.backColor(), colors::kSystemButtonFace) << "no dark field without colour";
  EXPECT_EQ(g.Bar[0].value(), 0);
}

TEST(GpsButtons, GpsContinueAndReadGpsString) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  auto& w = rig.main();
  w.Command31.setVisible(true);
  w.Command31.click();
  EXPECT_TRUE(rig.port.isOpen()) << "GPS opens a closed port";
  EXPECT_EQ(rig.wire(), "AT\r");
  EXPECT_FALSE(w.Command31.visible());
  w.Command30.click();
  EXPECT_TRUE(w.Command31.visible());
  EXPECT_EQ(rig.wire(), "&REQ INT\r");
  w.Command8.click();
  EXPECT_EQ(rig.wire(), "&REQ POS\r");
}

}  // namespace
}  // namespace d7o::test
