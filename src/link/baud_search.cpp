#include "link/baud_search.h"

#include "link/serial_link.h"

namespace d7o::link {

namespace {

// Line settings by step: 9600 first (the usual rate) and last; step 8 is where an answer
// sends the search, so the pass under way does nothing more; step 9 gives up.
constexpr const char* kStepSettings[] = {
    "9600,n,8,1",  "115200,n,8,1", "57600,n,8,1", "19200,n,8,1",
    "38400,n,8,1", "2400,n,8,1",   "4800,n,8,1",  "9600,n,8,1",
};
constexpr int kAnsweredStep = 8;
constexpr int kGiveUpStep = 9;
constexpr const char* kDefaultSettings = "9600,n,8,1";

}  // namespace

BaudSearch::BaudSearch(app::Context& ctx, SerialLink& link) : m_ctx(ctx), m_link(link) {}

void BaudSearch::FoundBaudRate() {
  if (m_running || m_ctx.ended) return;
  m_running = true;
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;

  if (auto error = m_link.openPort()) {
    // No port, no search: say why instead of trying settings on nothing.
    m_ctx.showError(SerialLink::errorText(*error));
    w.Text2.setText("...no answer from modem...");
    w.Label25.setCaption("...no GSM device");
    w.setCaption(forms::kStandardTitle);
    m_running = false;
    return;
  }
  m_link.pulseDtrRts();

  s.link.baudSearchActive = true;
  s.link.baudSearchStep = 0;
  w.Label25.setCaption("...check baudrate");
  while (s.link.baudSearchActive && !m_ctx.ended) {
    m_ctx.scheduler.pumpPending();
    // The modem needs its start-up time before the first "AT"; each later setting gets
    // two seconds for its answer, which the receive handler takes meanwhile.
    m_link.Delay(s.link.baudSearchStep == 0 ? 5 : 2);
    if (m_ctx.ended) break;
    const int step = s.link.baudSearchStep;
    if (step < kAnsweredStep) {
      if (s.dispatch.gpsReceiveMode) {
        // The device streams NMEA: the GPS handling has taken over.
        m_running = false;
        return;
      }
      m_ctx.port.setSettings(kStepSettings[step]);
      m_link.sendCommand("AT");
    } else if (step == kGiveUpStep) {
      m_ctx.port.setSettings(kDefaultSettings);
      w.Text2.setText("...no answer from modem...");
      s.link.baudSearchActive = false;
    }
    s.link.baudSearchStep = step + 1;
    if (step != kGiveUpStep) w.Text2.setText("...check " + m_ctx.port.settings());
  }
  m_running = false;
  if (m_ctx.ended) return;

  if (s.link.modemAnswered) {
    s.link.initAwaitingOk = true;
    w.Timer2.setEnabled(true);
    w.Label25.setCaption("dbm");
  } else {
    w.Label25.setCaption("...no GSM device");
    w.setCaption(forms::kStandardTitle);
  }
}

void BaudSearch::modemAnswered() {
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;
  w.Text2.setText(m_ctx.port.settings());
  w.Label25.setCaption("dbm");
  s.link.baudSearchStep = kAnsweredStep;
  s.link.baudSearchActive = false;
  s.link.baudRateKnown = true;
  s.link.modemAnswered = true;
}

}  // namespace d7o::link
