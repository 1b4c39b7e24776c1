#include "app/context.h"

#include "forms/code_page.h"

namespace d7o::app {

namespace {

// "SMS text: U+2713 is not in the character set (Windows-1252) and goes out as \"?\""
std::string replacedNotice(const std::string& field, const std::u32string& characters) {
  const std::string names = forms::codePointNames(characters);
  const bool one = characters.size() == 1;
  return "..." + field + ": " + names + (one ? " is" : " are") +
         " not in the character set (Windows-1252) and go" + (one ? "es" : "") + " out as \"?\"";
}

}  // namespace

Context::Context(const Platform& p)
    : port(p.port), scheduler(p.scheduler), dialogs(p.dialogs), shell(p.shell), host(p.host) {
  for (forms::Form* form :
       {static_cast<forms::Form*>(&main), static_cast<forms::Form*>(&gpsForm),
        static_cast<forms::Form*>(&pduForm), static_cast<forms::Form*>(&binCodeForm),
        static_cast<forms::Form*>(&remoteForm), static_cast<forms::Form*>(&signalForm)}) {
    form->CharactersReplaced.connect([this](const std::string& field, const std::u32string& chars) {
      notice(replacedNotice(field, chars));
    });
  }
}

void Context::notice(const std::string& text) {
  main.List3.addItem(text);
  main.List3.setListIndex(main.List3.count() - 1);
  main.Text3.setText(text);
}

void Context::endProgram(int exitCode) {
  if (ended) return;
  ended = true;
  for (forms::Timer* t : main.timers()) t->setEnabled(false);
  for (forms::Timer* t : gpsForm.timers()) t->setEnabled(false);
  if (port.isOpen()) port.close();
  host.endProgram(exitCode);
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
