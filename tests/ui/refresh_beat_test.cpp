// The refresh beat of a window whose controls change far more often than it may show
// them: the changes show together, the last one is never lost, and a single change after
// a quiet moment shows at once.

#include "ui/refresh_beat.h"

#include "forms/controls.h"
#include "ui/binders.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

namespace d7o::ui {
namespace {

constexpr int kIntervalMs = 40;
constexpr int kWaitMs = 1000;

// A shown window with its beat and one label bound to `model`.
struct BeatingWindow {
  explicit BeatingWindow(forms::Label& model) {
    new RefreshBeat(&window, kIntervalMs);
    window.show();
    label = new QLabel(&window);
    bind(label, model);
  }
  QWidget window;
  QLabel* label = nullptr;
};

// Changes `model` on every turn of the event loop, as the lines of a GPS device arrive,
// for as long as `more(i)` holds; returns every text the label showed meanwhile.
template <class More>
std::set<QString> changeOnEveryTurn(forms::Label& model, const QLabel& label, More more) {
  std::set<QString> shown;
  for (int i = 0; more(i); ++i) {
    model.setCaption(std::to_string(i));
    QCoreApplication::processEvents();
    shown.insert(label.text());
  }
  return shown;
}

TEST(RefreshBeat, ABurstOfChangesShowsTogetherAndTheLastOneShows) {
  forms::Label model("Label48", "start");
  BeatingWindow w(model);
  QLabel* label = w.label;

  constexpr int kChanges = 200;
  QElapsedTimer burst;
  burst.start();
  const auto shown = changeOnEveryTurn(model, *label, [](int i) { return i < kChanges; });
  const auto burstMs = burst.elapsed();
  EXPECT_TRUE(QTest::qWaitFor([&] { return label->text() == QStringLiteral("199"); }, kWaitMs))
      << "the last change shows once the interval is over";
  // One copy at the start of the burst, one at the end of each interval.
  EXPECT_LE(static_cast<qint64>(shown.size()), burstMs / kIntervalMs + 2);
  EXPECT_LT(static_cast<int>(shown.size()), kChanges);
}

TEST(RefreshBeat, AStreamThatNeverPausesStillShowsOnEveryBeat) {
  // A GPS device at 115200 baud changes the analyzer's values with every turn of the event
  // loop for as long as it is connected: the window must not wait for a quiet moment
  // before it shows them, or its picture freezes for the whole stream.
  forms::Label model("Label56", "00:00:00");
  BeatingWindow w(model);

  QElapsedTimer stream;
  stream.start();
  const auto shownDuringTheStream =
      changeOnEveryTurn(model, *w.label, [&](int) { return stream.elapsed() < 12 * kIntervalMs; });
  // About one value per beat; a loaded machine may lose some beats, not nearly all.
  EXPECT_GE(shownDuringTheStream.size(), 4U);
}

TEST(RefreshBeat, AStreamLastingASecondSlowsTheBeatUntilTheFirstQuietInterval) {
  forms::Label model("Label56", "00:00:00");
  BeatingWindow w(model);
  auto* beat = RefreshBeat::of(w.label);
  ASSERT_NE(beat, nullptr);

  // Changes with pauses, as an exchange of commands makes them, keep the window's pace.
  for (int exchange = 0; exchange < 3 * RefreshBeat::kBusyBeatsToSlow; ++exchange) {
    model.setCaption("OK " + std::to_string(exchange));
    QTest::qWait(kIntervalMs + 10);
    ASSERT_EQ(beat->currentInterval(), kIntervalMs) << "after exchange " << exchange;
  }

  // A stream: one change on every turn of the event loop, for as many beats as it takes.
  int beats = 0;
  QString last = w.label->text();
  changeOnEveryTurn(model, *w.label, [&](int) {
    if (w.label->text() != last) {
      last = w.label->text();
      ++beats;
    }
    return beats <= RefreshBeat::kBusyBeatsToSlow + 2;
  });
  EXPECT_EQ(beat->currentInterval(), RefreshBeat::kStreamingIntervalMs);
  const std::string lastValue = model.caption();
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.label->text() == QString::fromStdString(lastValue); },
                              kWaitMs))
      << "the stream's last value shows on the slower beat";

  // The first change after a quiet interval shows at once, at the window's pace again.
  QTest::qWait(RefreshBeat::kStreamingIntervalMs);
  model.setCaption("12.35.19");
  QCoreApplication::processEvents();
  EXPECT_EQ(w.label->text(), QStringLiteral("12.35.19"));
  EXPECT_EQ(beat->currentInterval(), kIntervalMs);
}

TEST(RefreshBeat, ASingleChangeAfterAQuietMomentShowsAtOnce) {
  forms::Label model("Label48", "start");
  forms::Label other("Label12", "PC-Time");
  QWidget window;
  new RefreshBeat(&window, kIntervalMs);
  window.show();
  auto* label = new QLabel(&window);
  auto* otherLabel = new QLabel(&window);
  bind(label, model);
  bind(otherLabel, other);

  // A beat that never showed anything has been quiet for ever. What one handler changes
  // shows together, with the next turn of the event loop.
  model.setCaption("12.35.19");
  other.setCaption("GPS-Time");
  QCoreApplication::processEvents();
  EXPECT_EQ(label->text(), QStringLiteral("12.35.19"));
  EXPECT_EQ(otherLabel->text(), QStringLiteral("GPS-Time"));
}

TEST(RefreshBeat, AWidgetGoneBeforeTheBeatIsForgotten) {
  forms::Label model("Label48", "start");
  forms::Label kept("Label12", "PC-Time");
  QWidget window;
  new RefreshBeat(&window, kIntervalMs);
  window.show();
  auto* gone = new QLabel(&window);
  auto* stays = new QLabel(&window);
  bind(gone, model);
  bind(stays, kept);
  model.setCaption("dirty");
  kept.setCaption("GPS-Time");
  delete gone;  // its binder goes with it, while the beat still holds it dirty
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return stays->text() == QStringLiteral("GPS-Time"); }, kWaitMs));
}

TEST(RefreshBeat, AHiddenWindowCopiesNothingUntilItShows) {
  forms::Label model("Label56", "00:00:00");
  QWidget window;
  new RefreshBeat(&window, kIntervalMs);
  auto* label = new QLabel(&window);
  bind(label, model);
  window.show();
  window.hide();

  for (int i = 0; i < 50; ++i) model.setCaption("12:35:" + std::to_string(i));
  QTest::qWait(3 * kIntervalMs);
  EXPECT_EQ(label->text(), QStringLiteral("00:00:00")) << "nobody sees a hidden window";
  window.show();
  EXPECT_EQ(label->text(), QStringLiteral("12:35:49")) << "the last change, before it paints";
}

TEST(RefreshBeat, AWindowWithoutABeatShowsEveryChangeAtOnce) {
  forms::Label model("Label48", "start");
  QWidget window;
  auto* label = new QLabel(&window);
  bind(label, model);
  model.setCaption("12.35.19");
  EXPECT_EQ(label->text(), QStringLiteral("12.35.19"));
}

}  // namespace
}  // namespace d7o::ui
