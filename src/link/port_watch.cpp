#include "link/port_watch.h"

#include <string>

namespace d7o::link {

PortWatch::PortWatch(app::Context& ctx) : m_ctx(ctx) {
  m_ctx.main.HS_Timer.Tick.connect([this] { tick(); });
}

void PortWatch::tick() {
  if (m_ctx.ended) return;
  auto& port = m_ctx.port;
  const std::string name = "COM" + std::to_string(port.commPort()) + ":";
  if (!m_waiting) {
    if (!port.deviceLost()) return;
    m_waiting = true;
    m_ticks = 0;
    m_ctx.notice("...the serial device of " + name + " is gone; waiting for it to return");
    showUnknown();
    // Told once, in a box that waits for nobody: the watch, the clock and the reopening
    // go on while it shows, and an unattended bench comes back by itself.
    m_ctx.dialogs.notice("The serial device of " + name +
                             " is gone (the USB adapter unplugged?).\n"
                             "The program opens it again as soon as it is back.",
                         "", platform::MessageIcon::Exclamation);
    return;
  }
  // The user opened a port meanwhile (or chose another): nothing left to wait for.
  if (port.isOpen()) {
    m_waiting = false;
    return;
  }
  if (++m_ticks < kTicksBetweenTries) return;
  m_ticks = 0;
  // Only the device that went comes back: another one now at the same place (an adapter
  // of another make or serial number) is named, not opened.
  if (port.anotherDeviceInPlace()) {
    const std::string now = port.deviceIdentity();
    if (now != m_strangerReported) {
      m_strangerReported = now;
      m_ctx.notice("...another device is at " + name + " (" + now + ", not " +
                   port.openedIdentity() + "): not opened; waiting for the one that was there");
    }
    return;
  }
  if (port.open()) return;  // still gone
  m_waiting = false;
  m_strangerReported.clear();
  m_ctx.notice("...the serial device of " + name + " is back: port open again");
}

void PortWatch::showUnknown() {
  // What the modem said before it went is no longer known: registration and field
  // strength show as unknown until it answers again.
  auto& w = m_ctx.main;
  w.Label2.setBackColor(forms::colors::kSystemButtonFace);
  w.Gauge1.setValue(0);
  w.Label25.setCaption("field strength unknown");
}

}  // namespace d7o::link
