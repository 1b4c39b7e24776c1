#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace d7o::ui {

// The program's message and input boxes as Qt dialogs, modal over the main window.
class QtDialogs : public platform::Dialogs {
 public:
  // The window the boxes sit over; none before the main window exists.
  void setParentWindow(QWidget* window) { m_parent = window; }

  platform::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     platform::MessageIcon icon,
                                     platform::MessageButtons buttons) override;
  void notice(const std::string& text, const std::string& title,
              platform::MessageIcon icon) override;
  std::string inputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;

 private:
  // The window a box opens over: the side window that holds the user (the main window is
  // hidden behind it), else the main window.
  QWidget* owner() const;

  QPointer<QWidget> m_parent;
};

}  // namespace d7o::ui
