// What a streaming GPS device makes the windows paint: a value, a row or the scroll bar
// that changes is painted itself, not the box, the tab and the window beneath it as well,
// and a label's new text does not lay out and repaint the whole tab widget. Painting is
// most of what the program spends on a stream; a widget that turns transparent again (a
// binder resetting its background, a style's scroll bar) shows here, not only in the
// benchmark.

#include "forms/gps_form.h"
#include "support/rig.h"
#include "ui/compass_widget.h"
#include "ui/gps_form_view.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

// Every region painted on the watched widgets while it is installed.
class PaintLog : public QObject {
 public:
  explicit PaintLog(std::vector<QWidget*> watched) : m_watched(std::move(watched)) {
    qApp->installEventFilter(this);
  }
  ~PaintLog() override { qApp->removeEventFilter(this); }
  PaintLog(const PaintLog&) = delete;
  PaintLog& operator=(const PaintLog&) = delete;

  // What `widget` painted of `area` (in the widget's own coordinates).
  QRegion paintedOf(const QWidget* widget, const QRect& area) const {
    QRegion painted;
    for (const auto& [w, region] : m_painted) {
      if (w == widget) painted += region.intersected(area);
    }
    return painted;
  }
  int paintsOf(const QWidget* widget) const {
    int n = 0;
    for (const auto& entry : m_painted) n += entry.first == widget ? 1 : 0;
    return n;
  }
  bool paintedWhole(const QWidget* widget) const {
    for (const auto& [w, region] : m_painted) {
      if (w == widget && region.boundingRect().contains(widget->rect())) return true;
    }
    return false;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      for (QWidget* w : m_watched) {
        if (w == watched) m_painted.emplace_back(w, static_cast<QPaintEvent*>(event)->region());
      }
    }
    return false;
  }

 private:
  std::vector<QWidget*> m_watched;
  std::vector<std::pair<const QWidget*, QRegion>> m_painted;
};

QRect inside(const QWidget* child, const QWidget* ancestor) {
  return QRect(child->mapTo(ancestor, QPoint(0, 0)), child->size());
}

class StreamPainting : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    ASSERT_TRUE(rig.start());
    rig.app->activate();
    ASSERT_TRUE(rig.untilGpsStreams());
  }

  // The stream runs for `seconds` of the device's time, and the windows follow on their
  // beats in real time.
  void stream(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
      rig.run(Millis(100));
      QTest::qWait(5);
    }
    QTest::qWait(300);
  }

  test::Rig rig{test::streamingGpsDevice()};
};

TEST_F(StreamPainting, TheTerminalAndItsScrollBarPaintAloneAndTheTabWidgetStaysPut) {
  MainWindowView view(*rig.app, MainWindowView::Activation::ByCaller);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  auto* tabs = view.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  auto* terminal = view.findChild<QListWidget*>(QStringLiteral("List3"));
  ASSERT_NE(tabs, nullptr);
  ASSERT_NE(terminal, nullptr);
  QScrollBar* bar = terminal->verticalScrollBar();
  stream(1);

  {
    PaintLog log({tabs, &view, bar});
    stream(3);
    EXPECT_GT(log.paintsOf(bar), 0) << "rows came, and the bar moved with them";
    EXPECT_TRUE(bar->isVisible()) << "the terminal's bar stays, whether it fills or empties";
    EXPECT_TRUE(log.paintedOf(tabs, inside(bar, tabs)).isEmpty())
        << "the tab beneath the scroll bar was painted with it";
    EXPECT_TRUE(log.paintedOf(&view, inside(bar, &view)).isEmpty())
        << "the window beneath the scroll bar was painted with it";
  }

  // The port's state beside the CTS lamp follows the stream's rate: new digits, the same
  // width.
  const std::string shown = rig.main().PortState.caption();
  const std::size_t digit = shown.find_first_of("0123456789");
  ASSERT_NE(digit, std::string::npos) << shown;
  PaintLog log({tabs});
  for (char d = '1'; d <= '5'; ++d) {
    std::string next = shown;
    next[digit] = d;
    rig.main().PortState.setCaption(next);
    QTest::qWait(150);
  }
  EXPECT_FALSE(log.paintedWhole(tabs)) << "a label's new text laid out and repainted the tabs";
}

TEST_F(StreamPainting, ATabWidgetWhosePageGrowsStillLaysItselfOut) {
  MainWindowView view(*rig.app, MainWindowView::Activation::ByCaller);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  auto* tabs = view.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  QWidget* page = tabs->currentWidget();
  const QSize wanted = page->minimumSizeHint() + QSize(400, 300);
  ASSERT_LT(tabs->minimumSizeHint().width(), wanted.width());
  page->setMinimumSize(wanted);
  EXPECT_TRUE(waitFor([&] { return tabs->minimumSizeHint().width() >= wanted.width(); }))
      << "the tab widget did not take its page's new size";
}

TEST_F(StreamPainting, TheAnalyzersValuesAndCompassPaintAloneNotTheBoxesBeneath) {
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  GpsFormView gps(*rig.app);
  main.show();
  rig.main().m_gps.click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gps));
  auto* check6 = gps.findChild<QCheckBox*>(QStringLiteral("Check6"));
  ASSERT_NE(check6, nullptr);
  check6->click();  // the satellite panel, whose levels change with every sentence
  stream(1);

  std::vector<QWidget*> watched{&gps};
  for (QGroupBox* box : gps.findChildren<QGroupBox*>()) watched.push_back(box);
  // The values: sunken fields, but for the line received, which may be cut to its width.
  std::vector<QLabel*> values;
  for (QLabel* label : gps.findChildren<QLabel*>()) {
    if (label->frameStyle() == (QFrame::Panel | QFrame::Sunken) &&
        label->objectName() != QStringLiteral("GPSstring")) {
      values.push_back(label);
      watched.push_back(label);
    }
  }
  ASSERT_GT(values.size(), 40U);
  auto* compass = gps.findChild<CompassPanel*>(QStringLiteral("Panel1"));
  ASSERT_NE(compass, nullptr);
  watched.push_back(compass);
  watched.push_back(compass->parentWidget());

  PaintLog log(watched);
  stream(3);
  // The simulated device stands still: the needle is turned by hand.
  compass->needle()->setNeedle(QPoint(20, 20), QPoint(90, 90));
  QTest::qWait(300);

  int changed = 0;
  for (QLabel* value : values) {
    if (log.paintsOf(value) == 0) continue;
    ++changed;
    SCOPED_TRACE(value->objectName().toStdString());
    auto* box = value->parentWidget();
    EXPECT_TRUE(log.paintedOf(box, inside(value, box)).isEmpty()) << "its box was painted with it";
    EXPECT_TRUE(log.paintedOf(&gps, inside(value, &gps)).isEmpty())
        << "the window was painted with it";
  }
  EXPECT_GE(changed, 10) << "the time and the satellites' levels change on the stream";
  EXPECT_GT(log.paintsOf(compass), 0);
  EXPECT_TRUE(
      log.paintedOf(compass->parentWidget(), inside(compass, compass->parentWidget())).isEmpty())
      << "the compass' frame was painted under the turning needle";
  EXPECT_TRUE(log.paintedOf(&gps, inside(compass, &gps)).isEmpty())
      << "the window was painted under the turning needle";
}

}  // namespace
}  // namespace d7o::ui
