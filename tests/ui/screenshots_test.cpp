// Pictures of the SMS windows at their default size, for docs/: taken only when
// D7O_SCREENSHOT_DIR names a folder (scripts/screenshots.sh), skipped otherwise. The
// windows are filled as a user fills them on the simulated modem.

#include "app/subsystems.h"
#include "capture/recording_port.h"
#include "capture/replay_port.h"
#include "forms/main_window.h"
#include "remote/call_history.h"
#include "support/rig.h"
#include "ui/bin_code_form_view.h"
#include "ui/gps_form_view.h"
#include "ui/main_window_view.h"
#include "ui/pdu_form_view.h"
#include "ui/remote_form_view.h"
#include "ui/signal_form_view.h"
#include "ui/ui_wait.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

// A message as AT+CMGL=4 lists it: from +491701234567, "hello", sent 2024-05-17 10:30.
constexpr const char* kListedPdu =
    "0791947101670000040C9194711032547600004250710103000005E8329BFD06";

// D7O_SCREENSHOT_SUFFIX goes before ".png": the same pictures at 200 % scale
// (QT_SCALE_FACTOR=2) are NAME-200.png beside the others.
bool save(QWidget& window, const QDir& folder, const char* file) {
  // Everything the window's beat has yet to copy shows first.
  QTest::qWait(2 * kWidgetWaitMs / 10);
  QString name = QString::fromLatin1(file);
  name.insert(name.lastIndexOf(QLatin1Char('.')), qEnvironmentVariable("D7O_SCREENSHOT_SUFFIX"));
  return window.grab().save(folder.filePath(name));
}

// The folder the pictures go to, and the program with its module up.
class Screenshots : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString folderName = qEnvironmentVariable("D7O_SCREENSHOT_DIR");
    if (folderName.isEmpty()) GTEST_SKIP() << "D7O_SCREENSHOT_DIR names no folder";
    folder = QDir(folderName);
    ASSERT_TRUE(folder.exists()) << folderName.toStdString();
    ASSERT_TRUE(rig.bringUp());
  }
  QDir folder;
  test::Rig rig;
};

TEST_F(Screenshots, SmsTabPduCreatorAndSevenBitConverter) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  PduFormView pdu(*rig.app);
  BinCodeFormView converter(*rig.app);
  auto& m = rig.main();
  // The size the window has when the program has started.
  main.resize(m.width(), m.height());
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  m.Tab1.setTab(forms::tabs::kSms);
  EXPECT_TRUE(save(main, folder, "sms-tab.png"));

  m.Command4.click();  // "switch to PDU-Mode"
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&pdu));
  auto& p = rig.app->context().pduForm;
  p.Text14.setText("491710760000");
  p.Command1.click();  // "create PDU"
  p.Text21.setText(kListedPdu);
  EXPECT_TRUE(save(pdu, folder, "pdu-creator.png"));

  p.Option7.select();  // 7-bit coding opens the converter
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&converter));
  rig.app->context().binCodeForm.Command2.click();  // " convert to 7-Bit"
  EXPECT_TRUE(save(converter, folder, "bin-code.png"));
}

TEST_F(Screenshots, PhoneBookAlarmAndGpsTabs) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  auto& m = rig.main();
  // The size the window opens at (the window's size follows the user's from then on).
  const QSize start(m.width(), m.height());
  main.resize(start);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

  // The phone book as read from the SIM, one entry picked.
  m.Tab1.setTab(forms::tabs::kVoiceCall);
  m.Command11.click();
  rig.runUntil([&] { return m.List4.count() >= 3; }, platform::Millis(5000));
  m.List4.setListIndex(1);
  // The alarm tab with the wiring sample; the GPS tab with a few choices made.
  m.Combo2.setListIndex(0);
  m.Check2.setChecked(true);
  m.Command52.click();
  m.List5.setSelected(0, true);
  m.List5.setSelected(2, true);
  m.Check3.setChecked(true);

  struct Shot {
    int tab;
    const char* name;
  };
  for (const Shot shot :
       {Shot{forms::tabs::kVoiceCall, "voice-call-tab"}, Shot{forms::tabs::kAlarm, "alarm-tab"},
        Shot{forms::tabs::kGps, "gps-tab"}, Shot{forms::tabs::kAbout, "about-tab"}}) {
    SCOPED_TRACE(shot.name);
    m.Tab1.setTab(shot.tab);
    main.resize(start);
    EXPECT_TRUE(save(main, folder, (std::string(shot.name) + ".png").c_str()));
    // Enlarged, as a technician opens it on a bench screen.
    main.resize(1280, 800);
    EXPECT_TRUE(save(main, folder, (std::string(shot.name) + "-large.png").c_str()));
  }
}

TEST_F(Screenshots, TerminalOptionsAndGpsAnalyzer) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  GpsFormView analyzer(*rig.app);
  auto& m = rig.main();
  main.resize(m.width(), m.height());
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  m.Tab1.setTab(forms::tabs::kTerminal);
  EXPECT_TRUE(save(main, folder, "bring-up-simulated.png"));
  m.Tab1.setTab(forms::tabs::kOptions);
  EXPECT_TRUE(save(main, folder, "options-tab.png"));

  // A device streaming its position: its first sentence shows the analyzer's menu entry;
  // the analyzer, emptied when it opens, fills with the sentences after.
  const auto receive = [&](const char* sentence) {
    rig.fromModem(sentence);
    rig.run(platform::Millis(100));
  };
  receive("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n");
  m.m_gps.click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&analyzer));
  rig.app->context().gpsForm.Check6.setChecked(true);
  for (const char* sentence : {
           "$GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*46\r\n",
           "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n",
           "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n",
           "$GPGSV,2,2,08,04,62,112,44,05,33,190,38,09,12,050,35,24,55,275,47*7C\r\n",
           "$GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*60\r\n",
       }) {
    receive(sentence);
  }
  EXPECT_TRUE(save(analyzer, folder, "gps-analyzer.png"));
}

// The analyzer with its NMEA statistics open after a dozen seconds of a device's stream,
// one sentence of which came with a wrong checksum.
TEST_F(Screenshots, GpsAnalyzerWithItsStatistics) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  GpsFormView analyzer(*rig.app);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  const char* second[] = {
      "$GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*4D\r\n",
      "$GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*60\r\n",
      "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n",
      "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n",
      "$GPGSV,2,2,08,04,62,112,44,05,33,190,38,09,12,050,35,24,55,275,47*79\r\n",
      "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n",
  };
  for (int s = 0; s < 12; ++s) {
    for (const char* sentence : second) rig.fromModem(sentence);
    if (s == 7)
      rig.fromModem("$GPRMC,123527,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*60\r\n");
    rig.run(platform::Millis(1000));
  }
  rig.main().m_gps.click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&analyzer));
  for (const char* sentence : second) rig.fromModem(sentence);
  rig.run(platform::Millis(400));
  auto& g = rig.app->context().gpsForm;
  g.Check6.setChecked(true);
  g.CheckStatistics.setChecked(true);
  EXPECT_TRUE(save(analyzer, folder, "nmea-statistics.png"));
}

TEST_F(Screenshots, RemoteToolDuringACall) {
  std::ofstream(rig.folder.path() / remote::kTrackingIni, std::ios::binary)
      << "\"/opt/mg/MGstart.EXE\"\r\n";
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  GpsFormView analyzer(*rig.app);
  RemoteFormView window(*rig.app);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  auto& r = rig.app->context().remoteForm;
  rig.app->parts().remote.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  r.Combo3.setText("0171");
  r.Command13.click();
  rig.run(platform::Millis(1200));
  EXPECT_TRUE(save(window, folder, "remote-dialling.png"));
  ASSERT_TRUE(rig.runUntil([&] { return !rig.state().dispatch.remoteConnectPending; },
                           platform::Millis(10000)));
  r.Combo2.choose(0);
  r.Command19.click();
  rig.run(platform::Millis(3300));
  EXPECT_TRUE(save(window, folder, "remote-call.png"));
}

// A drive recorded from a streaming device, then played back: the capture bar half way.
TEST_F(Screenshots, AReplayInProgress) {
  sim::ModemConfig streaming;
  streaming.nmeaFromPowerOn = true;
  streaming.gpsAcquisition = platform::Millis(0);
  const auto file = rig.folder.path() / "capture-2026-12-09-101500.d7ocap";
  {
    test::Rig live(streaming);
    capture::RecordingPort recorder(live.port, live.scheduler);
    ASSERT_FALSE(recorder.start(file, "rezedev7 8.0.7"));
    live.buildOn(recorder);
    live.app->load();
    live.app->activate();
    live.run(platform::Millis(60000));
    recorder.stop();
    live.app.reset();
  }
  test::Rig again;
  capture::ReplayPort replay(again.scheduler, file);
  capture::RecordingPort recorder(replay, again.scheduler);
  again.buildOn(recorder);
  again.app->load();
  MainWindowView main(*again.app, MainWindowView::Activation::ByCaller);
  GpsFormView analyzer(*again.app);
  again.app->parts().capture.attach(&recorder, &replay, file);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  again.app->activate();
  again.run(platform::Millis(20000));
  again.main().ReplaySpeed.choose(3);  // 10x
  again.run(platform::Millis(1000));
  EXPECT_TRUE(save(main, folder, "replay.png"));
}

// The signal window after an hour of monitoring a modem whose antenna someone moves.
TEST_F(Screenshots, SignalWindowAfterAnHour) {
  sim::ModemConfig wandering;
  wandering.rssiWander = true;
  test::Rig moving(wandering);
  ASSERT_TRUE(moving.bringUp());
  MainWindowView main(*moving.app, MainWindowView::Activation::ByCaller);
  SignalFormView window(*moving.app);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  moving.main().m_signal.click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  moving.app->context().signalForm.CheckMonitor.setChecked(true);
  moving.run(platform::Millis(3'600'000));
  QTest::qWait(kWidgetWaitMs / 2);  // the window's beat is slower than the others'
  EXPECT_TRUE(save(window, folder, "signal-window.png"));
}

}  // namespace
}  // namespace d7o::ui
