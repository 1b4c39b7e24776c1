#include "link/signal_monitor.h"

#include "app/file_io.h"
#include "app/path_text.h"
#include "app/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace d7o::link {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::Millis;

namespace {

// What ends a command's answer. The SMS prompt "> " does not: the text sent after it has
// its answer still to come.
bool isFinalResult(std::string_view reply) {
  for (std::string_view result :
       {"OK", "ERROR", "NO CARRIER", "BUSY", "NO DIALTONE", "NO ANSWER", "CONNECT"}) {
    if (reply.find(result) != std::string_view::npos) return true;
  }
  return false;
}

bool blank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string trimmed(std::string_view text) {
  const auto from = text.find_first_not_of(' ');
  if (from == std::string_view::npos) return {};
  return std::string(text.substr(from, text.find_last_not_of(' ') - from + 1));
}

// "+COPS: 0,0,"Telekom.de"" -> "Telekom.de"; nothing without an operator ("+COPS: 0").
std::optional<std::string> operatorOf(std::string_view reply) {
  const auto at = reply.find("+COPS:");
  if (at == std::string_view::npos) return std::nullopt;
  const auto open = reply.find('"', at);
  if (open == std::string_view::npos) return std::nullopt;
  const auto close = reply.find('"', open + 1);
  if (close == std::string_view::npos || close == open + 1) return std::nullopt;
  return std::string(reply.substr(open + 1, close - open - 1));
}

// "+CREG" states in words, as GSM 07.07 names them.
std::string registrationText(int state) {
  switch (state) {
    case 0:
      return "not registered";
    case 1:
      return "registered (home)";
    case 2:
      return "searching";
    case 3:
      return "registration denied";
    case 5:
      return "registered (roaming)";
    default:
      return "registration unknown (" + std::to_string(state) + ")";
  }
}

std::string dbmText(double dbm) {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", dbm);
  return text;
}

std::string spanText(int minutes) {
  if (minutes % 60 != 0) return std::to_string(minutes) + " minutes";
  return minutes == 60 ? "hour" : std::to_string(minutes / 60) + " hours";
}

}  // namespace

SignalMonitor::SignalMonitor(app::Context& ctx, SerialLink& link)
    : m_ctx(ctx),
      m_link(link),
      m_form(ctx.signalForm),
      m_utcAtStart(ctx.host.utcMillis()),
      m_clockAtStart(ctx.scheduler.now()) {
  m_timer.attach(&m_ctx.scheduler);
  m_timer.Tick.connect([this] { look(); });
  m_link.lineSent.connect([this](std::string_view line) { lineSent(line); });
  m_ctx.main.m_signal.Click.connect([this] { m_signal_Click(); });
  auto& f = m_form;
  f.CheckMonitor.Click.connect([this] { CheckMonitor_Click(); });
  f.SliderInterval.Change.connect([this] { SliderInterval_Change(); });
  f.SignalSpan.Click.connect([this] { SignalSpan_Click(); });
  f.CommandExport.Click.connect([this] { CommandExport_Click(); });
  f.CommandClearTrend.Click.connect([this] { CommandClearTrend_Click(); });
  f.CommandClose.Click.connect([this] { CommandClose_Click(); });
}

std::int64_t SignalMonitor::utcNow() const {
  return m_utcAtStart + (m_ctx.scheduler.now() - m_clockAtStart).count();
}

Millis SignalMonitor::interval() const {
  return Millis(1000 * m_form.SliderInterval.value());
}

void SignalMonitor::replyArrived(std::string_view reply) {
  if (const auto at = reply.find("+CSQ:"); at != std::string_view::npos) {
    if (const auto quality = signalQualityOf(reply.substr(at))) {
      m_trend.addQuality(utcNow(), *quality);
    }
  }
  if (const auto at = reply.find("+CREG:"); at != std::string_view::npos) {
    if (const auto state = registrationStateOf(reply.substr(at))) {
      m_trend.addRegistration(utcNow(), *state);
    }
  }
  if (const auto name = operatorOf(reply)) m_form.SignalOperator.setCaption("operator: " + *name);
  if (isFinalResult(reply)) {
    // The modem answers in order: the monitor's request first if it went out first.
    if (m_ownAwaiting) {
      m_ownAwaiting = false;
      if (reply.find("ERROR") != std::string_view::npos) {
        stop("the modem answered AT+CSQ with \"" + trimmed(reply) + "\"");
      }
    } else {
      m_otherAwaiting = false;
    }
  }
  if (m_form.visible()) showReadings();
}

void SignalMonitor::lineSent(std::string_view) {
  if (m_sendingOwn) return;
  m_otherAwaiting = true;
  m_otherSentAt = m_ctx.scheduler.now();
}

std::optional<std::string> SignalMonitor::whyNotNow() const {
  const app::SharedState& s = m_ctx.state;
  const auto& w = m_ctx.main;
  const Millis now = m_ctx.scheduler.now();
  if (m_ctx.replaying) return "a replay runs, nothing reaches a modem";
  if (s.link.baudSearchActive || !s.link.modemAnswered || s.link.initAwaitingOk ||
      w.Timer1.enabled() || w.Timer2.enabled()) {
    return "the initialisation";
  }
  if (s.link.pinDialogActive || s.link.pinSentAwaitingOk) return "the PIN";
  // (The audio query's flag is left out: only an "ERROR" clears it, so after a good
  // initialisation it stays set for the whole run.)
  if (s.link.manufacturerQueryPending || s.dispatch.intervalRequestPending ||
      s.dispatch.remoteConnectPending || s.dispatch.remoteLocalModePending ||
      s.sms.smsDeleteRunning || !s.sms.pendingPromptText.empty()) {
    return "an answer the program expects";
  }
  if (m_link.waiting()) return "the program, which waits for the modem";
  if (s.dispatch.gpsReceiveMode) return "nothing: the device streams GPS data";
  if (s.dispatch.dataLinkState != "OFF" || m_ctx.port.cdHolding())
    return "the end of the data call";
  // Every reply brings the terminal to the front: asking while another tab is in use
  // would take it away from the user every few seconds.
  const int tab = w.Tab1.tab();
  if (tab != forms::tabs::kTerminal && tab != forms::tabs::kAbout) return "the terminal tab";
  if (m_ownAwaiting) return "the answer to AT+CSQ";
  if (m_otherAwaiting && m_otherSentAt && now - *m_otherSentAt < kAnswerLimit) {
    return "the answer to the last command";
  }
  if (m_otherSentAt && now - *m_otherSentAt < kQuietAfterCommand) return "a quiet moment";
  if (!blank(s.dispatch.receiveBuffer)) return "the end of a reply";
  return std::nullopt;
}

void SignalMonitor::look() {
  if (m_ctx.ended) return;
  const Millis now = m_ctx.scheduler.now();
  if (m_form.visible()) showReadings();
  if (!m_form.CheckMonitor.checked()) {
    if (!m_form.visible()) m_timer.setEnabled(false);
    return;
  }
  if (!m_ctx.port.isOpen()) {
    stop("the port closed");
    return;
  }
  // A request without any final result within the limit: the modem missed it.
  if (m_ownAwaiting && now - m_ownSentAt >= kAnswerLimit) m_ownAwaiting = false;
  const std::string every =
      "asks AT+CSQ every " + std::to_string(m_form.SliderInterval.value()) + " s";
  if (const auto why = whyNotNow()) {
    showState(every + ", waits for " + *why);
    return;
  }
  showState(every);
  if (m_lastPoll && now - *m_lastPoll < interval()) return;
  m_sendingOwn = true;
  const auto error = m_link.sendCommand("AT+CSQ");
  m_sendingOwn = false;
  if (error) {
    stop("AT+CSQ could not be sent: " + SerialLink::errorText(*error));
    return;
  }
  m_ownAwaiting = true;
  m_ownSentAt = now;
  m_lastPoll = now;
}

void SignalMonitor::stop(const std::string& why) {
  if (!m_form.CheckMonitor.checked()) return;
  m_stopReason = why;
  m_form.CheckMonitor.setChecked(false);
  m_ctx.notice("...signal monitor stopped: " + why);
}

void SignalMonitor::showState(const std::string& state) {
  m_form.MonitorState.setCaption(state);
}

void SignalMonitor::CheckMonitor_Click() {
  if (m_form.CheckMonitor.checked()) {
    m_stopReason.clear();
    m_ownAwaiting = false;
    m_lastPoll.reset();
    m_timer.setEnabled(true);
    look();
    return;
  }
  m_ownAwaiting = false;
  showState(m_stopReason.empty() ? "off" : "stopped: " + m_stopReason);
  if (!m_form.visible()) m_timer.setEnabled(false);
}

void SignalMonitor::SliderInterval_Change() {
  m_form.IntervalValue.setCaption(std::to_string(m_form.SliderInterval.value()) + " s");
  if (m_form.CheckMonitor.checked()) look();
}

void SignalMonitor::SignalSpan_Click() {
  m_shownRevision = ~std::uint64_t{0};
  showReadings();
}

void SignalMonitor::showReadings() {
  auto& f = m_form;
  const std::int64_t to = utcNow();
  // The plot moves on with the clock at most once a second; a new reading shows at once.
  if (m_trend.revision() == m_shownRevision && to - m_shownAt < 1000) return;
  m_shownRevision = m_trend.revision();
  m_shownAt = to;

  if (const auto last = m_trend.lastQuality()) {
    const bool measured = last->rssi != 99;
    f.SignalNow.setCaption(measured ? std::to_string(dbmOfRssi(last->rssi)) + " dBm"
                                    : "not detectable");
    std::string detail = "RSSI " + std::to_string(last->rssi) + ", BER ";
    detail += last->ber == SignalReading::kNone ? "unknown" : std::to_string(last->ber);
    if (const auto reg = m_trend.lastRegistration()) detail += ", " + registrationText(*reg);
    f.SignalDetail.setCaption(detail);
  } else {
    f.SignalNow.setCaption("no reading yet");
    const auto reg = m_trend.lastRegistration();
    f.SignalDetail.setCaption(reg ? registrationText(*reg) : "");
  }

  const int index = f.SignalSpan.listIndex();
  const int minutes =
      forms::SignalForm::kSpanMinutes[index < 0 ? forms::SignalForm::kDefaultSpan : index];
  const std::int64_t from = to - std::int64_t{minutes} * 60'000;
  const SpanSummary s = m_trend.summary(from, to);
  std::string summary;
  if (s.readings == 0) {
    summary = "no measured reading in the last " + spanText(minutes);
  } else {
    summary = "min " + std::to_string(s.minDbm) + " dBm, mean " + dbmText(s.meanDbm) +
              " dBm, max " + std::to_string(s.maxDbm) + " dBm over " + std::to_string(s.readings) +
              (s.readings == 1 ? " reading" : " readings");
  }
  if (s.notDetectable > 0) summary += ", " + std::to_string(s.notDetectable) + " not detectable";
  f.SpanSummary.setCaption(summary);

  forms::TrendPicture picture;
  picture.fromUtc = from;
  picture.toUtc = to;
  picture.dbm = m_trend.dbmLine(from, to, kPlotSlots);
  picture.ber = m_trend.berLine(from, to, kPlotSlots);
  picture.registration = m_trend.registration(from, to);
  f.SignalPlot.setPicture(std::move(picture));
}

void SignalMonitor::m_signal_Click() {
  m_shownRevision = ~std::uint64_t{0};
  if (!m_placed) {
    // Beside the main window, which opens in the middle: at the screen's right edge.
    m_placed = true;
    const platform::ScreenSize screen = m_ctx.host.screenSize();
    m_form.move(std::max(0, screen.width - m_form.width()), 0);
  }
  m_form.setVisible(true);
  showReadings();
  // While the window shows, the plot moves on with the clock.
  m_timer.setEnabled(true);
}

void SignalMonitor::CommandClose_Click() {
  m_form.setVisible(false);
}

void SignalMonitor::CommandClearTrend_Click() {
  m_trend.clear();
  showReadings();
}

void SignalMonitor::CommandExport_Click() {
  const platform::DateTime t = m_ctx.host.localDateTime();
  char suggested[48];
  std::snprintf(suggested, sizeof suggested, "signal-%04d-%02d-%02d-%02d%02d%02d.csv", t.year,
                t.month, t.day, t.hour, t.minute, t.second);
  const std::string name = m_ctx.dialogs.inputBox(
      "Write the signal readings as CSV into this file (in the program folder):", "export CSV",
      suggested);
  if (name.empty()) return;
  std::filesystem::path path(name);
  if (!path.is_absolute()) path = m_ctx.host.programFolder() / path;
  std::error_code ec;
  if (std::filesystem::exists(path, ec) &&
      m_ctx.dialogs.messageBox(app::pathText(path) + " exists. Replace it?", "export CSV",
                               MessageIcon::Question,
                               MessageButtons::YesNo) != MessageAnswer::Yes) {
    return;
  }
  if (const auto error = app::replaceFile(path, m_trend.csv())) {
    m_ctx.showError("Signal readings not written to " + app::pathText(path) + ": " + *error);
    return;
  }
  const std::size_t n = m_trend.readings().size();
  m_ctx.dialogs.notice(std::to_string(n) + (n == 1 ? " reading" : " readings") + " written to " +
                           app::pathText(path),
                       "export CSV", MessageIcon::Information);
}

}  // namespace d7o::link
