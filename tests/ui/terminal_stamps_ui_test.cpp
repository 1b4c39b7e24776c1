// The terminal's "time stamps" box as a user or an automation script ticks it: the rows
// show their time of arrival and the sent lines their mark, a screen reader hears the
// text first, and a row double-clicked while stamped is still the model's row.

#include "forms/controls.h"
#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

class TerminalStampsUi : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    rig.startAnswered();
    view = std::make_unique<MainWindowView>(*rig.app, MainWindowView::Activation::ByCaller);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    box = view->findChild<QCheckBox*>(QStringLiteral("CheckTimeStamps"));
    terminal = view->findChild<QListWidget*>(QStringLiteral("List3"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(terminal, nullptr);
  }
  void TearDown() override { view.reset(); }

  // The rows as the list shows them.
  QStringList shown() {
    QStringList rows;
    for (int i = 0; i < terminal->count(); ++i) rows << terminal->item(i)->text();
    return rows;
  }
  // The model's rows, stamped or not.
  QStringList rows(bool stamped) {
    const forms::ListBox& list = rig.main().List3;
    QStringList out;
    for (int i = 0; i < list.count(); ++i) {
      out << QString::fromLatin1(stamped ? forms::stampedRow(list.stamp(i), list.item(i))
                                         : list.item(i));
    }
    return out;
  }
  int rowOf(const std::string& text) {
    const auto& items = rig.main().List3.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == text) return static_cast<int>(i);
    }
    return -1;
  }

  test::Rig rig;
  std::unique_ptr<MainWindowView> view;
  QCheckBox* box = nullptr;
  QListWidget* terminal = nullptr;
};

TEST_F(TerminalStampsUi, TheBoxSitsUnderTheTerminalOffAndNamed) {
  auto* tabs = view->findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_TRUE(tabs->widget(forms::tabs::kTerminal)->isAncestorOf(box));
  EXPECT_EQ(box->text(), QStringLiteral("time stamps"));
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name),
            QStringLiteral("show time stamps in the terminal"));
  // Near the terminal, below it, and whole at the window's start size.
  const QRect list(terminal->mapTo(view.get(), QPoint(0, 0)), terminal->size());
  const QPoint at = box->mapTo(view.get(), QPoint(0, 0));
  EXPECT_GE(at.y(), list.bottom());
  EXPECT_LE(at.y(), list.bottom() + 3 * box->height());
  EXPECT_GE(box->width(), box->sizeHint().width());
  EXPECT_TRUE(box->isVisible());
}

TEST_F(TerminalStampsUi, TickedTheRowsShowTheirTimeAndMarkUntickedTheirTextAlone) {
  rig.run(Millis(1234));
  rig.send("AT+CSQ");
  ASSERT_EQ(rig.main().List3.item(0), "AT+CSQ   ");
  ASSERT_TRUE(waitFor([&] { return shown() == rows(false); }));

  box->setChecked(true);
  EXPECT_TRUE(rig.main().CheckTimeStamps.checked());
  EXPECT_TRUE(waitFor([&] { return shown() == rows(true); })) << shown().join('|').toStdString();
  const QString time =
      QString::fromLatin1(forms::timeOfDayText(rig.main().List3.stamp(0).timeOfDay));
  EXPECT_TRUE(time.startsWith(QStringLiteral("09:30:01.2"))) << time.toStdString();
  EXPECT_EQ(terminal->item(0)->text(), time + QStringLiteral(" > AT+CSQ   "));
  // A screen reader says the row first, then when it came.
  EXPECT_EQ(terminal->item(0)->data(Qt::AccessibleTextRole).toString(),
            QStringLiteral("AT+CSQ, sent at ") + time);
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(terminal);
  ASSERT_NE(list, nullptr);
  bool spoken = false;
  for (int i = 0; i < list->childCount(); ++i) {
    spoken = spoken ||
             list->child(i)->text(QAccessible::Name) == QStringLiteral("AT+CSQ, sent at ") + time;
  }
  EXPECT_TRUE(spoken);

  // Rows that come while it is ticked come stamped.
  rig.send("AT+CREG?");
  EXPECT_TRUE(waitFor([&] { return shown() == rows(true); })) << shown().join('|').toStdString();

  box->setChecked(false);
  EXPECT_FALSE(rig.main().List3.showStamps());
  EXPECT_TRUE(waitFor([&] { return shown() == rows(false); })) << shown().join('|').toStdString();
  EXPECT_FALSE(terminal->item(0)->data(Qt::AccessibleTextRole).isValid());
}

// A narrow window scrolls sideways to a row's end, stamp and all.
TEST_F(TerminalStampsUi, TheRowsWidenWithTheirStamps) {
  rig.send("AT+CSQ");
  view->resize(500, view->height());
  const QScrollBar* bar = terminal->horizontalScrollBar();
  ASSERT_TRUE(waitFor([&] { return shown() == rows(false) && bar->maximum() > 0; }));
  const int plain = bar->maximum();
  box->setChecked(true);
  const int stampWidth = terminal->fontMetrics().horizontalAdvance(
      QString::fromLatin1(forms::stampedRow({0, true}, "")));
  EXPECT_TRUE(waitFor([&] { return bar->maximum() >= plain + stampWidth; }))
      << plain << " -> " << bar->maximum();
  box->setChecked(false);
  EXPECT_TRUE(waitFor([&] { return bar->maximum() == plain; })) << bar->maximum();
}

// Each row of the list is the model's row: a double click on a stamped echo sends its
// command again, not the stamp and not another row's.
TEST_F(TerminalStampsUi, ADoubleClickOnAStampedRowSendsItsOwnCommand) {
  rig.send("AT+CSQ");
  rig.send("AT+CREG?");
  box->setChecked(true);
  ASSERT_TRUE(waitFor([&] { return shown() == rows(true); }));
  const int echo = rowOf("AT+CSQ   ");
  ASSERT_EQ(echo, 0);
  ASSERT_GT(terminal->count(), 3);
  rig.wire();

  terminal->scrollToItem(terminal->item(echo));
  const QPoint onEcho = terminal->visualItemRect(terminal->item(echo)).center();
  QTest::mouseClick(terminal->viewport(), Qt::LeftButton, {}, onEcho);
  QTest::mouseDClick(terminal->viewport(), Qt::LeftButton, {}, onEcho);
  EXPECT_EQ(rig.main().List3.listIndex(), echo);
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");
  rig.run(Millis(500));
  EXPECT_TRUE(waitFor([&] { return shown() == rows(true); }));
  EXPECT_EQ(terminal->count(), rig.main().List3.count());
}

}  // namespace
}  // namespace d7o::ui
