#pragma once

// The pieces the main window's tabs are built of, shared by every tab's builder.

#include "forms/controls.h"

#include <initializer_list>

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

namespace d7o::ui {
class ElidedLabel;
}  // namespace d7o::ui

namespace d7o::ui::tabs {

constexpr int kLampSize = 16;
// Wide enough for a typed number, an initialisation string, a configuration string.
constexpr int kNumberFieldWidth = 180;
constexpr int kCommandFieldWidth = 320;
// Room for a few lines of a message, or a whole PDU of 140 octets.
constexpr int kSmsTextMinHeight = 96;

QFrame* makeLamp(QWidget* parent, forms::Shape& control);
QLabel* makeLampLabel(QWidget* parent, forms::Label& control);
// A sunken line between groups of controls.
QFrame* makeRule(QWidget* parent, forms::Frame& control, QFrame::Shape shape);
// A status text box: the program writes it, the user reads it, whole or cut with an
// ellipsis (the whole text in its tooltip).
ElidedLabel* makeStatusBox(QWidget* parent, forms::TextBox& control);
// Widgets side by side: a lamp and its caption, a label and its field, buttons.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets);
QVBoxLayout* column(std::initializer_list<QWidget*> widgets);
// A page that scrolls instead of squeezing its controls when the window is small.
QWidget* scrollable(QWidget* content);
// A label of one line that keeps its size while its text changes among `texts`.
QLabel* makeSteadyLabel(QWidget* parent, forms::Label& control,
                        std::initializer_list<const char*> texts);
// A number a stepper pair changes: "-", the value in a sunken box, "+".
QHBoxLayout* stepper(QWidget* parent, forms::CommandButton& minus, forms::Label& value,
                     forms::CommandButton& plus, const char* widest);
// A value label beside a slider.
QLabel* makeValueLabel(QWidget* parent, forms::Label& control);

}  // namespace d7o::ui::tabs
