#include "ui/qt_scheduler.h"

#include <algorithm>
#include <limits>
#include <utility>

#include <QCoreApplication>
#include <QEventLoop>

namespace d7o::ui {

namespace {

// QTimer takes an int of milliseconds.
int clamped(platform::Millis ms) {
  constexpr auto kLongest = platform::Millis(std::numeric_limits<int>::max());
  return static_cast<int>(std::clamp(ms, platform::Millis(0), kLongest).count());
}

}  // namespace

QtScheduler::QtScheduler() {
  m_clock.start();
}

QtScheduler::~QtScheduler() = default;

platform::Millis QtScheduler::now() const {
  return platform::Millis(m_clock.elapsed());
}

platform::Scheduler::TimerId QtScheduler::startTimer(platform::Millis interval,
                                                     std::function<void()> tick) {
  const TimerId id = ++m_lastId;
  auto* timer = new QTimer(&m_context);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, timer, std::move(tick));
  timer->start(clamped(interval));
  m_timers.emplace(id, timer);
  return id;
}

void QtScheduler::stopTimer(TimerId id) {
  const auto it = m_timers.find(id);
  if (it == m_timers.end()) return;
  QTimer* timer = it->second;
  m_timers.erase(it);
  timer->stop();
  // Not deleted here: this may run inside the timer's own timeout.
  timer->deleteLater();
}

void QtScheduler::post(platform::Millis delay, std::function<void()> action) {
  QTimer::singleShot(clamped(delay), Qt::PreciseTimer, &m_context, std::move(action));
}

void QtScheduler::pumpEvents(platform::Millis deadline) {
  const platform::Millis remaining = deadline - now();
  if (remaining <= platform::Millis(0)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  // The wake-up makes the wait return at the deadline even when nothing else happens.
  QTimer wakeUp;
  wakeUp.setSingleShot(true);
  wakeUp.setTimerType(Qt::PreciseTimer);
  wakeUp.start(clamped(remaining));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace d7o::ui
