#pragma once

#include "forms/controls.h"
#include "forms/form.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QWidget>

namespace d7o::ui {

// Each call ties a widget to its control for as long as the widget lives, names the
// widget after the control (so a test finds "Command1" by name) and shows the control's
// current state at once. The control must outlive the widget.
void bind(QLabel* widget, forms::Label& control);
void bind(QGroupBox* widget, forms::Frame& control);
void bind(QPushButton* widget, forms::CommandButton& control);
void bind(QCheckBox* widget, forms::CheckBox& control);
void bind(QLineEdit* widget, forms::TextBox& control);
void bind(QListWidget* widget, forms::ListBox& control);
void bind(QProgressBar* widget, forms::ProgressBar& control);
void bind(QSlider* widget, forms::Slider& control);
// A lamp: a small frame filled with the shape's colour.
void bind(QFrame* lamp, forms::Shape& control);
// The tab widget must already hold one page per tab of the control.
void bind(QTabWidget* widget, forms::TabControl& control);
void bind(QAction* action, forms::Menu& control);
// A window's caption, and its position and size whenever the model changes them.
void bind(QWidget* window, forms::Form& form);

}  // namespace d7o::ui
