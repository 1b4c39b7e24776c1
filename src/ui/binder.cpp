#include "ui/binder.h"

#include "ui/latin1.h"
#include "ui/refresh_beat.h"

#include <optional>

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QMouseEvent>

namespace d7o::ui {

namespace {

std::optional<forms::MouseButton> toForms(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return forms::MouseButton::Left;
    case Qt::RightButton:
      return forms::MouseButton::Right;
    case Qt::MiddleButton:
      return forms::MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

}  // namespace

Binder::~Binder() {
  for (const auto& disconnect : m_disconnects) disconnect();
  if (m_queued && m_beat) m_beat->forget(*this);
}

void Binder::showOnBeat() {
  if (m_queued) return;
  if (!m_beat) m_beat = RefreshBeat::of(m_anchor);
  if (!m_beat) {
    show();
    return;
  }
  m_queued = true;
  m_beat->mark(*this);
}

void Binder::watchMouseUp(QWidget* target, MouseUp mouseUp) {
  m_mouseTarget = target;
  m_mouseUp = std::move(mouseUp);
  target->installEventFilter(this);
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
  // A disabled control hears no mouse, as on the classic desktop.
  if (watched == m_mouseTarget && event->type() == QEvent::MouseButtonRelease && m_mouseUp &&
      m_mouseTarget->isEnabled()) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (const auto button = toForms(mouse->button())) {
      m_mouseUp(*button, m_mouseTarget->rect().contains(mouse->position().toPoint()));
    }
  }
  return QObject::eventFilter(watched, event);
}

void applyControlState(QWidget* widget, const forms::Control& control) {
  widget->setEnabled(control.enabled());
  // Showing a widget that has no parent yet would open it as a window of its own.
  if (widget->parentWidget() != nullptr) widget->setVisible(control.visible());
  // Setting a tooltip always raises an event: only a real change is written.
  const QString tip = fromLatin1(control.toolTip());
  if (widget->toolTip() != tip) widget->setToolTip(tip);
}

bool applyColor(QWidget* widget, QPalette::ColorRole role, forms::Color color) {
  const bool plain = !forms::isSystemColor(color);
  const QColor wanted =
      plain ? QColor(forms::redOf(color), forms::greenOf(color), forms::blueOf(color))
            : QApplication::palette(widget).color(role);
  // Controls change several times a second (the clock, the lamps): repaint only real changes.
  if (widget->palette().color(role) == wanted) return plain;
  QPalette palette = widget->palette();
  palette.setColor(role, wanted);
  widget->setPalette(palette);
  return plain;
}

void applyBackground(QWidget* widget, forms::Color color) {
  widget->setAutoFillBackground(applyColor(widget, QPalette::Window, color));
}

}  // namespace d7o::ui
