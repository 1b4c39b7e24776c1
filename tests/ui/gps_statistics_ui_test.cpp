// The analyzer's NMEA statistics panel offscreen, on sentences from the simulated device in
// virtual time: its box opens and shuts it from the keyboard and for a screen reader, and
// it shows the counts, a wrong checksum in red.

#include "forms/gps_form.h"
#include "support/rig.h"
#include "ui/gps_form_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <memory>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

constexpr const char* kRmc =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
constexpr const char* kRmcDamaged =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,123.4,230394,003.1,W*6A\r\n";
constexpr const char* kGga =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

QString labelText(const QWidget& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
  return label == nullptr ? QStringLiteral("<no %1>").arg(QString::fromLatin1(name))
                          : label->text();
}

class GpsStatisticsPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.startWithOpenPort();
    view = std::make_unique<GpsFormView>(*rig.app);
    for (const char* line : {kRmc, kGga, kRmcDamaged, "OK\r\n"}) rig.fromModem(line);
    rig.run(Millis(100));
    ASSERT_TRUE(rig.state().dispatch.gpsReceiveMode);
    rig.main().m_gps.click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    box = view->findChild<QCheckBox*>(QStringLiteral("CheckStatistics"));
    frame = view->findChild<QGroupBox*>(QStringLiteral("NmeaStatistics"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(frame, nullptr);
  }

  forms::GpsForm& model() { return rig.app->context().gpsForm; }

  test::Rig rig;
  std::unique_ptr<GpsFormView> view;
  QCheckBox* box = nullptr;
  QGroupBox* frame = nullptr;
};

TEST_F(GpsStatisticsPanel, TheSpaceBarOnItsBoxOpensItWithTheCountsAndShutsIt) {
  EXPECT_FALSE(frame->isVisible());
  EXPECT_NE(box->focusPolicy() & Qt::TabFocus, 0);
  QApplication::setActiveWindow(view.get());
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(box, Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return frame->isVisible(); }));
  EXPECT_TRUE(model().CheckStatistics.checked());
  EXPECT_EQ(box->text(), QStringLiteral("hide statistics"));
  ASSERT_TRUE(waitFor([&] { return labelText(*view, "StatCountRMC") == QStringLiteral("2"); }));
  EXPECT_EQ(labelText(*view, "StatCountGGA"), QStringLiteral("1"));
  EXPECT_EQ(labelText(*view, "StatBadRMC"), QStringLiteral("1"));
  EXPECT_EQ(labelText(*view, "StatBadGGA"), QStringLiteral("0"));
  EXPECT_EQ(labelText(*view, "StatNoNmea"), QStringLiteral("1"));
  EXPECT_EQ(labelText(*view, "StatAgeGSV"), QStringLiteral("-"));
  // The wrong checksum stands out in red.
  const auto* bad = view->findChild<QLabel*>(QStringLiteral("StatBadRMC"));
  EXPECT_EQ(bad->palette().color(bad->backgroundRole()), QColor(255, 0, 0));

  QTest::keyClick(box, Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return !frame->isVisible(); }));
  EXPECT_EQ(box->text(), QStringLiteral("show statistics"));
  EXPECT_FALSE(model().StatisticsTimer.enabled());
}

TEST_F(GpsStatisticsPanel, AScreenReaderTogglesItAndPressesItsReset) {
  QAccessibleInterface* toggle = QAccessible::queryAccessibleInterface(box);
  ASSERT_NE(toggle, nullptr);
  EXPECT_EQ(toggle->text(QAccessible::Name), QStringLiteral("show statistics"));
  toggle->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  ASSERT_TRUE(waitFor([&] { return frame->isVisible(); }));
  ASSERT_TRUE(waitFor([&] { return labelText(*view, "StatCountRMC") == QStringLiteral("2"); }));
  const auto* count = view->findChild<QLabel*>(QStringLiteral("StatCountRMC"));
  EXPECT_EQ(count->accessibleDescription(), QStringLiteral("RMC count"));

  auto* reset = view->findChild<QWidget*>(QStringLiteral("StatReset"));
  ASSERT_NE(reset, nullptr);
  QAccessible::queryAccessibleInterface(reset)->actionInterface()->doAction(
      QAccessibleActionInterface::pressAction());
  ASSERT_TRUE(waitFor([&] { return labelText(*view, "StatCountRMC") == QStringLiteral("0"); }));
  EXPECT_EQ(labelText(*view, "StatBytes"), QStringLiteral("0"));

  // The timer brings new sentences in while it shows.
  rig.fromModem(kGga);
  rig.run(Millis(1000));
  EXPECT_TRUE(waitFor([&] { return labelText(*view, "StatCountGGA") == QStringLiteral("1"); }));
}

}  // namespace
}  // namespace d7o::ui
