#include "forms/timer.h"

namespace d7o::forms {

Timer::~Timer() {
  disarm();
}

void Timer::attach(platform::Scheduler* scheduler) {
  disarm();
  m_scheduler = scheduler;
  if (m_enabled) arm();
}

void Timer::setInterval(int ms) {
  if (ms == m_interval) return;
  m_interval = ms;
  if (m_enabled) {
    disarm();
    arm();
  }
}

void Timer::setEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  if (enabled) {
    arm();
  } else {
    disarm();
  }
}

void Timer::arm() {
  if (m_scheduler == nullptr || m_interval <= 0) return;
  m_id = m_scheduler->startTimer(platform::Millis(m_interval), [this] { fire(); });
}

void Timer::disarm() {
  if (m_id && m_scheduler != nullptr) m_scheduler->stopTimer(*m_id);
  m_id.reset();
}

void Timer::fire() {
  if (m_inTick) {
    ++m_skipped;
    return;
  }
  m_inTick = true;
  Tick.emit();
  m_inTick = false;
}

}  // namespace d7o::forms
