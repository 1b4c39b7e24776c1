// The main window's "R7O-3 Alarm" tab offscreen: a kind typed into a combo reaches the
// model without a rebuild, and "Sample" shows and hides the wiring sample.

#include "forms/main_window.h"
#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

struct AlarmTab {
  AlarmTab() : window(open()) {}
  MainWindowView* open() {
    rig.startAnswered();
    rig.state().link.firmwareSupported = true;
    return new MainWindowView(*rig.app, MainWindowView::Activation::ByCaller);
  }
  ~AlarmTab() { delete window; }
  test::Rig rig;
  MainWindowView* window;
};

TEST(AlarmTab, TypedKindReachesTheModelWithoutARebuild) {
  AlarmTab t;
  t.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(t.window));
  t.window->findChild<QTabWidget*>(QStringLiteral("Tab1"))->setCurrentIndex(forms::tabs::kAlarm);
  auto* kind = t.window->findChild<QComboBox*>(QStringLiteral("Combo2"));
  ASSERT_NE(kind, nullptr);
  ASSERT_TRUE(kind->isEditable());
  const std::string before = t.rig.main().Text24.text();
  kind->setFocus();
  QTest::keyClicks(kind->lineEdit(), QStringLiteral("Fax"));
  EXPECT_EQ(t.rig.main().Combo2.text(), "Fax");
  EXPECT_EQ(t.rig.main().Text24.text(), before);
  EXPECT_EQ(kind->count(), 4) << "typed text never becomes an entry";
}

TEST(AlarmTab, SampleShowsAndHidesTheWiringSample) {
  AlarmTab t;
  t.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(t.window));
  t.window->findChild<QTabWidget*>(QStringLiteral("Tab1"))->setCurrentIndex(forms::tabs::kAlarm);
  auto* sample = t.window->findChild<QWidget*>(QStringLiteral("Picture2"));
  auto* button = t.window->findChild<QPushButton*>(QStringLiteral("Command52"));
  ASSERT_NE(sample, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(sample->isVisible());
  ASSERT_TRUE(waitFor([&] { return button->isVisible(); }));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return sample->isVisible(); }));
  EXPECT_TRUE(waitFor([&] { return button->text() == QStringLiteral("Sample OFF"); }));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return !sample->isVisible(); }));
  EXPECT_TRUE(waitFor([&] { return button->text() == QStringLiteral("Sample"); }));
}

}  // namespace
}  // namespace d7o::ui
