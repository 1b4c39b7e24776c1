// The GPS analyzer window offscreen on the simulated device's NMEA stream, in virtual
// time: opened from the main window's menu, filled by the stream, closed by Exit or by
// its close button.

#include "ui/gps_form_view.h"

#include "forms/gps_form.h"
#include "gps/analyzer.h"
#include "gps/course_display.h"
#include "support/rig.h"
#include "ui/compass_widget.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <string>

#include <QAction>
#include <QCheckBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

constexpr int kCloseWaitMs = 2000;

QString labelText(const QWidget& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
  return label == nullptr ? QStringLiteral("<no %1>").arg(QString::fromLatin1(name))
                          : label->text();
}

bool anyBarFilled(const QWidget& window) {
  for (int row = 1; row <= forms::GpsForm::kSatelliteRows; ++row) {
    const auto* bar = window.findChild<QProgressBar*>(QStringLiteral("Bar(%1)").arg(row));
    if (bar != nullptr && bar->value() > 0) return true;
  }
  return false;
}

class GpsFormViewStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    ASSERT_TRUE(rig.start());
    rig.app->activate();
    ASSERT_TRUE(rig.untilGpsStreams());
  }

  forms::GpsForm& model() { return rig.app->context().gpsForm; }

  test::Rig rig{test::streamingGpsDevice()};
};

TEST_F(GpsFormViewStreamTest, MenuOpensTheFilledWindowAndExitBringsTheMainWindowBack) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  GpsFormView gps(*rig.app);
  main.show();
  EXPECT_FALSE(gps.isVisible());
  EXPECT_EQ(gps.objectName(), QStringLiteral("GPSform"));

  auto* menuEntry = main.findChild<QAction*>(QStringLiteral("m_gps"));
  ASSERT_NE(menuEntry, nullptr);
  menuEntry->trigger();
  EXPECT_TRUE(gps.isVisible());
  EXPECT_FALSE(rig.main().visible());
  EXPECT_EQ(gps.windowTitle(), QString::fromLatin1(model().caption()));
  EXPECT_TRUE(gps.isModal());

  const gps::GpsFix& fix = rig.app->gpsAnalyzer().fix();
  ASSERT_TRUE(rig.runUntil(
      [&] { return !fix.utc.empty() && !fix.lat.empty() && fix.satellites[0].bar > 0; },
      Millis(5000)));
  EXPECT_TRUE(waitFor([&] {
    return !labelText(gps, "Label56").isEmpty() && !labelText(gps, "Label61").isEmpty() &&
           anyBarFilled(gps);
  })) << "UTC "
      << labelText(gps, "Label56").toStdString() << ", latitude "
      << labelText(gps, "Label61").toStdString();
  EXPECT_TRUE(labelText(gps, "GPSstring").startsWith(QStringLiteral("$GP")));

  auto* frame = gps.findChild<QGroupBox*>(QStringLiteral("GPGSV"));
  auto* check6 = gps.findChild<QCheckBox*>(QStringLiteral("Check6"));
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(check6, nullptr);
  EXPECT_FALSE(frame->isVisible()) << "the satellite panel is hidden at first";
  check6->click();
  EXPECT_TRUE(waitFor([&] { return frame->isVisible(); }));
  EXPECT_EQ(check6->text(), QStringLiteral("hide satellite level"));
  check6->click();
  EXPECT_TRUE(waitFor([&] { return !frame->isVisible(); }));

  auto* exit = gps.findChild<QAction*>(QStringLiteral("m_exit"));
  ASSERT_NE(exit, nullptr);
  exit->trigger();
  EXPECT_FALSE(gps.isVisible());
  EXPECT_TRUE(rig.main().visible());
  EXPECT_TRUE(main.isVisible());
}

TEST_F(GpsFormViewStreamTest, TheCloseButtonIsExit) {
  GpsFormView gps(*rig.app);
  rig.main().m_gps.click();
  ASSERT_TRUE(gps.isVisible());

  gps.close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !model().visible(); }, kCloseWaitMs));
  EXPECT_FALSE(gps.isVisible());
  EXPECT_TRUE(rig.main().visible());
}

// One sentence of each kind, fed to a program with an open port.
class GpsFormViewValuesTest : public ::testing::Test {
 protected:
  void SetUp() override { rig.startWithOpenPort(); }

  void feed(const std::string& sentence) {
    rig.fromModem(sentence + "\r\n");
    rig.run(Millis(200));
  }

  forms::GpsForm& model() { return rig.app->context().gpsForm; }

  // The analyzer open, as its menu entry opens it: a hidden window shows nothing new.
  void open(GpsFormView& gps) {
    model().setVisible(true);
    ASSERT_TRUE(gps.isVisible());
  }

  test::Rig rig;
};

TEST_F(GpsFormViewValuesTest, EveryValueLabelShowsItsFieldOfTheFix) {
  GpsFormView gps(*rig.app);
  open(gps);
  feed("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
  feed("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39");
  feed("$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,29,14,22,228,45*74");
  feed("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A");
  const gps::GpsFix& fix = rig.app->gpsAnalyzer().fix();
  // The labels follow the fix on the window's beat, not with every sentence.
  ASSERT_TRUE(waitFor([&] { return labelText(gps, "Label92").toStdString() == fix.course; }));

  struct Case {
    const char* label;
    const std::string& text;
  };
  const Case cases[] = {
      {"Label56", fix.utc},
      {"Label54", fix.date},
      {"Label61", fix.lat},
      {"Label87", fix.ns},
      {"Label86", fix.lon},
      {"Label62", fix.ew},
      {"Label21", fix.inUse},
      {"Label53", fix.validity},
      {"Label59", fix.speed},
      {"Label43", fix.speedUnit},
      {"Label92", fix.course},
      {"Label15", fix.courseShown},
      {"Label14", fix.altitude},
      {"Label17", fix.quality},
      {"Label63", fix.mode},
      {"Label64", fix.fixType},
      {"Label65", fix.prn[0]},
      {"Label75", fix.prn[1]},
      {"Label66", fix.pdop},
      {"Label67", fix.hdop},
      {"Label68", fix.vdop},
      {"Anzahl", fix.inView},
      {"Nr(1)", fix.satellites[0].nr},
      {"EL(1)", fix.satellites[0].el},
      {"AZ(1)", fix.satellites[0].az},
      {"Lev(3)", fix.satellites[2].lev},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_FALSE(c.text.empty()) << "the sentences fill every value";
    EXPECT_EQ(labelText(gps, c.label).toStdString(), c.text);
  }

  auto* validity = gps.findChild<QLabel*>(QStringLiteral("Label53"));
  EXPECT_TRUE(validity->autoFillBackground());
  EXPECT_EQ(validity->palette().color(QPalette::Window), QColor(0, 255, 0));
  auto* weak = gps.findChild<QProgressBar*>(QStringLiteral("Bar(3)"));
  auto* strong = gps.findChild<QProgressBar*>(QStringLiteral("Bar(1)"));
  EXPECT_EQ(weak->value(), fix.satellites[2].bar);
  EXPECT_EQ(strong->value(), fix.satellites[0].bar);
  EXPECT_TRUE(weak->styleSheet().contains(QStringLiteral("#ff0000"))) << "below 31 is red";
  EXPECT_TRUE(strong->styleSheet().contains(QStringLiteral("#00ff00")));

  // The protocol boxes follow on the same beat: the sentence received last is green.
  for (const char* name : {"Check1", "Check2", "Check3", "Check4", "Check5"}) {
    SCOPED_TRACE(name);
    auto* box = gps.findChild<QCheckBox*>(QString::fromLatin1(name));
    ASSERT_NE(box, nullptr);
    const bool rmc = box->text() == QStringLiteral("GPRMC");
    EXPECT_EQ(box->palette().color(QPalette::Window), rmc ? QColor(0, 255, 0) : QColor(255, 0, 0));
  }
}

TEST_F(GpsFormViewValuesTest, TheNeedleFollowsTheCourseInThePanelsOwnPixels) {
  GpsFormView gps(*rig.app);
  open(gps);
  ASSERT_NE(gps.findChild<CompassPanel*>(QStringLiteral("Panel1")), nullptr);
  auto* panel = gps.findChild<CompassNeedle*>(QStringLiteral("Line1"));
  ASSERT_NE(panel, nullptr);
  constexpr forms::Rect r = forms::GpsForm::kPanel1;
  EXPECT_EQ(panel->needleCentre(), QPoint(r.width / 2, r.height / 2));
  EXPECT_EQ(panel->needleEnd(), QPoint(r.width / 2, 0)) << "north at first";

  feed("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,090.0,230394,003.1,W*6A");
  const forms::Point end = *gps::needleEndFor(90, r);
  EXPECT_TRUE(waitFor([&] { return panel->needleEnd() == QPoint(end.x - r.left, end.y - r.top); }));
  for (const char* scale : {"Label1", "Label7", "Label3", "Label4"}) {
    EXPECT_FALSE(labelText(gps, scale).isEmpty()) << scale;
  }
}

TEST_F(GpsFormViewValuesTest, PointingAtTheGpgsvBoxTellsWhatAClickDoes) {
  GpsFormView gps(*rig.app);
  open(gps);
  auto* check1 = gps.findChild<QCheckBox*>(QStringLiteral("Check1"));
  auto* check2 = gps.findChild<QCheckBox*>(QStringLiteral("Check2"));
  ASSERT_NE(check1, nullptr);
  const QString designed = check2->toolTip();

  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QCoreApplication::sendEvent(check1, &enter);
  const QString tip = QStringLiteral("select GPGSV protocol only");
  EXPECT_TRUE(waitFor([&] { return check1->toolTip() == tip; }));
  EXPECT_EQ(check2->toolTip(), designed);
  // A colour change of the box repaints it from the model, which keeps the new tip.
  feed("$GPGSV,2,2,08,15,11,052,33*40");
  EXPECT_TRUE(
      waitFor([&] { return check1->palette().color(QPalette::Window) == QColor(0, 255, 0); }));
  EXPECT_EQ(check1->toolTip(), tip);
}

}  // namespace
}  // namespace d7o::ui
