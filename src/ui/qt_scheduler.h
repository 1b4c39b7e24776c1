#pragma once

#include "platform/scheduler.h"

#include <functional>
#include <unordered_map>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace d7o::ui {

// The program's clock, timers and event pump on the Qt event loop, in real time.
class QtScheduler : public platform::Scheduler {
 public:
  QtScheduler();
  ~QtScheduler() override;
  QtScheduler(const QtScheduler&) = delete;
  QtScheduler& operator=(const QtScheduler&) = delete;

  platform::Millis now() const override;
  TimerId startTimer(platform::Millis interval, std::function<void()> tick) override;
  // Safe from inside the timer's own tick: the QTimer goes once its tick has returned.
  void stopTimer(TimerId id) override;
  void post(platform::Millis delay, std::function<void()> action) override;
  // Sleeps in the event loop until an event arrives or the deadline passes, so a wait
  // loop built on it does not spin the processor.
  void pumpEvents(platform::Millis deadline) override;

 private:
  QElapsedTimer m_clock;
  QObject m_context;  // owns the timers and the posted actions; they die with it
  std::unordered_map<TimerId, QTimer*> m_timers;
  TimerId m_lastId = 0;
};

}  // namespace d7o::ui
