// The main window's "R7O-3 GPS" tab offscreen on the simulated device: its buttons,
// pressed as a user presses them, reach the device.

#include "forms/main_window.h"
#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

TEST(GpsTab, ClicksBuildTheLinesAndSendTheStagedOne) {
  test::Rig rig;
  rig.startAnswered();
  rig.state().link.firmwareSupported = true;
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.findChild<QTabWidget*>(QStringLiteral("Tab1"))->setCurrentIndex(forms::tabs::kGps);
  auto& m = rig.main();
  auto* staged = window.findChild<QLineEdit*>(QStringLiteral("Text10"));
  auto* list = window.findChild<QListWidget*>(QStringLiteral("List5"));
  auto* interval = window.findChild<QLabel*>(QStringLiteral("Spin1"));
  auto* send = window.findChild<QPushButton*>(QStringLiteral("Command22"));
  ASSERT_TRUE(staged && list && interval && send);
  ASSERT_TRUE(waitFor([&] { return list->isVisible() && list->count() == 6; }));
  auto shows = [&](const std::string& line) {
    return waitFor([&] { return staged->text() == QString::fromLatin1(line); });
  };

  // A click marks a row, a second one unmarks it; the line keeps the list's order.
  auto clickRow = [&](int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  };
  clickRow(2);
  clickRow(0);
  EXPECT_TRUE(shows("&CNF GPS,GPGGA;GPRMC,100"));
  clickRow(2);
  EXPECT_TRUE(shows("&CNF GPS,GPGGA,100"));
  EXPECT_EQ(m.List5.selectedItems(), std::vector<std::string>{"GPGGA"});

  // A double click on the interval: its click's 0, then 9999; a click alone: 0.
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command39")), Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return interval->text() == QStringLiteral("1"); }));
  QTest::mouseDClick(interval, Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return interval->text() == QStringLiteral("9999"); }));
  EXPECT_TRUE(shows("&CNF MSG,S0123456789,\"Car number 222\",9999"));
  QTest::mouseClick(interval, Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return interval->text() == QStringLiteral("0"); }));

  // On its box: a check box stretched by its layout does not take clicks beside its text.
  auto* ignored = window.findChild<QCheckBox*>(QStringLiteral("Check8"));
  QTest::mouseClick(ignored, Qt::LeftButton, {}, QPoint(8, ignored->height() / 2));
  EXPECT_TRUE(shows("&CNF IGN,-1"));
  rig.wire();
  ASSERT_TRUE(waitFor([&] { return send->isEnabled(); }));
  QTest::mouseClick(send, Qt::LeftButton);
  EXPECT_EQ(rig.wire(), "&CNF IGN,-1\r");
  EXPECT_TRUE(waitFor([&] { return !send->isEnabled(); }));
  // A line typed by hand enables it again.
  staged->setFocus();
  QTest::keyClicks(staged, QStringLiteral("0"));
  EXPECT_TRUE(waitFor([&] { return send->isEnabled(); }));
}

}  // namespace
}  // namespace d7o::ui
