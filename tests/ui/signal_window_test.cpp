// The signal window as a technician uses it beside the main window, and as a screen reader
// or an automation script does: it opens from the menu bar without holding the main
// window, its plot shows the readings, and its controls reach the monitor whoever changes
// them.

#include "app/subsystems.h"
#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/signal_form_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <memory>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QMenuBar>
#include <QSlider>
#include <QTest>

namespace d7o::ui {
namespace {

using namespace std::chrono_literals;

class SignalWindowUi : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.bringUp());
    rig.run(5s);
    main = std::make_unique<MainWindowView>(*rig.app, MainWindowView::Activation::ByCaller);
    window = std::make_unique<SignalFormView>(*rig.app);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
  }
  void TearDown() override {
    window.reset();
    main.reset();
  }

  void openFromTheMenuBar() {
    QAction* entry = nullptr;
    for (QAction* a : main->menuBar()->actions()) {
      if (a->text() == QStringLiteral("&Signal")) entry = a;
    }
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // The window's beat copies what changed.
    const auto* now = window->findChild<QLabel*>(QStringLiteral("SignalNow"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return now->text() ==
                 QString::fromStdString(rig.app->context().signalForm.SignalNow.caption());
        },
        kWidgetWaitMs));
    QTest::qWait(600);
  }
  template <typename W>
  W* find(const char* name) {
    auto* w = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  test::Rig rig;
  std::unique_ptr<MainWindowView> main;
  std::unique_ptr<SignalFormView> window;
};

TEST_F(SignalWindowUi, OpensBesideTheMainWindowWithTheReadingsPlotted) {
  openFromTheMenuBar();
  EXPECT_EQ(window->windowModality(), Qt::NonModal);
  EXPECT_TRUE(main->isVisible());
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Signal and registration"));
  EXPECT_EQ(find<QLabel>("SignalNow")->text(), QStringLiteral("-79 dBm"));
  // Large enough to read from a step away.
  EXPECT_GE(find<QLabel>("SignalNow")->font().pointSizeF(), 2.5 * main->font().pointSizeF());

  auto* plot = find<QChartView>("SignalPlot");
  ASSERT_NE(plot, nullptr);
  const auto& picture = rig.app->context().signalForm.SignalPlot.picture();
  ASSERT_FALSE(picture.dbm.empty());
  QLineSeries* dbm = nullptr;
  for (QAbstractSeries* s : plot->chart()->series()) {
    if (s->name() == QStringLiteral("dBm")) dbm = static_cast<QLineSeries*>(s);
  }
  ASSERT_NE(dbm, nullptr);
  ASSERT_EQ(dbm->count(), static_cast<int>(picture.dbm.size()));
  EXPECT_EQ(dbm->at(0).y(), -79);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(plot)->text(QAccessible::Name),
            QStringLiteral("field strength over time"));

  // Its close button hides it; the menu opens it again.
  window->close();
  QTest::qWait(2 * kWidgetWaitMs / 10);
  EXPECT_FALSE(rig.app->context().signalForm.visible());
  EXPECT_FALSE(window->isVisible());
  openFromTheMenuBar();
  EXPECT_TRUE(window->isVisible());
}

TEST_F(SignalWindowUi, KeyboardAndAccessibilityReachTheMonitor) {
  openFromTheMenuBar();
  auto& form = rig.app->context().signalForm;
  // Space on the focused box switches the monitor on; it asks at once.
  auto* box = find<QCheckBox>("CheckMonitor");
  box->setFocus();
  rig.wire();
  QTest::keyClick(box, Qt::Key_Space);
  EXPECT_TRUE(form.CheckMonitor.checked());
  rig.run(1s);
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");

  // A screen reader sets the interval by its value; the label follows.
  auto* slider = find<QSlider>("SliderInterval");
  QAccessibleInterface* value = QAccessible::queryAccessibleInterface(slider);
  ASSERT_NE(value->valueInterface(), nullptr);
  value->valueInterface()->setCurrentValue(12);
  EXPECT_EQ(form.SliderInterval.value(), 12);
  EXPECT_EQ(form.IntervalValue.caption(), "12 s");
  rig.run(30s);
  const std::string wire = rig.wire();
  EXPECT_EQ(wire, "AT+CSQ\rAT+CSQ\r");

  // An automation script chooses the span; the summary and the plot follow.
  find<QComboBox>("SignalSpan")->setCurrentIndex(3);
  EXPECT_EQ(form.SignalSpan.listIndex(), 3);
  const auto& picture = form.SignalPlot.picture();
  EXPECT_EQ(picture.toUtc - picture.fromUtc, 24 * 3'600'000);

  // The accessibility press of the box switches it off again.
  QAccessibleInterface* check = QAccessible::queryAccessibleInterface(box);
  check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(form.CheckMonitor.checked());
  EXPECT_EQ(form.MonitorState.caption(), "off");
}

}  // namespace
}  // namespace d7o::ui
