#pragma once

#include "forms/color.h"
#include "forms/form.h"

#include <string_view>

#include <QString>

class QWidget;

namespace d7o::forms {
class Control;
}

namespace d7o::ui {

// Gives the widget of every control of `form` inside `window` a name for screen readers
// and desktop automation: a control with a caption is named by it (as Qt does for
// buttons, check boxes, frames and labels); one without (a field, a list, a lamp, a
// value label while it is empty) by its role, which is also its description. Called once
// the window is built.
void nameForAssistiveTools(QWidget& window, const forms::Form& form);

// A lamp (the network registration, CTS, the remote tool's call lamps, the analyzer's
// sentence boxes) shows its state by colour only: names `widget` "role: state" (for
// example "network registration: registered"), and Qt raises the accessibility event of
// the changed name. The role is the control's, else `caption`. False, and nothing named,
// for a control that is no lamp.
bool nameLamp(QWidget* widget, const forms::Control& control, const QString& caption,
              forms::Color color);

// The role of `form`'s control `control`, or nullptr when it has none.
const char* accessibleRoleOf(const forms::Form& form, std::string_view control);

}  // namespace d7o::ui
