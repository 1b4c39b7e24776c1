#pragma once

// One builder per tab of the main window, each in a file named after its tab. A builder
// makes the tab's page and binds every control on it; the main window puts the pages in
// its tab control.

#include "forms/main_window.h"

#include <QWidget>

namespace d7o::ui::tabs {

QWidget* buildTerminalTab(forms::MainWindow& m);
QWidget* buildVoiceCallTab(forms::MainWindow& m);
QWidget* buildSmsTab(forms::MainWindow& m);
QWidget* buildOptionsTab(forms::MainWindow& m);
QWidget* buildAlarmTab(forms::MainWindow& m);
QWidget* buildGpsTab(forms::MainWindow& m);
QWidget* buildAboutTab(forms::MainWindow& m);

}  // namespace d7o::ui::tabs
