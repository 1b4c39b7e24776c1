// A technician without a mouse, or a screen reader, reaches every control: Tab walks each
// page of the main window through all its controls and finishes a frame before it moves
// on, and every control of every window has a name (its caption, or its role).

#include "support/rig.h"
#include "ui/bin_code_form_view.h"
#include "ui/gps_form_view.h"
#include "ui/main_window_view.h"
#include "ui/pdu_form_view.h"
#include "ui/remote_form_view.h"
#include "ui/ui_wait.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

// The controls of `form` whose widget in `view` has no accessible name.
std::vector<std::string> unnamedControls(const forms::Form& form, QWidget& view) {
  std::vector<std::string> unnamed;
  for (const forms::Control* control : form.controls()) {
    auto* widget = view.findChild<QWidget*>(QString::fromStdString(control->name()));
    if (widget == nullptr) continue;  // a menu entry (its action carries its caption)
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
      unnamed.push_back(control->name());
    }
  }
  return unnamed;
}

QString accessibleNameOf(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// A control of the form (named after it), not a widget the view added round it.
bool isControl(const QWidget* widget, const forms::Form& form) {
  const std::string name = widget->objectName().toStdString();
  for (const forms::Control* control : form.controls()) {
    if (control->name() == name) return true;
  }
  return false;
}

// The frame of the page nearest round `widget`, or nullptr.
const QGroupBox* frameOf(const QWidget* widget, const QWidget* page) {
  for (const QWidget* w = widget->parentWidget(); w != nullptr && w != page;
       w = w->parentWidget()) {
    if (const auto* box = qobject_cast<const QGroupBox*>(w)) return box;
  }
  return nullptr;
}

class KeyboardAndNames : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    rig.startAnswered();
    // An R7O-3 with its firmware: the device tabs open.
    rig.state().link.firmwareSupported = true;
  }

  test::Rig rig;
};

TEST_F(KeyboardAndNames, EveryControlOfEveryWindowHasAName) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  EXPECT_EQ(unnamedControls(rig.main(), main), std::vector<std::string>{});
  GpsFormView gps(*rig.app);
  EXPECT_EQ(unnamedControls(rig.app->context().gpsForm, gps), std::vector<std::string>{});
  PduFormView pdu(*rig.app);
  EXPECT_EQ(unnamedControls(rig.app->context().pduForm, pdu), std::vector<std::string>{});
  BinCodeFormView binCode(*rig.app);
  EXPECT_EQ(unnamedControls(rig.app->context().binCodeForm, binCode), std::vector<std::string>{});
  RemoteFormView remote(*rig.app);
  EXPECT_EQ(unnamedControls(rig.app->context().remoteForm, remote), std::vector<std::string>{});
}

TEST_F(KeyboardAndNames, AValueLabelIsNamedByItsRoleUntilItHasAValue) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  main.show();
  auto* zone = main.findChild<QLabel*>(QStringLiteral("Label14"));
  ASSERT_NE(zone, nullptr);
  EXPECT_EQ(accessibleNameOf(zone), QStringLiteral("time zone"));

  // A GPS sentence sets the clock to the device's time, in GMT.
  rig.fromModem("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n");
  rig.run(platform::Millis(200));
  ASSERT_TRUE(waitFor([&] { return zone->text() == QStringLiteral("GMT"); }));
  EXPECT_EQ(accessibleNameOf(zone), QStringLiteral("GMT"));
  EXPECT_EQ(zone->accessibleDescription(), QStringLiteral("time zone"));
}

// Presses Tab from the focus until it comes back to `start` (or to nothing), and returns
// the controls of `form` inside `area` it went through, in order.
std::vector<QWidget*> tabRound(QWidget* start, const QWidget* area, const forms::Form& form) {
  std::vector<QWidget*> visited;
  for (int step = 0; step < 400; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* now = QApplication::focusWidget();
    if (now == start || now == nullptr) break;
    if (area->isAncestorOf(now) && isControl(now, form)) visited.push_back(now);
  }
  return visited;
}

// The controls in `area` a keyboard could reach (shown, enabled, taking Tab) that Tab
// did not.
std::vector<std::string> missedControls(const QWidget* area, const std::vector<QWidget*>& visited,
                                        const forms::Form& form) {
  std::vector<std::string> missed;
  for (QWidget* w : area->findChildren<QWidget*>()) {
    if (!isControl(w, form) || !w->isVisibleTo(area) || !w->isEnabled()) continue;
    if ((w->focusPolicy() & Qt::TabFocus) == 0) continue;
    if (std::find(visited.begin(), visited.end(), w) == visited.end()) {
      missed.push_back(w->objectName().toStdString());
    }
  }
  return missed;
}

// Each time Tab came back into a frame it had left: "control into frame".
std::vector<std::string> framesReentered(const std::vector<QWidget*>& visited,
                                         const QWidget* area) {
  std::vector<std::string> reentered;
  std::map<const QGroupBox*, bool> left;
  std::vector<const QGroupBox*> current;
  const auto contains = [](const std::vector<const QGroupBox*>& chain, const QGroupBox* f) {
    return std::find(chain.begin(), chain.end(), f) != chain.end();
  };
  for (QWidget* w : visited) {
    std::vector<const QGroupBox*> now;
    for (const QGroupBox* f = frameOf(w, area); f != nullptr; f = frameOf(f, area)) {
      now.push_back(f);
    }
    for (const QGroupBox* f : current) {
      if (!contains(now, f)) left[f] = true;
    }
    for (const QGroupBox* f : now) {
      if (!contains(current, f) && left[f]) {
        reentered.push_back(w->objectName().toStdString() + " into " +
                            f->objectName().toStdString());
      }
    }
    current = now;
  }
  return reentered;
}

TEST_F(KeyboardAndNames, TabReachesEveryControlOfEachPageAndFinishesAFrameFirst) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  window.resize(1100, 800);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  QTabBar* bar = tabs->tabBar();

  for (int tab = 0; tab < tabs->count(); ++tab) {
    SCOPED_TRACE("tab " + std::to_string(tab));
    tabs->setCurrentIndex(tab);
    ASSERT_EQ(tabs->currentIndex(), tab);
    QWidget* page = tabs->widget(tab);
    bar->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == bar; }));

    const std::vector<QWidget*> visited = tabRound(bar, page, rig.main());
    EXPECT_EQ(missedControls(page, visited, rig.main()), std::vector<std::string>{});
    EXPECT_EQ(framesReentered(visited, page), std::vector<std::string>{});
  }
}

TEST_F(KeyboardAndNames, TabReachesEveryControlOfTheSideWindows) {
  GpsFormView gps(*rig.app);
  PduFormView pdu(*rig.app);
  BinCodeFormView binCode(*rig.app);
  RemoteFormView remote(*rig.app);
  struct Window {
    QWidget& view;
    forms::Form& form;
  };
  auto& ctx = rig.app->context();
  for (const Window& w : {Window{gps, ctx.gpsForm}, Window{pdu, ctx.pduForm},
                          Window{binCode, ctx.binCodeForm}, Window{remote, ctx.remoteForm}}) {
    SCOPED_TRACE(w.form.name());
    w.form.setVisible(true);
    ASSERT_TRUE(w.view.isVisible());
    QApplication::setActiveWindow(&w.view);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.view));
    w.view.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&w.view, Qt::Key_Tab);
    QWidget* start = QApplication::focusWidget();
    ASSERT_NE(start, nullptr);

    std::vector<QWidget*> visited = tabRound(start, &w.view, w.form);
    if (isControl(start, w.form)) visited.insert(visited.begin(), start);
    EXPECT_GT(visited.size(), 3u);
    EXPECT_EQ(missedControls(&w.view, visited, w.form), std::vector<std::string>{});
    EXPECT_EQ(framesReentered(visited, &w.view), std::vector<std::string>{});
    w.form.setVisible(false);
  }
}

}  // namespace
}  // namespace d7o::ui
