#include "support/virtual_scheduler.h"

namespace d7o::test {

using platform::Millis;

platform::Scheduler::TimerId VirtualScheduler::startTimer(Millis interval,
                                                          std::function<void()> tick) {
  const TimerId id = ++m_lastTimer;
  m_queue.emplace(Key{m_now + interval, ++m_seq}, Entry{std::move(tick), id, interval});
  return id;
}

void VirtualScheduler::stopTimer(TimerId id) {
  for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
    if (it->second.timer == id) {
      m_queue.erase(it);
      return;
    }
  }
}

void VirtualScheduler::post(Millis delay, std::function<void()> action) {
  m_queue.emplace(Key{m_now + delay, ++m_seq}, Entry{std::move(action), 0, Millis(0)});
}

bool VirtualScheduler::runNextDueBy(Millis limit) {
  if (m_queue.empty()) return false;
  auto it = m_queue.begin();
  if (it->first.first > limit) return false;
  if (it->first.first > m_now) m_now = it->first.first;
  Entry entry = std::move(it->second);
  m_queue.erase(it);
  if (entry.timer != 0) {
    // Re-armed before it runs, so the tick may stop its own timer.
    m_queue.emplace(Key{m_now + entry.interval, ++m_seq},
                    Entry{entry.action, entry.timer, entry.interval});
  }
  entry.action();
  return true;
}

void VirtualScheduler::pumpEvents(Millis deadline) {
  // What is due now runs first; only when nothing is, the clock moves on.
  bool ran = false;
  while (runNextDueBy(m_now)) ran = true;
  if (ran || deadline <= m_now) return;
  if (!runNextDueBy(deadline)) m_now = deadline;
}

void VirtualScheduler::runFor(Millis duration) {
  const Millis end = m_now + duration;
  while (runNextDueBy(end)) {
  }
  if (m_now < end) m_now = end;
}

bool VirtualScheduler::runUntil(const std::function<bool()>& done, Millis limit) {
  const Millis end = m_now + limit;
  while (!done()) {
    if (!runNextDueBy(end)) {
      m_now = end;
      return done();
    }
  }
  return true;
}

}  // namespace d7o::test
