// The paint pacer on a window that changes far more often than it may paint: the
// changes paint together, and the last one is never lost.

#include "ui/paint_pacer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPaintEvent>
#include <QTest>

namespace d7o::ui {
namespace {

// A label that remembers what it painted.
class PaintedLabel : public QLabel {
 public:
  using QLabel::QLabel;
  int paints = 0;
  QString painted;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    painted = text();
    QLabel::paintEvent(event);
  }
};

TEST(PaintPacer, ABurstOfChangesPaintsTogetherAndTheLastOneShows) {
  constexpr int kIntervalMs = 40;
  QWidget window;
  auto* label = new PaintedLabel(QStringLiteral("start"), &window);
  label->resize(200, 30);
  new PaintPacer(&window, kIntervalMs);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(2 * kIntervalMs);
  label->paints = 0;

  // A change every event-loop turn, as the lines of a GPS device arrive.
  constexpr int kChanges = 200;
  QElapsedTimer burst;
  burst.start();
  for (int i = 0; i < kChanges; ++i) {
    label->setText(QString::number(i));
    QCoreApplication::processEvents();
  }
  const auto burstMs = burst.elapsed();
  EXPECT_TRUE(QTest::qWaitFor([&] { return label->painted == QStringLiteral("199"); }, 1000))
      << "the last change paints once the interval is over";
  // One paint at the start of each interval of the burst, and the held one at its end.
  EXPECT_LE(label->paints, burstMs / kIntervalMs + 2);
  EXPECT_LT(label->paints, kChanges);

  // After a quiet moment a change paints at once, without waiting for an interval.
  QTest::qWait(2 * kIntervalMs);
  label->setText(QStringLiteral("alone"));
  QCoreApplication::processEvents();
  EXPECT_EQ(label->painted, QStringLiteral("alone"));
}

}  // namespace
}  // namespace d7o::ui
