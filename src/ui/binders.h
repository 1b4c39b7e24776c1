#pragma once

#include "forms/controls.h"
#include "forms/form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QWidget>

namespace d7o::ui {

class CompassNeedle;
class ElidedLabel;

// Each call ties a widget to its control for as long as the widget lives, names the
// widget after the control (so a test finds "Command1" by name) and shows the control's
// current state at once; later changes follow on the beat of the widget's window
// (ui/refresh_beat.h). The control must outlive the widget.
void bind(QLabel* widget, forms::Label& control);
void bind(QGroupBox* widget, forms::Frame& control);
void bind(QPushButton* widget, forms::CommandButton& control);
void bind(QCheckBox* widget, forms::CheckBox& control);
// A label of one line that shows as much of its caption as fits, the whole as its tooltip.
void bind(ElidedLabel* widget, forms::Label& control);
// A text box the program writes and the user only reads (a status field): one line, cut
// with an ellipsis where it does not fit, the whole text in its tooltip and accessible
// name, so "...no answer from modem..." never shows as "answer from modem...".
void bind(ElidedLabel* widget, forms::TextBox& control);
// A text box of one line. The control's maxLength limits what the user types (what code
// writes is shown whole); a box the view made read-only before binding stays read-only.
void bind(QLineEdit* widget, forms::TextBox& control);
// A text box of several lines: the model's CR LF line ends are the widget's lines, and a
// typed line break is CR LF in the model (2 characters of maxLength). Read-only as above.
void bind(QPlainTextEdit* widget, forms::TextBox& control);
// What Return on a row does: the double click (a command list, the folder lists), or the
// right click (the terminal, where the right button edits a line). The context-menu key
// is the right click in every list.
enum class ReturnKey { DoubleClick, RightClick };
void bind(QListWidget* widget, forms::ListBox& control,
          ReturnKey returnKey = ReturnKey::DoubleClick);
void bind(QProgressBar* widget, forms::ProgressBar& control);
void bind(QSlider* widget, forms::Slider& control);
// The combo's items are the control's fixed items; it is not editable.
void bind(QComboBox* widget, forms::ComboBox& control);
// The radio shows its own control's value: the control's group, not Qt's auto-exclusive
// grouping, clears the others.
void bind(QRadioButton* widget, forms::OptionButton& control);
// A lamp: a small frame filled with the shape's colour.
void bind(QFrame* lamp, forms::Shape& control);
// A shape that is only an outline drawn round other widgets (the box round the SMS
// buttons), which `frame` holds: it shows its outline while the shape is visible. Filled,
// or hidden or disabled as a widget, it would cover, hide or disable what it surrounds.
void bindOutline(QFrame* frame, forms::Shape& control);
// A frame without caption or contents that only draws a line between groups of controls
// (`rule` is a QFrame set to HLine or VLine).
void bindRule(QFrame* rule, forms::Frame& control);
// The tab widget must already hold one page per tab of the control.
void bind(QTabWidget* widget, forms::TabControl& control);
void bind(QAction* action, forms::Menu& control);
void bind(CompassNeedle* needle, forms::Line& control);
// A window's caption, and its position and size whenever the model changes them.
void bind(QWidget* window, forms::Form& form);

// A widget of `parent`, bound to its control.
template <typename Widget, typename Control>
Widget* make(QWidget* parent, Control& control) {
  auto* widget = new Widget(parent);
  bind(widget, control);
  return widget;
}

}  // namespace d7o::ui
