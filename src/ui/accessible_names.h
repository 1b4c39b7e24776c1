#pragma once

#include "forms/form.h"

#include <string_view>

class QWidget;

namespace d7o::ui {

// Gives the widget of every control of `form` inside `window` a name for screen readers
// and desktop automation: a control with a caption is named by it (as Qt does for
// buttons, check boxes, frames and labels); one without (a field, a list, a lamp, a
// value label while it is empty) by its role, which is also its description. Called once
// the window is built.
void nameForAssistiveTools(QWidget& window, const forms::Form& form);

// The role of `form`'s control `control`, or nullptr when it has none.
const char* accessibleRoleOf(const forms::Form& form, std::string_view control);

}  // namespace d7o::ui
