#include "ui/paint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace d7o::ui {

PaintPacer::PaintPacer(QWidget* window, int intervalMs)
    : QObject(window), m_window(window), m_interval(intervalMs) {
  m_held.setSingleShot(true);
  connect(&m_held, &QTimer::timeout, this, [this] {
    // The window's own request was held back, and it asks for no other until one is
    // delivered: this one paints everything that became dirty meanwhile.
    QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
  });
  window->installEventFilter(this);
}

bool PaintPacer::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_window || event->type() != QEvent::UpdateRequest) {
    return QObject::eventFilter(watched, event);
  }
  if (m_held.isActive()) return true;
  if (m_sincePaint.isValid() && m_sincePaint.elapsed() < m_interval) {
    m_held.start(static_cast<int>(m_interval - m_sincePaint.elapsed()));
    return true;
  }
  m_sincePaint.start();
  return false;
}

}  // namespace d7o::ui
