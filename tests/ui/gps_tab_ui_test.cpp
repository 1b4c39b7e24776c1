// The main window's "R7O-3 GPS" tab offscreen on the simulated device: its buttons,
// pressed as a user presses them, reach the device.

#include "forms/main_window.h"
#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

TEST(GpsTab, ReadGpsStringAndGpsContinueAskTheDevice) {
  test::Rig rig;
  // The module is up: the GPS tab is the user's to choose.
  ASSERT_TRUE(rig.bringUp());
  ASSERT_TRUE(rig.runUntil([&] { return rig.state().link.firmwareSupported; }, Millis(2000)));
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  tabs->setCurrentIndex(forms::tabs::kGps);
  ASSERT_EQ(rig.main().Tab1.tab(), forms::tabs::kGps);
  rig.wire();  // what the start sent

  auto* readString = window.findChild<QPushButton*>(QStringLiteral("Command8"));
  auto* gpsContinue = window.findChild<QPushButton*>(QStringLiteral("Command30"));
  ASSERT_NE(readString, nullptr);
  ASSERT_NE(gpsContinue, nullptr);
  ASSERT_TRUE(waitFor([&] { return readString->isVisible() && gpsContinue->isVisible(); }))
      << "both are on the tab the user sees";
  EXPECT_EQ(readString->text(), QStringLiteral("read GPS-String"));
  EXPECT_EQ(gpsContinue->text(), QStringLiteral("GPS-continue"));

  QTest::mouseClick(readString, Qt::LeftButton);
  EXPECT_EQ(rig.wire(), "&REQ POS\r");
  QTest::mouseClick(gpsContinue, Qt::LeftButton);
  EXPECT_EQ(rig.wire(), "&REQ INT\r");
  // The device answers; the program goes on as with any other reply.
  rig.run(Millis(500));
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

}  // namespace
}  // namespace d7o::ui
