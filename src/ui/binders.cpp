#include "ui/binders.h"

#include "ui/accessible_names.h"
#include "ui/binder.h"
#include "ui/code_page.h"
#include "ui/compass_widget.h"
#include "ui/elided_label.h"

#include <algorithm>
#include <limits>
#include <utility>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace d7o::ui {

namespace {

void nameAfter(QObject* object, const forms::Control& control) {
  object->setObjectName(fromCodePage(control.name()));
}

class LabelBinder : public Binder {
 public:
  LabelBinder(QLabel* w, forms::Label& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    // Captions may carry what the modem sent: never markup.
    w->setTextFormat(Qt::PlainText);
    // Pointing at a label is news for those that react to it (the about tab's link).
    w->setMouseTracking(true);
    follow(c.changed);
    watchMouseUp(w, [this](forms::MouseButton button, bool inside) {
      m_control.MouseUp.emit(button);
      // The release that ends a double click is no click of its own.
      const bool afterDoubleClick = std::exchange(m_doubleClicked, false);
      if (button == forms::MouseButton::Left && inside && !afterDoubleClick) {
        m_control.Click.emit();
      }
    });
    show();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_widget && event->type() == QEvent::MouseMove && m_widget->isEnabled()) {
      m_control.MouseMove.emit();
    }
    // A new press starts a new click.
    if (watched == m_widget && event->type() == QEvent::MouseButtonPress) m_doubleClicked = false;
    if (watched == m_widget && event->type() == QEvent::MouseButtonDblClick &&
        m_widget->isEnabled() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      m_doubleClicked = true;
      m_control.DblClick.emit();
    }
    return Binder::eventFilter(watched, event);
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    m_widget->setText(fromCodePage(m_control.caption()));
    if (!nameLamp(m_widget, m_control, m_widget->text(), m_control.backColor())) {
      nameByRoleWhileEmpty(m_widget);
    }
    applyControlState(m_widget, m_control);
    applyBackground(m_widget, m_control.backColor());
    applyColor(m_widget, QPalette::WindowText, m_control.foreColor());
  }

  QLabel* m_widget;
  forms::Label& m_control;
  bool m_doubleClicked = false;
};

class FrameBinder : public Binder {
 public:
  FrameBinder(QGroupBox* w, forms::Frame& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    m_widget->setTitle(fromCodePage(m_control.caption()));
    applyControlState(m_widget, m_control);
    applyBackground(m_widget, m_control.backColor());
    applyColor(m_widget, QPalette::WindowText, m_control.foreColor());
  }

  QGroupBox* m_widget;
  forms::Frame& m_control;
};

class ButtonBinder : public Binder {
 public:
  ButtonBinder(QPushButton* w, forms::CommandButton& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    connect(w, &QPushButton::clicked, this, [this] { m_control.click(); });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    m_widget->setText(fromCodePage(m_control.caption()));
    applyControlState(m_widget, m_control);
    applyColor(m_widget, QPalette::Button, m_control.backColor());
    applyColor(m_widget, QPalette::ButtonText, m_control.foreColor());
  }

  QPushButton* m_widget;
  forms::CommandButton& m_control;
};

class CheckBoxBinder : public Binder {
 public:
  CheckBoxBinder(QCheckBox* w, forms::CheckBox& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    // Every change of the tick: a click, the space bar, a screen reader's "Toggle".
    connect(w, &QCheckBox::toggled, this, [this](bool checked) {
      m_control.setChecked(checked);
      // The Click handler may have set it back; the box shows what the model holds.
      show();
    });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    m_widget->setText(fromCodePage(m_control.caption()));
    m_widget->setChecked(m_control.checked());
    nameLamp(m_widget, m_control, m_widget->text(), m_control.backColor());
    applyControlState(m_widget, m_control);
    applyBackground(m_widget, m_control.backColor());
    applyColor(m_widget, QPalette::WindowText, m_control.foreColor());
  }

  QCheckBox* m_widget;
  forms::CheckBox& m_control;
};

class SliderBinder : public Binder {
 public:
  SliderBinder(QSlider* w, forms::Slider& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    w->setOrientation(Qt::Horizontal);
    w->setTickPosition(QSlider::TicksBelow);
    follow(c.changed);
    connect(w, &QSlider::valueChanged, this, [this](int value) { m_control.setValue(value); });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    m_widget->setRange(m_control.min(), m_control.max());
    m_widget->setTickInterval(m_control.tickFrequency());
    m_widget->setValue(m_control.value());
    applyControlState(m_widget, m_control);
  }

  QSlider* m_widget;
  forms::Slider& m_control;
};

class TextBoxBinder : public Binder {
 public:
  TextBoxBinder(QLineEdit* w, forms::TextBox& c)
      : Binder(w, w), m_widget(w), m_control(c), m_designReadOnly(w->isReadOnly()) {
    nameAfter(w, c);
    // The control's limit is for typing only and is the binder's; the widget's own would
    // also cut what code writes (and is 32767 by default).
    w->setMaxLength(std::numeric_limits<int>::max());
    follow(c.changed);
    // Every change, also one from a screen reader, an input method or a paste from the
    // menu; the model's own copies run blocked.
    connect(w, &QLineEdit::textChanged, this, [this] { edited(); });
    w->installEventFilter(this);
    show();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_widget && event->type() == QEvent::KeyRelease && m_widget->isEnabled()) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat()) m_control.KeyUp.emit(keyCode(*key));
    }
    return Binder::eventFilter(watched, event);
  }

 private:
  // The key as the classic desktop codes it: Enter 13, a character its code in the
  // windows' code page.
  static int keyCode(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
      return forms::TextBox::kEnterKey;
    }
    if (key.key() == Qt::Key_Up) return forms::TextBox::kUpKey;
    if (key.key() == Qt::Key_Down) return forms::TextBox::kDownKey;
    const CodePageText code = encodeCodePage(key.text());
    return code.bytes.size() == 1 && code.replaced.empty()
               ? static_cast<unsigned char>(code.bytes[0])
               : 0;
  }

  void edited() {
    QString text = m_widget->text();
    const TypingCut cut =
        cutTyping(m_shown, text, m_widget->cursorPosition(), m_control.maxLength());
    if (!cut.empty()) {
      text.remove(cut.from, cut.to - cut.from);
      const QSignalBlocker block(m_widget);
      m_widget->setText(text);
      m_widget->setCursorPosition(cut.from);
    }
    const std::u32string replaced = keepInCodePage(m_widget);
    m_shown = m_widget->text();
    m_control.setText(toCodePage(m_shown));
    reportReplaced(m_widget, m_control, replaced);
    show();
  }

  void show() override {
    const QSignalBlocker block(m_widget);
    const QString text = fromCodePage(m_control.text());
    // Only a real difference is written, so typing keeps its cursor position.
    if (m_widget->text() != text) m_widget->setText(text);
    m_shown = text;
    // A box its view made read-only (a status field) stays so.
    const bool readOnly = m_designReadOnly || m_control.readOnly();
    if (m_widget->isReadOnly() != readOnly) m_widget->setReadOnly(readOnly);
    applyControlState(m_widget, m_control);
    applyColor(m_widget, QPalette::Base, m_control.backColor());
  }

  QLineEdit* m_widget;
  forms::TextBox& m_control;
  bool m_designReadOnly;
  // What the widget showed before the user's edit.
  QString m_shown;
};

class ProgressBarBinder : public Binder {
 public:
  ProgressBarBinder(QProgressBar* w, forms::ProgressBar& c)
      : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    w->setTextVisible(false);
    follow(c.changed);
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    const int max = std::max(0, m_control.max());
    m_widget->setRange(0, max);
    // QProgressBar ignores a value out of range and would keep showing the old one.
    m_widget->setValue(std::clamp(m_control.value(), 0, max));
    applyControlState(m_widget, m_control);
    // A new style sheet re-polishes the bar: only when the colour really changes.
    if (m_barColor != m_control.barColor()) {
      m_barColor = m_control.barColor();
      m_widget->setStyleSheet(barStyle(m_barColor));
    }
  }

  // A plain colour fills the bar on a plain field; a system colour is the style's bar.
  static QString barStyle(forms::Color color) {
    if (forms::isSystemColor(color)) return {};
    const QColor chunk(forms::redOf(color), forms::greenOf(color), forms::blueOf(color));
    return QStringLiteral(
               "QProgressBar { border: 1px solid palette(mid); background: palette(base); }"
               "QProgressBar::chunk { background-color: %1; }")
        .arg(chunk.name());
  }

  QProgressBar* m_widget;
  forms::ProgressBar& m_control;
  forms::Color m_barColor = forms::ProgressBar::kStyleBarColor;
};

// A text cut to the widget's width, whole in its tooltip: a label's caption (the
// analyzer's received text, the remote tool's status) or a status field's text.
const std::string& shownText(const forms::Label& control) {
  return control.caption();
}
const std::string& shownText(const forms::TextBox& control) {
  return control.text();
}

template <typename Control>
class ElidedBinder : public Binder {
 public:
  ElidedBinder(ElidedLabel* w, Control& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    show();
  }

 private:
  void show() override {
    // The tooltip is the whole text, not the control's.
    m_widget->setEnabled(m_control.enabled());
    if (m_widget->parentWidget() != nullptr) m_widget->setVisible(m_control.visible());
    m_widget->setFullText(fromCodePage(shownText(m_control)));
    m_widget->nameWholly();
    applyBackground(m_widget, m_control.backColor());
  }

  ElidedLabel* m_widget;
  Control& m_control;
};

// The compass needle: the line's window pixels in the square's own.
class NeedleBinder : public Binder {
 public:
  NeedleBinder(CompassNeedle* w, forms::Line& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    show();
  }

 private:
  void show() override {
    const QPoint o = m_widget->origin();
    m_widget->setNeedle(QPoint(m_control.x1(), m_control.y1()) - o,
                        QPoint(m_control.x2(), m_control.y2()) - o);
    m_widget->setVisible(m_control.visible());
  }

  CompassNeedle* m_widget;
  forms::Line& m_control;
};

class ShapeBinder : public Binder {
 public:
  ShapeBinder(QFrame* w, forms::Shape& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    watchMouseUp(w, [this](forms::MouseButton button, bool) { m_control.MouseUp.emit(button); });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    nameLamp(m_widget, m_control, QString(), m_control.fillColor());
    applyControlState(m_widget, m_control);
    applyBackground(m_widget, m_control.fillColor());
  }

  QFrame* m_widget;
  forms::Shape& m_control;
};

class OutlineBinder : public Binder {
 public:
  OutlineBinder(QFrame* w, forms::Shape& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    w->setFrameShadow(QFrame::Plain);
    follow(c.changed);
    show();
  }

 private:
  void show() override {
    const auto shape = m_control.visible() ? QFrame::Box : QFrame::NoFrame;
    if (m_widget->frameShape() != shape) m_widget->setFrameShape(shape);
    const QString tip = fromCodePage(m_control.toolTip());
    if (m_widget->toolTip() != tip) m_widget->setToolTip(tip);
  }

  QFrame* m_widget;
  forms::Shape& m_control;
};

class RuleBinder : public Binder {
 public:
  RuleBinder(QFrame* w, forms::Frame& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    show();
  }

 private:
  void show() override { applyControlState(m_widget, m_control); }

  QFrame* m_widget;
  forms::Frame& m_control;
};

class TabBinder : public Binder {
 public:
  TabBinder(QTabWidget* w, forms::TabControl& c) : Binder(w, w), m_widget(w), m_control(c) {
    nameAfter(w, c);
    follow(c.changed);
    connect(w, &QTabWidget::currentChanged, this, [this](int tab) {
      m_control.setTab(tab);
      show();
    });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    const int tabs = std::min(m_widget->count(), m_control.tabCount());
    for (int i = 0; i < tabs; ++i) m_widget->setTabText(i, fromCodePage(m_control.tabCaption(i)));
    m_widget->setCurrentIndex(m_control.tab());
    applyControlState(m_widget, m_control);
  }

  QTabWidget* m_widget;
  forms::TabControl& m_control;
};

class MenuBinder : public Binder {
 public:
  MenuBinder(QAction* a, forms::Menu& c)
      : Binder(a, qobject_cast<QWidget*>(a->parent())), m_action(a), m_control(c) {
    nameAfter(a, c);
    follow(c.changed);
    connect(a, &QAction::triggered, this, [this] { m_control.click(); });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_action);
    m_action->setText(fromCodePage(m_control.caption()));
    m_action->setEnabled(m_control.enabled());
    m_action->setVisible(m_control.visible());
    m_action->setToolTip(fromCodePage(m_control.toolTip()));
  }

  QAction* m_action;
  forms::Menu& m_control;
};

class FormBinder : public Binder {
 public:
  FormBinder(QWidget* w, forms::Form& f) : Binder(w, w), m_widget(w), m_form(f) {
    w->setObjectName(fromCodePage(f.name()));
    follow(f.changed);
    w->installEventFilter(this);
    show();
  }

 protected:
  // Where the user puts the window and how large he makes it is the window's place from
  // now on: the program centres it (opening the remote tool) at that size, not at the one
  // it was designed with.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_widget && m_widget->isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
      const QRect now(m_widget->pos(), m_widget->size());
      if (now != m_applied) {
        m_applied = now;
        m_form.move(now.left(), now.top());
        m_form.resize(now.width(), now.height());
      }
    }
    return Binder::eventFilter(watched, event);
  }

 private:
  void show() override {
    m_widget->setWindowTitle(fromCodePage(m_form.caption()));
    // Only a change of the model's geometry moves the window, so a caption change does
    // not undo what the user did with the window since.
    const QRect wanted(m_form.left(), m_form.top(), m_form.width(), m_form.height());
    if (wanted == m_applied) return;
    m_applied = wanted;
    m_widget->move(wanted.topLeft());
    if (wanted.width() > 0 && wanted.height() > 0) m_widget->resize(wanted.size());
  }

  QWidget* m_widget;
  forms::Form& m_form;
  QRect m_applied;
};

}  // namespace

void bind(QLabel* widget, forms::Label& control) {
  new LabelBinder(widget, control);
}
void bind(QGroupBox* widget, forms::Frame& control) {
  new FrameBinder(widget, control);
}
void bind(QPushButton* widget, forms::CommandButton& control) {
  new ButtonBinder(widget, control);
}
void bind(QCheckBox* widget, forms::CheckBox& control) {
  new CheckBoxBinder(widget, control);
}
void bind(QLineEdit* widget, forms::TextBox& control) {
  new TextBoxBinder(widget, control);
}
void bind(QSlider* widget, forms::Slider& control) {
  new SliderBinder(widget, control);
}

void bind(QProgressBar* widget, forms::ProgressBar& control) {
  new ProgressBarBinder(widget, control);
}
void bind(ElidedLabel* widget, forms::Label& control) {
  new ElidedBinder<forms::Label>(widget, control);
}
void bind(ElidedLabel* widget, forms::TextBox& control) {
  new ElidedBinder<forms::TextBox>(widget, control);
}
void bind(CompassNeedle* widget, forms::Line& control) {
  new NeedleBinder(widget, control);
}
void bind(QFrame* lamp, forms::Shape& control) {
  new ShapeBinder(lamp, control);
}
void bindOutline(QFrame* frame, forms::Shape& control) {
  new OutlineBinder(frame, control);
}
void bindRule(QFrame* rule, forms::Frame& control) {
  new RuleBinder(rule, control);
}
void bind(QTabWidget* widget, forms::TabControl& control) {
  new TabBinder(widget, control);
}
void bind(QAction* action, forms::Menu& control) {
  new MenuBinder(action, control);
}
void bind(QWidget* window, forms::Form& form) {
  new FormBinder(window, form);
}

}  // namespace d7o::ui
