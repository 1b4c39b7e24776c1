// The terminal and the remote tool from the keyboard alone, and names a screen reader can
// tell apart: Return on a prepared command sends it, Return on a terminal line edits and
// sends it, the command line opens the remote tool; no two controls of a tab share a name,
// none takes its frame's title, a lamp says its state in words, and a status text that
// does not fit is cut at its end, never at its start.

#include "support/rig.h"
#include "ui/elided_label.h"
#include "ui/main_window_view.h"
#include "ui/remote_form_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace d7o::ui {
namespace {

using platform::Millis;

class KeyboardWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    rig.startAnswered();
    rig.state().link.firmwareSupported = true;
    view = std::make_unique<MainWindowView>(*rig.app, MainWindowView::Activation::ByCaller);
    view->show();
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  }
  void TearDown() override { view.reset(); }

  template <typename W>
  W* find(const char* name) {
    return view->findChild<W*>(QString::fromLatin1(name));
  }

  test::Rig rig;
  std::unique_ptr<MainWindowView> view;
};

int rowOf(const QListWidget& list, const QString& text) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.item(i)->text() == text) return i;
  }
  return -1;
}

// Moves the selection with the arrow keys to `row`. The keys select the row they move to;
// the last step is always a move, as the focus may already stand on the row unselected.
void selectByKeys(QListWidget* list, int row) {
  list->setFocus(Qt::TabFocusReason);
  if (row + 1 < list->count()) {
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i <= row; ++i) QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Up);
  } else {
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Down);
  }
}

TEST_F(KeyboardWalk, SendsACommandResendsAnEditedLineAndOpensTheRemoteTool) {
  auto* commands = find<QListWidget>("List1");
  ASSERT_NE(commands, nullptr);
  const int csq = rowOf(*commands, QStringLiteral("AT+CSQ"));
  ASSERT_GE(csq, 0);
  selectByKeys(commands, csq);
  ASSERT_EQ(rig.main().List1.listIndex(), csq);
  QTest::keyClick(commands, Qt::Key_Return);
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");
  rig.run(Millis(500));

  // The echo line, edited in the box Return opens, goes out as edited.
  auto* terminal = find<QListWidget>("List3");
  ASSERT_TRUE(waitFor([&] { return rowOf(*terminal, QStringLiteral("AT+CSQ   ")) >= 0; }));
  const int echo = rowOf(*terminal, QStringLiteral("AT+CSQ   "));
  selectByKeys(terminal, echo);
  ASSERT_EQ(rig.main().List3.listIndex(), echo) << terminal->currentRow();
  rig.dialogs.answerInput("AT+CREG?");
  QTest::keyClick(terminal, Qt::Key_Return);
  ASSERT_FALSE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.dialogs.shown.back().defaultText, "AT+CSQ   ");
  EXPECT_EQ(rig.wire(), "AT+CREG?\r");
  // The context-menu key does the same.
  rig.dialogs.answerInput("AT+COPS?");
  QTest::keyClick(terminal, Qt::Key_Menu);
  EXPECT_EQ(rig.wire(), "AT+COPS?\r");

  // The command line: typed, Return, and the remote tool opens.
  RemoteFormView remote(*rig.app);
  auto* line = find<QLineEdit>("CommandLine");
  ASSERT_NE(line, nullptr);
  line->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(line, "&remote");
  QTimer::singleShot(0, [&] { rig.app->context().remoteForm.m_exit.click(); });
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_TRUE(rig.app->context().remoteForm.loaded) << "the remote tool opened";
  EXPECT_EQ(rig.wire(), "") << "the word is the program's own";
  EXPECT_TRUE(waitFor([&] { return line->text().isEmpty(); }));
  QTest::keyClick(line, Qt::Key_Up);
  EXPECT_TRUE(waitFor([&] { return line->text() == QStringLiteral("&remote"); }));
}

// The controls of `form` on `page`, by their accessible names.
std::map<QString, std::vector<std::string>> namesOnPage(QWidget* page, const forms::Form& form) {
  std::map<QString, std::vector<std::string>> byName;
  for (const forms::Control* control : form.controls()) {
    auto* widget = page->findChild<QWidget*>(QString::fromStdString(control->name()));
    if (widget == nullptr) continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (accessible == nullptr) continue;
    byName[accessible->text(QAccessible::Name)].push_back(control->name());
  }
  return byName;
}

TEST_F(KeyboardWalk, NoTwoControlsOfATabShareANameAndNoneTakesItsFramesTitle) {
  auto* tabs = find<QTabWidget>("Tab1");
  for (int tab = 0; tab < tabs->count(); ++tab) {
    SCOPED_TRACE("tab " + std::to_string(tab));
    QWidget* page = tabs->widget(tab);
    for (const auto& [name, controls] : namesOnPage(page, rig.main())) {
      // The separating lines are all "separator", and say nothing else.
      if (name == QStringLiteral("separator")) continue;
      EXPECT_EQ(controls.size(), 1u)
          << name.toStdString() << " names " << controls.front() << " and " << controls.back();
    }
    for (const forms::Control* control : rig.main().controls()) {
      auto* widget = page->findChild<QWidget*>(QString::fromStdString(control->name()));
      QAccessibleInterface* accessible =
          widget == nullptr ? nullptr : QAccessible::queryAccessibleInterface(widget);
      if (accessible == nullptr) continue;
      const QString name = accessible->text(QAccessible::Name);
      for (QWidget* up = widget->parentWidget(); up != nullptr && up != page;
           up = up->parentWidget()) {
        if (const auto* frame = qobject_cast<QGroupBox*>(up); frame && !frame->title().isEmpty()) {
          EXPECT_NE(name, frame->title()) << control->name() << " takes its frame's title";
        }
      }
    }
  }
}

TEST_F(KeyboardWalk, ALampSaysItsStateAndAStatusTextIsCutAtItsEnd) {
  auto* lamp = find<QWidget>("Label2");
  const auto nameOf = [](QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
  };
  rig.main().Label2.setBackColor(forms::colors::kGreen);
  EXPECT_TRUE(waitFor([&] {
    return nameOf(lamp) == QStringLiteral("network registration: registered");
  })) << nameOf(lamp).toStdString();
  rig.main().Label2.setBackColor(forms::colors::kRed);
  EXPECT_TRUE(waitFor(
      [&] { return nameOf(lamp) == QStringLiteral("network registration: not registered"); }));

  // A narrow window: the line settings' field shows the start of its text.
  view->resize(400, view->height());
  const QString whole = QStringLiteral("...no answer from modem, check cable and power...");
  rig.main().Text2.setText(whole.toStdString());
  auto* field = find<ElidedLabel>("Text2");
  ASSERT_NE(field, nullptr);
  ASSERT_TRUE(waitFor([&] { return field->fullText() == whole; }));
  EXPECT_TRUE(waitFor([&] { return field->text() != whole; })) << "the field is narrower";
  EXPECT_TRUE(field->text().startsWith(QStringLiteral("...no")));
  EXPECT_TRUE(field->text().endsWith(QChar(0x2026)));
  EXPECT_EQ(field->toolTip(), whole);
  EXPECT_EQ(nameOf(field), whole);
}

TEST_F(KeyboardWalk, TheWindowKeepsTheUsersSizeWhenTheRemoteToolOpens) {
  RemoteFormView remote(*rig.app);
  view->resize(900, 700);
  ASSERT_TRUE(waitFor([&] { return rig.main().width() == 900 && rig.main().height() == 700; }));
  QTimer::singleShot(0, [&] { rig.app->context().remoteForm.m_exit.click(); });
  rig.main().List1.addItem("&REMOTE");
  rig.main().List1.setListIndex(rig.main().List1.count() - 1);
  rig.main().List1.DblClick.emit();
  QTest::qWait(200);
  EXPECT_EQ(view->size(), QSize(900, 700));
  // A long map address does not widen the remote tool.
  const int width = remote.width();
  rig.app->context().remoteForm.Label62.setCaption(std::string(300, 'x'));
  QTest::qWait(200);
  EXPECT_EQ(remote.width(), width);
}

}  // namespace
}  // namespace d7o::ui

namespace d7o::ui {
namespace {

// The window opens at a size that shows every tab whole where the screen has room for it
// (the tests run on a screen of 1280x1024), and takes the screen where it has not.
TEST(StartSize, EveryTabShowsWholeOnABenchScreen) {
  test::Rig rig;
  rig.writeDefaultIni();
  rig.startAnswered();
  rig.state().link.firmwareSupported = true;
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  const QSize start(rig.main().width(), rig.main().height());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.size(), start);
  const QRect screen = window.screen()->availableGeometry();
  const bool roomy = start.width() < screen.width() - 8 && start.height() < screen.height() - 32;
  ASSERT_TRUE(roomy) << "the test screen is too small: " << screen.width() << "x"
                     << screen.height();
  EXPECT_TRUE(screen.contains(QRect(QPoint(rig.main().left(), rig.main().top()), start)))
      << "centred on the screen";
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  for (int tab = 0; tab < tabs->count(); ++tab) {
    SCOPED_TRACE("tab " + std::to_string(tab));
    rig.main().Tab1.setTab(tab);
    ASSERT_TRUE(waitFor([&] { return tabs->currentIndex() == tab; }));
    auto* area = qobject_cast<QScrollArea*>(tabs->widget(tab));
    if (area == nullptr) continue;
    QTest::qWait(50);
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 0) << "the tab scrolls";
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0) << "the tab scrolls";
  }
}

}  // namespace
}  // namespace d7o::ui
