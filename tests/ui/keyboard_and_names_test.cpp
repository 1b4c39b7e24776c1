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

    // Tab from the tab bar round the window and back to it.
    std::vector<QWidget*> visited;
    for (int step = 0; step < 400; ++step) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* now = QApplication::focusWidget();
      if (now == bar || now == nullptr) break;
      if (page->isAncestorOf(now) && isControl(now, rig.main())) visited.push_back(now);
    }

    std::vector<std::string> missed;
    for (QWidget* w : page->findChildren<QWidget*>()) {
      if (!isControl(w, rig.main()) || !w->isVisibleTo(page) || !w->isEnabled()) continue;
      if ((w->focusPolicy() & Qt::TabFocus) == 0) continue;
      if (std::find(visited.begin(), visited.end(), w) == visited.end()) {
        missed.push_back(w->objectName().toStdString());
      }
    }
    EXPECT_EQ(missed, std::vector<std::string>{});

    // Once Tab has left a frame it does not come back into it.
    std::map<const QGroupBox*, bool> left;
    std::vector<const QGroupBox*> current;
    for (QWidget* w : visited) {
      std::vector<const QGroupBox*> now;
      for (const QGroupBox* f = frameOf(w, page); f != nullptr; f = frameOf(f, page)) {
        now.push_back(f);
      }
      const auto contains = [](const std::vector<const QGroupBox*>& chain, const QGroupBox* f) {
        return std::find(chain.begin(), chain.end(), f) != chain.end();
      };
      for (const QGroupBox* f : current) {
        if (!contains(now, f)) left[f] = true;
      }
      for (const QGroupBox* f : now) {
        if (!contains(current, f)) {
          EXPECT_FALSE(left[f]) << w->objectName().toStdString() << " returns into "
                                << f->objectName().toStdString();
        }
      }
      current = now;
    }
  }
}

}  // namespace
}  // namespace d7o::ui
