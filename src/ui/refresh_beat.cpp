#include "ui/refresh_beat.h"

#include "ui/binder.h"

#include <algorithm>

#include <QEvent>

namespace d7o::ui {

RefreshBeat::RefreshBeat(QWidget* window, int intervalMs)
    : QObject(window), m_window(window), m_interval(intervalMs) {
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, [this] { flush(); });
  window->installEventFilter(this);
}

bool RefreshBeat::eventFilter(QObject* watched, QEvent* event) {
  // What changed while the window was hidden shows before its first picture.
  if (watched == m_window && event->type() == QEvent::Show && !m_dirty.empty()) flush();
  return QObject::eventFilter(watched, event);
}

RefreshBeat::~RefreshBeat() {
  // Binders that outlive the beat copy at once from now on.
  for (Binder* binder : m_dirty) binder->beatGone();
  for (Binder* binder : m_flushing) {
    if (binder != nullptr) binder->beatGone();
  }
}

RefreshBeat* RefreshBeat::of(const QWidget* widget) {
  if (widget == nullptr) return nullptr;
  return widget->window()->findChild<RefreshBeat*>(QString(), Qt::FindDirectChildrenOnly);
}

void RefreshBeat::mark(Binder& binder) {
  m_dirty.push_back(&binder);
  // A hidden window (the analyzer while the terminal is in front) copies nothing on the
  // beat: a streaming device would keep it laying out what nobody sees.
  if (m_timer.isActive() || !m_window->isVisible()) return;
  const qint64 since = m_sinceFlush.isValid() ? m_sinceFlush.elapsed() : m_interval;
  if (since >= m_interval) {
    m_busyBeats = 0;
    m_timer.start(0);
    return;
  }
  if (m_busyBeats < kBusyBeatsToSlow) ++m_busyBeats;
  const int interval = currentInterval();
  m_timer.start(since >= interval ? 0 : static_cast<int>(interval - since));
}

int RefreshBeat::currentInterval() const {
  return m_busyBeats >= kBusyBeatsToSlow ? std::max(m_interval, kStreamingIntervalMs) : m_interval;
}

void RefreshBeat::forget(Binder& binder) {
  std::erase(m_dirty, &binder);
  std::replace(m_flushing.begin(), m_flushing.end(), &binder, static_cast<Binder*>(nullptr));
}

void RefreshBeat::flush() {
  m_sinceFlush.start();
  // A binder that becomes dirty while the others copy waits for the next beat.
  m_flushing.swap(m_dirty);
  for (std::size_t i = 0; i < m_flushing.size(); ++i) {
    if (Binder* binder = m_flushing[i]) binder->flushFromBeat();
  }
  m_flushing.clear();
}

}  // namespace d7o::ui
