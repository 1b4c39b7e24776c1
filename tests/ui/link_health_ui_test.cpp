// The link's health as the window shows it: an error row's meaning on hovering and for a
// screen reader, and the port's state beside the CTS lamp, read out with its role.

#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <memory>

#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

class LinkHealthUi : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    rig.startAnswered();
    view = std::make_unique<MainWindowView>(*rig.app, MainWindowView::Activation::ByCaller);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    terminal = view->findChild<QListWidget*>(QStringLiteral("List3"));
    portState = view->findChild<QLabel*>(QStringLiteral("PortState"));
    ASSERT_NE(terminal, nullptr);
    ASSERT_NE(portState, nullptr);
  }
  void TearDown() override { view.reset(); }

  QListWidgetItem* shownRow(const QString& text) {
    for (int i = terminal->count() - 1; i >= 0; --i) {
      if (terminal->item(i)->text().contains(text)) return terminal->item(i);
    }
    return nullptr;
  }
  QString accessibleName(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
  }

  test::Rig rig;
  std::unique_ptr<MainWindowView> view;
  QListWidget* terminal = nullptr;
  QLabel* portState = nullptr;
};

TEST_F(LinkHealthUi, AnErrorRowCarriesItsMeaningAsTooltipAndDescription) {
  rig.send("AT+CPIN=0000");
  const QString meaning = QStringLiteral("+CME ERROR: 3: operation not allowed");
  ASSERT_TRUE(waitFor([&] { return shownRow(QStringLiteral("+CME ERROR: 3")) != nullptr; }));
  QListWidgetItem* error = shownRow(QStringLiteral("+CME ERROR: 3"));
  EXPECT_EQ(error->text(), QStringLiteral("+CME ERROR: 3  ")) << "the row's text as it came";
  EXPECT_EQ(error->toolTip(), meaning);
  EXPECT_EQ(error->data(Qt::AccessibleDescriptionRole).toString(), meaning);
  QListWidgetItem* echo = shownRow(QStringLiteral("AT+CPIN=0000"));
  ASSERT_NE(echo, nullptr);
  EXPECT_TRUE(echo->toolTip().isEmpty());
  EXPECT_FALSE(echo->data(Qt::AccessibleDescriptionRole).isValid());

  // A screen reader hears it from the list's row as well.
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(terminal);
  ASSERT_NE(list, nullptr);
  bool heard = false;
  for (int i = 0; i < list->childCount(); ++i) {
    QAccessibleInterface* row = list->child(i);
    if (row != nullptr && row->text(QAccessible::Name).contains(QStringLiteral("+CME ERROR: 3"))) {
      heard = row->text(QAccessible::Description) == meaning;
    }
  }
  EXPECT_TRUE(heard);
}

TEST_F(LinkHealthUi, ThePortStateSitsBesideTheCtsLampAndIsReadWithItsRole) {
  auto* tabs = view->findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_TRUE(tabs->widget(forms::tabs::kTerminal)->isAncestorOf(portState));
  rig.run(Millis(2500));
  ASSERT_TRUE(waitFor([&] { return portState->text() == QStringLiteral("no data"); }));
  EXPECT_EQ(accessibleName(portState), QStringLiteral("port: no data"));

  for (int i = 0; i < 4; ++i) rig.send("AT+CSQ");
  ASSERT_TRUE(
      waitFor([&] { return portState->text().startsWith(QStringLiteral("modem replies, ")); }));
  EXPECT_EQ(accessibleName(portState), QStringLiteral("port: ") + portState->text());
  EXPECT_TRUE(portState->text().endsWith(QStringLiteral(" B/s")));
}

}  // namespace
}  // namespace d7o::ui
