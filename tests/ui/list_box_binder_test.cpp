// The list binder on a bare list box: it follows the items one by one, pages along with
// a streaming device on its window's beat, and raises the list's events as a user's list
// would.

#include "forms/controls.h"
#include "ui/binders.h"
#include "ui/refresh_beat.h"
#include "ui/ui_wait.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QTest>

namespace d7o::ui {
namespace {

// Counts how often a model signal fires.
struct Counter {
  int count = 0;
  void operator()() { ++count; }
};

constexpr int kBeatMs = 40;

QStringList itemsOf(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

TEST(ListBoxBinder, FollowsEveryChangeOfTheItems) {
  forms::ListBox model("List3");
  QWidget page;
  model.addItem("ATZ");
  auto* list = new QListWidget(&page);
  bind(list, model);
  EXPECT_EQ(list->objectName(), QStringLiteral("List3"));
  EXPECT_EQ(itemsOf(*list), QStringList({"ATZ"}));

  model.addItem("OK");
  model.addItem("AT+CSQ");
  EXPECT_EQ(itemsOf(*list), QStringList({"ATZ", "OK", "AT+CSQ"}));
  model.replaceItem(1, "ERROR");
  EXPECT_EQ(itemsOf(*list), QStringList({"ATZ", "ERROR", "AT+CSQ"}));
  model.removeItem(0);
  EXPECT_EQ(itemsOf(*list), QStringList({"ERROR", "AT+CSQ"}));
  model.clear();
  EXPECT_EQ(list->count(), 0);
}

// A device streaming at line rate: the view keeps its last line in sight, also when it
// was hidden behind another window while the lines came.
TEST(ListBoxBinder, AStreamingListKeepsItsLastLineInSightShownOrHidden) {
  forms::ListBox model("List3");
  QWidget page;
  page.resize(200, 120);
  new RefreshBeat(&page, kBeatMs);
  auto* list = new QListWidget(&page);
  list->resize(200, 120);
  bind(list, model);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  const auto stream = [&](int lines) {
    for (int i = 0; i < lines; ++i) {
      model.addItem("$GPGGA," + std::to_string(model.count()));
      model.setListIndex(model.count() - 1);
    }
  };
  const auto lastLineInSight = [&] {
    return list->viewport()->rect().intersects(list->visualItemRect(list->item(list->count() - 1)));
  };

  stream(200);
  EXPECT_TRUE(waitFor([&] { return list->count() == 200 && lastLineInSight(); }));
  EXPECT_EQ(list->currentRow(), 199) << "the selection follows on the beat";

  page.hide();
  stream(300);
  QTest::qWait(2 * kBeatMs);
  EXPECT_EQ(list->count(), 200) << "a hidden window copies nothing";
  page.show();
  EXPECT_EQ(list->count(), 500) << "it catches up as it shows";
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  EXPECT_EQ(list->currentRow(), 499);
  EXPECT_TRUE(waitFor(lastLineInSight)) << "and scrolls when it shows";

  // A list the user scrolled back stays where the user put it.
  model.setListIndex(-1);
  EXPECT_TRUE(waitFor([&] { return list->selectedItems().isEmpty(); }));
  list->scrollToTop();
  model.addItem("OK");
  EXPECT_TRUE(waitFor([&] { return list->count() == 501; }));
  // Scrolling would come with the beat that brought the line; a beat later it has not.
  QTest::qWait(2 * kBeatMs);
  EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(list->item(0))));
}

TEST(ListBoxBinder, ShowsLatin1TextsAsTheyAre) {
  forms::ListBox model("List1");
  QWidget page;
  model.addItem(
      "Gr\xFC\xDF"
      "e");  // "Grüße" in the program's code page
  auto* list = new QListWidget(&page);
  bind(list, model);
  EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("Gr\u00FC\u00DFe"));
}

TEST(ListBoxBinder, SelectionFromCodeRaisesOneClickAndTheUsersSelectionReachesTheModel) {
  forms::ListBox model("List1");
  QWidget page;
  for (const char* item : {"AT", "ATI", "AT+CSQ"}) model.addItem(item);
  auto* list = new QListWidget(&page);
  bind(list, model);
  Counter clicks;
  model.Click.connect(std::ref(clicks));

  model.setListIndex(2);
  EXPECT_EQ(list->currentRow(), 2);
  EXPECT_EQ(clicks.count, 1);  // the model's own, not an echo from the widget

  list->setCurrentRow(1);  // as the arrow keys do
  EXPECT_EQ(model.listIndex(), 1);
  EXPECT_EQ(clicks.count, 2);

  model.setListIndex(-1);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  EXPECT_EQ(clicks.count, 3);
}

TEST(ListBoxBinder, RightButtonRaisesMouseUpWithoutMovingTheSelection) {
  forms::ListBox model("List1");
  QWidget page;
  page.resize(200, 200);
  for (const char* item : {"AT", "ATI"}) model.addItem(item);
  auto* list = new QListWidget(&page);
  list->resize(200, 200);
  bind(list, model);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));

  std::vector<forms::MouseButton> released;
  model.MouseUp.connect([&](forms::MouseButton b) { released.push_back(b); });
  const QPoint onSecond = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, onSecond);
  EXPECT_EQ(model.listIndex(), -1);
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(released[0], forms::MouseButton::Right);

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onSecond);
  EXPECT_EQ(model.listIndex(), 1);
}

TEST(ListBoxBinder, ADoubleClickOnARowSelectsItAndRaisesDblClick) {
  forms::ListBox model("List1");
  QWidget page;
  page.resize(200, 200);
  for (const char* item : {"ATZ", "AT&W"}) model.addItem(item);
  auto* list = new QListWidget(&page);
  list->resize(200, 200);
  bind(list, model);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  // What the handler sees: the row it was raised for is selected already.
  std::vector<int> selectedAtDblClick;
  model.DblClick.connect([&] { selectedAtDblClick.push_back(model.listIndex()); });

  const QPoint onSecond = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onSecond);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, onSecond);
  EXPECT_EQ(selectedAtDblClick, std::vector<int>({1}));

  // The right button neither selects nor double-clicks.
  const QPoint onFirst = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, onFirst);
  QTest::mouseDClick(list->viewport(), Qt::RightButton, {}, onFirst);
  EXPECT_EQ(selectedAtDblClick, std::vector<int>({1}));
  EXPECT_EQ(model.listIndex(), 1);
}

TEST(ListBoxBinder, TheKeysDoWhatTheMouseDoesOnTheSelectedRow) {
  struct Case {
    const char* name;
    ReturnKey returnKey;
    Qt::Key key;
    int doubleClicks;
    int rightClicks;
  };
  const Case cases[] = {
      {"Return on a command list is the double click", ReturnKey::DoubleClick, Qt::Key_Return, 1,
       0},
      {"Enter of the number pad too", ReturnKey::DoubleClick, Qt::Key_Enter, 1, 0},
      {"Return on the terminal is the right click", ReturnKey::RightClick, Qt::Key_Return, 0, 1},
      {"the context-menu key is the right click", ReturnKey::DoubleClick, Qt::Key_Menu, 0, 1},
      {"a letter is neither", ReturnKey::DoubleClick, Qt::Key_A, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    forms::ListBox model("List1");
    model.addItem("AT+CSQ");
    QWidget page;
    auto* list = new QListWidget(&page);
    bind(list, model, c.returnKey);
    model.setListIndex(0);
    Counter doubleClicks;
    model.DblClick.connect(std::ref(doubleClicks));
    int rightClicks = 0;
    model.MouseUp.connect([&](forms::MouseButton b) {
      if (b == forms::MouseButton::Right) ++rightClicks;
    });
    QTest::keyClick(list, c.key);
    EXPECT_EQ(doubleClicks.count, c.doubleClicks);
    EXPECT_EQ(rightClicks, c.rightClicks);
  }
}

}  // namespace
}  // namespace d7o::ui
