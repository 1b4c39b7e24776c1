#include "support/rig.h"

#include "app/tarvik_ini.h"
#include "link/serial_link.h"

namespace d7o::test {

Rig::Rig(sim::ModemConfig modemConfig)
    : modem(modemClock, modemConfig), port(scheduler, modem), host(folder.path(), &scheduler) {}

void Rig::writeDefaultIni(const std::string& portText) {
  app::writeDefaultIni(folder.path(), portText);
}

bool Rig::start(const std::string& classicArgument) {
  app.reset();  // a second start is a new program: the old one lets go of the port first
  app = std::make_unique<app::Application>(app::Platform{port, scheduler, dialogs, shell, host},
                                           classicArgument);
  return app->load();
}

void Rig::buildOn(platform::SerialPort& other) {
  writeDefaultIni();
  app.reset();
  app =
      std::make_unique<app::Application>(app::Platform{other, scheduler, dialogs, shell, host}, "");
}

void Rig::startWithOpenPort() {
  writeDefaultIni();
  start();
  port.setSettings("9600,n,8,1");
  app->link().openPort();
}

void Rig::startAnswered() {
  startWithOpenPort();
  state().link.baudRateKnown = true;
  state().link.modemAnswered = true;
  wire();
}

bool Rig::bringUp(platform::Millis limit) {
  if (!app) {
    writeDefaultIni();
    if (!start()) return false;
  }
  app->activate();
  return runUntil(
      [this] {
        return main().caption() == forms::kStandardTitle &&
               main().Label2.backColor() == forms::colors::kGreen && !main().Timer1.enabled();
      },
      limit);
}

void Rig::send(const std::string& command, platform::Millis wait) {
  app->link().sendCommand(command);
  run(wait);
}

void Rig::fromModem(const std::string& bytes) {
  modem.sendUnsolicited(bytes);
}

}  // namespace d7o::test
