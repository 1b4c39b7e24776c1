#include "ui/tabs/tab_widgets.h"

#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/elided_label.h"

#include <algorithm>

#include <QPushButton>
#include <QScrollArea>

namespace d7o::ui::tabs {

QFrame* makeLamp(QWidget* parent, forms::Shape& control) {
  auto* lamp = make<QFrame>(parent, control);
  lamp->setFrameShape(QFrame::Box);
  lamp->setFixedSize(kLampSize, kLampSize);
  return lamp;
}

QLabel* makeLampLabel(QWidget* parent, forms::Label& control) {
  auto* lamp = make<QLabel>(parent, control);
  lamp->setFrameShape(QFrame::Box);
  lamp->setFixedSize(kLampSize, kLampSize);
  return lamp;
}

QFrame* makeRule(QWidget* parent, forms::Frame& control, QFrame::Shape shape) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(shape);
  rule->setFrameShadow(QFrame::Sunken);
  bindRule(rule, control);
  return rule;
}

ElidedLabel* makeStatusBox(QWidget* parent, forms::TextBox& control) {
  auto* box = new ElidedLabel(parent);
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  bind(box, control);
  return box;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
  auto* layout = new QHBoxLayout;
  for (QWidget* w : widgets) layout->addWidget(w);
  return layout;
}

QVBoxLayout* column(std::initializer_list<QWidget*> widgets) {
  auto* layout = new QVBoxLayout;
  for (QWidget* w : widgets) layout->addWidget(w);
  return layout;
}

// A page that scrolls instead of squeezing its controls when the window is small (the
// program starts it low).
QWidget* scrollable(QWidget* content) {
  auto* area = new QScrollArea;
  area->setWidget(content);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  return area;
}

// A label of one line that keeps its size while its text changes among `texts`: the
// controls beside it do not jump, and a fixed size keeps a change from laying out (and
// repainting) the whole tab again, as the clock changes with every sentence of a GPS
// device.
QLabel* makeSteadyLabel(QWidget* parent, forms::Label& control,
                        std::initializer_list<const char*> texts) {
  auto* label = make<QLabel>(parent, control);
  int widest = 0;
  for (const char* text : texts) {
    widest = std::max(widest, label->fontMetrics().horizontalAdvance(QString::fromLatin1(text)));
  }
  label->setFixedSize(widest, label->fontMetrics().height());
  return label;
}

// A number a stepper pair changes: "-", the value in a sunken box, "+".
QHBoxLayout* stepper(QWidget* parent, forms::CommandButton& minus, forms::Label& value,
                     forms::CommandButton& plus, const char* widest) {
  auto* shown = makeSteadyLabel(parent, value, {widest});
  shown->setProperty(kReadWithRole, true);
  shown->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // The frame needs room around the digits.
  shown->setFixedWidth(shown->width() + 2 * shown->frameWidth() + shown->margin() + 4);
  shown->setFixedHeight(shown->height() + 2 * shown->frameWidth());
  auto* minusButton = make<QPushButton>(parent, minus);
  auto* plusButton = make<QPushButton>(parent, plus);
  for (QPushButton* b : {minusButton, plusButton}) {
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("+ +")) + 16);
  }
  auto* layout = row({minusButton, shown, plusButton});
  layout->setSpacing(2);
  return layout;
}

QLabel* makeValueLabel(QWidget* parent, forms::Label& control) {
  auto* label = makeSteadyLabel(parent, control, {"0000"});
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace d7o::ui::tabs
