// Where the main window's controls live: every control on its tab, directly on the tab's
// page or inside its frame, as the technician's manual pictures them. A control moved
// into the wrong frame (or out of its frame onto the page) fails here, not at the bench.

#include "support/rig.h"
#include "ui/main_window_view.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include <QTabWidget>

namespace d7o::ui {
namespace {

struct Placement {
  int tab;
  // The frame (or picture box) that holds the control; empty: directly on the tab's page.
  std::string container;
  std::vector<std::string> controls;
};

std::vector<std::string> range(const std::string& prefix, int first, int last) {
  std::vector<std::string> names;
  for (int i = first; i <= last; ++i) names.push_back(prefix + std::to_string(i));
  return names;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<Placement>& layoutTable() {
  static const std::vector<Placement> table = {
      {0, "", {"Label2",  "Label20", "Gauge1",  "Label11",   "Label25",  "CTS",     "Label33",
               "Label48", "Label12", "Label14", "Label53",   "List1",    "Label3",  "List3",
               "Text1",   "Text2",   "Text3",   "Command31", "Command3", "Frame18", "List2"}},
      {0, "Frame18", {"Command1", "Command2"}},
      {1, "",
       joined({"Label4", "Text8", "Command9", "Command11", "List4", "Command12", "Text9", "Option1",
               "Option2", "Label21", "Label22", "Label23", "Command13", "Command14", "Shape1"},
              range("Command", 46, 49))},
      {2,
       "",
       {"Label8", "Text5", "Label9", "Text6", "Label15", "Text7", "Command16", "Command17",
        "Command18", "DelSMS", "Command4", "Command5", "Command6", "Command42", "Shape3"}},
      {3, "", {"Frame1", "Frame2"}},
      {3, "Frame1", {"Slider1", "Slider2", "Label5", "Label6", "Label17", "Label18", "Command53"}},
      {3,
       "Frame2",
       {"Frame12", "Frame6", "Check1", "Check5", "Label19", "Text4", "Command7", "Command10"}},
      {3, "Frame12", {"Command51", "Label32", "Label38", "Frame13"}},
      {3, "Frame13", {"Combo1", "Option13", "Option12"}},
      {3, "Frame6", {"Command15", "Command29"}},
      {4, "", {"Frame4"}},
      {4, "Frame4",
       joined(joined({"Frame15", "Frame16",   "Frame17",   "Combo2",    "Combo3",    "Combo4",
                      "Text13",  "Text19",    "Text22",    "Text17",    "Text20",    "Text23",
                      "Text24",  "Text25",    "Text26",    "Text28",    "Check2",    "Check6",
                      "Check7",  "Command24", "Command26", "Command27", "Command28", "Command32",
                      "Frame7",  "Picture2",  "Label46",   "Label47",   "Label51",   "Frame8",
                      "Frame9",  "Frame10"},
                     range("Label", 34, 37)),
              range("Label", 39, 43))},
      {4, "Frame15", {"Option3", "Option4", "Option9"}},
      {4, "Frame16", {"Option5", "Option6", "Option8"}},
      {4, "Frame17", {"Option10", "Option11", "Option7"}},
      {4, "Frame7",
       joined({"Combo5", "Spin3", "Spin4", "Label44", "Label45", "Command52"},
              range("Command", 33, 37))},
      {5,
       "",
       {"Frame3", "Command19", "Command20", "Command21", "Command23", "Command25", "Command45",
        "Label50"}},
      {5, "Frame3", {"Label26",   "Text10",  "Command22", "Label7",   "Text14",  "Frame5",
                     "Frame14",   "Label16", "Text16",    "Label27",  "Spin1",   "Command38",
                     "Command39", "Label24", "List5",     "Frame19",  "Label30", "Text11",
                     "Label28",   "Text30",  "Command8",  "Command30"}},
      {5,
       "Frame5",
       {"Option14", "Option15", "Check3", "Check4", "Spin2", "Label29", "Label31", "Command40",
        "Command41"}},
      {5, "Frame14", {"Text15", "Option16", "Option17", "Option18", "Text29"}},
      {5, "Frame19", {"Check8", "Label49", "Label52", "Command43", "Command44"}},
      {6, "", {"Picture1", "Image1", "Image2", "Label10", "Label13"}},
      {6, "Picture1", {"Label1"}},
  };
  return table;
}

// The frame or picture box nearest round `widget`, of those the table names; empty when
// the widget sits directly on its page.
std::string containerOf(const QWidget* widget, const QWidget* page,
                        const std::set<std::string>& containers) {
  for (const QWidget* w = widget->parentWidget(); w != nullptr && w != page;
       w = w->parentWidget()) {
    const std::string name = w->objectName().toStdString();
    if (containers.count(name) != 0) return name;
  }
  return "";
}

class MainWindowLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    ASSERT_TRUE(rig.start());
  }

  test::Rig rig;
};

TEST_F(MainWindowLayout, EveryControlSitsOnItsTabAndInItsFrame) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  const auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 7);

  std::set<std::string> containers;
  for (const Placement& p : layoutTable()) {
    if (!p.container.empty()) containers.insert(p.container);
  }

  for (const Placement& p : layoutTable()) {
    const QWidget* page = tabs->widget(p.tab);
    for (const std::string& name : p.controls) {
      SCOPED_TRACE(name);
      const auto found = window.findChildren<QWidget*>(QString::fromStdString(name));
      ASSERT_EQ(found.size(), 1);
      const QWidget* widget = found.front();
      EXPECT_TRUE(page->isAncestorOf(widget)) << "not on tab " << p.tab;
      EXPECT_EQ(containerOf(widget, page, containers), p.container);
    }
  }
}

TEST_F(MainWindowLayout, TheTabsCarryTheirCaptionsInOrder) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  const auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  const QStringList captions = {QStringLiteral("Terminal"),    QStringLiteral("Voice-Call"),
                                QStringLiteral("SMS"),         QStringLiteral("Options"),
                                QStringLiteral("R7O-3 Alarm"), QStringLiteral("R7O-3 GPS"),
                                QStringLiteral("...about")};
  ASSERT_EQ(tabs->count(), captions.size());
  for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), captions[i]) << i;
}

}  // namespace
}  // namespace d7o::ui
