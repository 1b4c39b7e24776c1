#include "app/context.h"

namespace d7o::app {

void Context::endProgram() {
  if (ended) return;
  ended = true;
  for (forms::Timer* t : {&main.HS_Timer, &main.Timer1, &main.Timer2, &main.Timer3}) {
    t->setEnabled(false);
  }
  if (port.isOpen()) port.close();
  host.endProgram();
}

void Context::showError(const std::string& text) {
  dialogs.messageBox(text, "E r r o r", platform::MessageIcon::Critical,
                     platform::MessageButtons::Ok);
}

void Context::CenterForm(forms::Form& form) {
  const platform::ScreenSize screen = host.screenSize();
  form.move((screen.width - form.width()) / 2, (screen.height - form.height()) / 2);
}

std::string Context::configItem(int index) const {
  return index >= 0 && index < main.List2.count() ? main.List2.item(index) : std::string();
}

}  // namespace d7o::app
