// A whole remote session in the real Remote window offscreen, against the simulated modem
// and the distant device it reaches: dial, connect, choose the sentence, receive the
// position, hang up, leave.

#include "app/subsystems.h"
#include "forms/remote_form.h"
#include "remote/call_history.h"
#include "support/rig.h"
#include "ui/remote_form_view.h"
#include "ui/ui_wait.h"

#include <fstream>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

TEST(RemoteWindow, AWholeSessionAgainstTheSimulatedDevice) {
  test::Rig rig;
  rig.startAnswered();
  std::ofstream(rig.folder.path() / remote::kTrackingIni, std::ios::binary)
      << "\"/opt/mg/MGstart.EXE\"\r\n";
  RemoteFormView window(*rig.app);
  auto& m = rig.app->context().remoteForm;
  rig.app->parts().remote.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(
      waitFor([&] { return window.windowTitle() == QString::fromLatin1(forms::kRemoteTitle); }));
  rig.wire();

  auto* number = window.findChild<QComboBox*>(QStringLiteral("Combo3"));
  auto* start = window.findChild<QPushButton*>(QStringLiteral("Command13"));
  auto* stop = window.findChild<QPushButton*>(QStringLiteral("Command14"));
  auto* protocol = window.findChild<QComboBox*>(QStringLiteral("Combo2"));
  auto* status = window.findChild<QLabel*>(QStringLiteral("Label62"));
  auto* command = window.findChild<QLineEdit*>(QStringLiteral("Text6"));
  ASSERT_TRUE(number && start && stop && protocol && status && command);
  ASSERT_TRUE(waitFor([&] { return number->isVisible() && start->isEnabled(); }));

  number->setFocus();
  QTest::keyClicks(number->lineEdit(), QStringLiteral("0171"));
  QTest::mouseClick(start, Qt::LeftButton);
  EXPECT_EQ(rig.wire(), "ATD0171\r");
  EXPECT_TRUE(waitFor([&] { return status->text() == QStringLiteral("... wait for connect"); }));
  EXPECT_TRUE(waitFor([&] { return !start->isEnabled(); }));

  // The distant device answers; the carrier comes up and the window says so.
  ASSERT_TRUE(rig.runUntil([&] { return rig.modem.carrierDetect(); }, Millis(40000)));
  rig.run(Millis(300));
  EXPECT_EQ(m.caption(), forms::kRemoteControlOnTitle);
  EXPECT_TRUE(waitFor([&] { return window.windowTitle() == QStringLiteral("remote control ON"); }));
  EXPECT_TRUE(waitFor([&] { return status->text() == QStringLiteral("remote access"); }));

  // Only GGA from the device, then its stream: the analyzer has the position.
  protocol->setFocus();
  protocol->setCurrentIndex(1);
  Q_EMIT protocol->activated(1);
  EXPECT_EQ(rig.wire(), "&CNF GPS,GPGGA,100\r");
  command->setFocus();
  QTest::keyClicks(command, QStringLiteral("&REQ INT"));
  QTest::keyClick(command, Qt::Key_Return);
  EXPECT_EQ(rig.wire(), "&REQ INT\r");
  ASSERT_TRUE(rig.runUntil([&] { return !rig.app->context().gpsForm.Label61.caption().empty(); },
                           Millis(10000)));
  rig.run(Millis(300));
  EXPECT_TRUE(m.m_tracking.visible());

  // Leaving while connected is refused.
  rig.dialogs.shown.clear();
  m.m_exit.click();
  ASSERT_FALSE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.dialogs.shown.back().text, "data connection active, please stop remote access");
  EXPECT_TRUE(m.visible());

  QTest::mouseClick(stop, Qt::LeftButton);
  rig.run(Millis(1000));
  EXPECT_FALSE(rig.modem.carrierDetect());
  // The carrier stood until "ATH"; its drop is the last word.
  EXPECT_EQ(m.Label62.caption(), "remote connection released");
  EXPECT_TRUE(waitFor([&] { return start->isEnabled(); }));
  EXPECT_TRUE(
      waitFor([&] { return window.windowTitle() == QString::fromLatin1(forms::kRemoteTitle); }));

  m.m_exit.click();
  EXPECT_TRUE(waitFor([&] { return !window.isVisible(); }));
}

}  // namespace
}  // namespace d7o::ui
