#include "ui/binder.h"

#include "forms/code_page.h"
#include "ui/code_page.h"
#include "ui/refresh_beat.h"

#include <algorithm>
#include <optional>

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolTip>

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

// Characters of the model that `text` of the widget makes.
int modelLength(QStringView text, int lineBreakLength) {
  return static_cast<int>(text.size() + text.count(QLatin1Char('\n')) * (lineBreakLength - 1));
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

std::u32string keepInCodePage(QLineEdit* edit) {
  const QString text = edit->text();
  CodePageText encoded = encodeCodePage(text);
  if (encoded.replaced.empty()) return {};
  const int cursor = positionInCodePageText(text, edit->cursorPosition());
  const QSignalBlocker block(edit);
  edit->setText(fromCodePage(encoded.bytes));
  edit->setCursorPosition(cursor);
  return std::move(encoded.replaced);
}

void showReplaced(QWidget* widget, const std::u32string& replaced) {
  if (replaced.empty() || !widget->isVisible()) return;
  QToolTip::showText(widget->mapToGlobal(QPoint(0, widget->height())),
                     QStringLiteral("%1 not in the character set (Windows-1252): sent as \"?\"")
                         .arg(QString::fromStdString(forms::codePointNames(replaced))),
                     widget);
}

void reportReplaced(QWidget* widget, const forms::Control& control,
                    const std::u32string& replaced) {
  if (replaced.empty()) return;
  showReplaced(widget, replaced);
  const QString field =
      widget->accessibleName().isEmpty() ? fromCodePage(control.name()) : widget->accessibleName();
  if (forms::Form* form = control.form()) {
    form->CharactersReplaced.emit(toCodePage(field), replaced);
  }
}

void applyControlState(QWidget* widget, const forms::Control& control) {
  widget->setEnabled(control.enabled());
  // Showing a widget that has no parent yet would open it as a window of its own.
  if (widget->parentWidget() != nullptr) widget->setVisible(control.visible());
  // Setting a tooltip always raises an event: only a real change is written.
  const QString tip = fromCodePage(control.toolTip());
  if (widget->toolTip() != tip) widget->setToolTip(tip);
}

void nameByRoleWhileEmpty(QLabel* label) {
  const QString role = label->accessibleDescription();
  QString name = label->text().isEmpty() ? role : QString();
  // A number beside its stepper buttons ("10") says nothing alone: "OUT1 time 1: 10".
  if (name.isEmpty() && !role.isEmpty() && label->property(kReadWithRole).toBool()) {
    name = role + QStringLiteral(": ") + label->text();
  }
  if (label->accessibleName() != name) label->setAccessibleName(name);
}

bool applyColor(QWidget* widget, QPalette::ColorRole role, forms::Color color) {
  const bool plain = !forms::isSystemColor(color);
  const QColor own(forms::redOf(color), forms::greenOf(color), forms::blueOf(color));
  const QPalette system = QApplication::palette(widget);
  // A disabled control's text is greyed as the style greys it, whatever its colour.
  const bool text =
      role == QPalette::WindowText || role == QPalette::ButtonText || role == QPalette::Text;
  QPalette palette = widget->palette();
  bool changed = false;
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool styles = !plain || (text && group == QPalette::Disabled);
    const QColor wanted = styles ? system.color(group, role) : own;
    if (palette.color(group, role) != wanted) {
      palette.setColor(group, role, wanted);
      changed = true;
    }
  }
  // Controls change several times a second (the clock, the lamps): repaint only real changes.
  if (changed) widget->setPalette(palette);
  return plain;
}

void applyBackground(QWidget* widget, forms::Color color) {
  widget->setAutoFillBackground(applyColor(widget, QPalette::Window, color));
}

TypingCut cutTyping(const QString& before, const QString& after, int cursor, int maxLength,
                    int lineBreakLength) {
  if (maxLength <= 0 || modelLength(after, lineBreakLength) <= maxLength) return {};
  const auto lengthBefore = static_cast<int>(before.size());
  const auto lengthAfter = static_cast<int>(after.size());
  const int shorter = std::min(lengthBefore, lengthAfter);
  int prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  int suffix = 0;
  while (suffix < shorter && before[lengthBefore - 1 - suffix] == after[lengthAfter - 1 - suffix]) {
    ++suffix;
  }
  // The least that changed; where the text repeats itself, the reading whose insertion
  // ends at the cursor.
  const int unchanged = std::min(prefix + suffix, shorter);
  const int minSuffix = std::max(0, unchanged - prefix);
  const int maxSuffix = std::min(suffix, unchanged);
  suffix = std::clamp(lengthAfter - std::clamp(cursor, 0, lengthAfter), minSuffix, maxSuffix);
  prefix = unchanged - suffix;

  const int insertedEnd = lengthAfter - suffix;
  if (insertedEnd <= prefix) return {};  // only deleted: a text from code may stay longer
  const QStringView inserted = QStringView(after).mid(prefix, insertedEnd - prefix);
  const int budget = std::max(0, maxLength - (modelLength(after, lineBreakLength) -
                                              modelLength(inserted, lineBreakLength)));
  int kept = 0;
  int used = 0;
  for (const QChar c : inserted) {
    const int width = c == QLatin1Char('\n') ? lineBreakLength : 1;
    if (used + width > budget) break;
    used += width;
    ++kept;
  }
  // Never half a character beyond the 16-bit ones (it could not reach the model anyway).
  if (kept > 0 && inserted[kept - 1].isHighSurrogate()) --kept;
  return {prefix + kept, insertedEnd};
}

}  // namespace d7o::ui
