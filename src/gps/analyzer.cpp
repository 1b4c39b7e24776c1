#include "gps/analyzer.h"

#include "device/command_set.h"
#include "gps/analyzer_display.h"
#include "gps/course_display.h"
#include "gps/nmea_evaluation.h"
#include "link/serial_link.h"

namespace d7o::gps {

using namespace forms::colors;

Analyzer::Analyzer(app::Context& ctx, link::SerialLink& link, std::function<void()> activateMain)
    : m_ctx(ctx), m_link(link), m_activateMain(std::move(activateMain)) {
  auto& g = m_ctx.gpsForm;
  for (forms::CheckBox* box : g.sentenceBoxes()) {
    box->Click.connect([this, box] { selectProtocol(*box); });
  }
  g.Check5.Click.connect([this] { selectAllProtocols(); });
  g.Check6.Click.connect([this] { Check6_Click(); });
  g.Command1.Click.connect([this] { refresh(); });
  g.Command3.Click.connect([this] { resetDisplay(); });
  g.m_exit.Click.connect([this] { m_exit_Click(); });
  auto& w = m_ctx.main;
  w.m_gps.Click.connect([this] { m_gps_Click(); });
  w.Command31.Click.connect([this] { Command31_Click(); });
  w.Command30.Click.connect([this] { Command30_Click(); });
  w.Command8.Click.connect([this] { Command8_Click(); });
  showFix();
}

void Analyzer::showFix() {
  gps::showFix(m_fix, m_ctx.gpsForm);
}

void Analyzer::intervalOk() {
  m_ctx.state.dispatch.intervalRequestPending = false;
  m_link.sendCommand(device::kRequestInterval);
}

void Analyzer::load() {
  auto& g = m_ctx.gpsForm;
  if (g.loaded) return;
  g.loaded = true;
  m_ctx.CenterForm(g);
}

void Analyzer::colourMarked(const std::string& marked) {
  auto& g = m_ctx.gpsForm;
  for (forms::CheckBox* box : g.sentenceBoxes()) {
    box->setBackColor(box->caption() == marked ? kGreen : kRed);
  }
}

void Analyzer::evaluateStreamReply() {
  auto& g = m_ctx.gpsForm;
  app::SharedState& s = m_ctx.state;
  // Counted before the evaluation, which takes a sentence with a wrong checksum all the
  // same: the statistics are where the technician sees it.
  m_statistics.countReply(s.dispatch.receiveBuffer, m_ctx.scheduler.now());
  // The first sentence creates the window in the background.
  load();
  NmeaState nmea{s.gps.satelliteSlotPointer, s.gps.gpsSpeed, g.Option20.value()};
  const std::string marked = evaluateReply(s.dispatch.receiveBuffer, m_fix, nmea);
  if (!marked.empty()) {
    m_sentenceShown = true;
    s.gps.gpsSentenceShown = marked;
    colourMarked(marked);
  } else if (s.gps.gpsSentenceShown.empty()) {
    for (forms::CheckBox* box : {&g.Check1, &g.Check2, &g.Check3, &g.Check4, &g.Check5}) {
      box->setBackColor(kRed);
    }
  }
  showFix();
  if (marked == "GPRMC") ShowDirection(g);
}

void Analyzer::showClock() {
  auto& w = m_ctx.main;
  const std::string clock = gpsClockText(m_ctx.state.dispatch.receiveBuffer);
  if (!clock.empty()) {
    m_ctx.state.gps.timeDisplay = clock;
    w.Label48.setCaption(clock);
    w.Label12.setCaption("GPS-Time");
    w.Label14.setCaption("GMT");
  } else {
    w.Label12.setCaption("PC-Time");
    m_ctx.state.gps.timeDisplay.clear();
    w.Label14.setCaption("");
  }
}

void Analyzer::activate() {
  auto& g = m_ctx.gpsForm;
  // The designed texts give way when the window first shows. What sentences wrote stays:
  // after a remote device's stream has ended with its call, nothing would write it again.
  if (m_sentenceShown) {
    showFix();
  } else {
    refresh();
  }
  // North until the first RMC sentence turns the needle.
  g.Line1.setPoint1(g.Line1.x2(), forms::GpsForm::kPanel1.top);
}

void Analyzer::refresh() {
  GPSformRefresh(m_fix);
  showFix();
}

void Analyzer::resetDisplay() {
  resetSatelliteDisplay(m_fix);
  showFix();
}

void Analyzer::m_gps_Click() {
  m_ctx.main.setVisible(false);
  load();
  m_ctx.gpsForm.setVisible(true);
  activate();
}

void Analyzer::m_exit_Click() {
  auto& w = m_ctx.main;
  // The window loaded again later starts with the designed values.
  m_fix = GpsFix{};
  m_sentenceShown = false;
  m_ctx.gpsForm.restoreDesign();
  showFix();
  w.Tab1.setTab(forms::tabs::kTerminal);
  w.setVisible(true);
  w.m_gps.setVisible(false);
  if (m_activateMain) m_activateMain();
}

void Analyzer::Check6_Click() {
  auto& g = m_ctx.gpsForm;
  const bool show = g.Check6.checked();
  g.GPGSV.setVisible(show);
  g.Check6.setCaption(show ? "hide satellite level" : "show satellite level");
}

void Analyzer::discardInput() {
  m_ctx.port.discardInput();
  m_ctx.state.dispatch.receiveBuffer.clear();
}

// A box clicked while it is ticked clears and ticks it again; that second Click must not
// send the choice a second time.
void Analyzer::selectProtocol(forms::CheckBox& box) {
  if (m_selecting) return;
  m_selecting = true;
  auto& g = m_ctx.gpsForm;
  app::SharedState& s = m_ctx.state;
  const std::string sentence = box.caption();
  const bool portReady = openPort();
  s.gps.gpsSentenceShown = sentence;
  discardInput();
  if (!s.dispatch.remoteConnectPending && portReady) m_link.sendOrReport(device::cnfGps(sentence));
  s.dispatch.intervalRequestPending = true;
  box.setChecked(true);
  discardInput();
  for (forms::CheckBox* other : {&g.Check1, &g.Check2, &g.Check3, &g.Check4, &g.Check5}) {
    if (other != &box) other->setBackColor(kRed);
  }
  g.Check6.setChecked(true);
  refresh();
  m_selecting = false;
}

void Analyzer::selectAllProtocols() {
  if (m_selecting) return;
  m_selecting = true;
  auto& g = m_ctx.gpsForm;
  app::SharedState& s = m_ctx.state;
  const bool portReady = openPort();
  s.gps.gpsSentenceShown = g.Check1.caption();
  discardInput();
  if (!s.dispatch.remoteConnectPending && portReady)
    m_link.sendOrReport(device::cnfGps(device::kAllSentences));
  s.dispatch.intervalRequestPending = true;
  g.Check5.setChecked(true);
  discardInput();
  for (forms::CheckBox* box : g.sentenceBoxes()) box->setBackColor(kRed);
  g.Check5.setBackColor(kGreen);
  refresh();
  m_selecting = false;
}

bool Analyzer::openPort() {
  return m_link.openOrReport();
}

void Analyzer::Command31_Click() {
  if (openPort()) m_link.sendOrReport("AT");
  m_ctx.main.Command31.setVisible(false);
}

void Analyzer::Command30_Click() {
  m_ctx.main.Command31.setVisible(true);
  m_link.sendOrReport(device::kRequestInterval);
}

void Analyzer::Command8_Click() {
  m_link.sendOrReport(device::kRequestPosition);
}

}  // namespace d7o::gps
