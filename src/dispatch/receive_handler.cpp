#include "dispatch/receive_handler.h"

#include "app/context.h"
#include "app/path_text.h"
#include "app/text.h"

namespace d7o::dispatch {

ReceiveHandler::ReceiveHandler(app::Context& ctx, std::vector<ReplyRow> rows)
    : m_ctx(ctx), m_rows(std::move(rows)) {
  m_ctx.port.setReceiveHandler([this] { Comm1_OnComm(); });
}

void ReceiveHandler::Comm1_OnComm() {
  if (m_ctx.ended) return;
  // While the PIN dialogue is open nothing is read: it stays in the port until it closes.
  if (m_ctx.state.link.pinDialogActive) return;
  // Incoming data brings the terminal to the front, except over the about tab.
  auto& tab = m_ctx.main.Tab1;
  if (tab.tab() != forms::tabs::kAbout) tab.setTab(forms::tabs::kTerminal);
  drain();
}

// Characters pass the completeness test one at a time, so two replies that arrive in one
// read are two replies. A reply's rows may pump events (a wait inside an action); a receive
// event meanwhile only queues what it reads, and this loop takes it in order afterwards.
void ReceiveHandler::readPort() {
  const std::string got = m_ctx.port.readAll();
  m_received += got.size();
  link::countBytes(m_counters, got);
  m_pending += got;
}

void ReceiveHandler::afterReceivedSoFar(std::function<void()> action) {
  readPort();
  if (m_consumed >= m_received) {
    action();
    return;
  }
  m_afterReceived.emplace_back(m_received, std::move(action));
}

void ReceiveHandler::runCaughtUp() {
  while (!m_afterReceived.empty() && m_afterReceived.front().first <= m_consumed) {
    auto action = std::move(m_afterReceived.front().second);
    m_afterReceived.erase(m_afterReceived.begin());
    action();
  }
}

void ReceiveHandler::drain() {
  readPort();
  if (m_draining) return;
  m_draining = true;
  auto& buffer = m_ctx.state.dispatch.receiveBuffer;
  while (!m_ctx.ended && !m_ctx.state.link.pinDialogActive) {
    if (m_pendingPos == m_pending.size()) {
      m_pending.clear();
      m_pendingPos = 0;
      // What arrived while a reply was being handled is read now, not at the next event.
      if (m_ctx.port.bytesAvailable() == 0) break;
      readPort();
      continue;
    }
    buffer.push_back(m_pending[m_pendingPos++]);
    ++m_consumed;
    const bool overlong = buffer.size() >= kMaxReplyLength;
    if (complete() || overlong) {
      if (!complete()) ++m_overlong;
      handleReply();
      if (!m_afterReceived.empty()) runCaughtUp();
    }
  }
  if (m_pendingPos > 0) {
    m_pending.erase(0, m_pendingPos);
    m_pendingPos = 0;
  }
  m_draining = false;
}

// Complete when the buffer ends with CR LF or holds the SMS prompt "> ". Only the newest
// two characters can make either, since the test runs after every character (a buffer
// kept from an earlier reply holds blanks only).
bool ReceiveHandler::complete() const {
  const std::string& b = m_ctx.state.dispatch.receiveBuffer;
  const std::size_t n = b.size();
  if (n < 2) return false;
  return (b[n - 2] == '\r' && b[n - 1] == '\n') || (b[n - 2] == '>' && b[n - 1] == ' ');
}

void ReceiveHandler::handleReply() {
  ++m_replies;
  app::blankLineEnds(m_ctx.state.dispatch.receiveBuffer);
  link::countReply(m_counters, m_ctx.state.dispatch.receiveBuffer);
  replyArrived.emit(m_ctx.state.dispatch.receiveBuffer);
  for (const ReplyRow& row : m_rows) {
    if (!row.condition()) continue;
    if (m_rowTrace) m_rowTrace(row.row);
    if (!row.action) continue;
    if (row.action() == Flow::EndHandling || m_ctx.ended) return;
  }
  if (m_ctx.main.List3.count() > kMaxTerminalLines) m_ctx.main.List3.clear();
  displayAndLog();
}

void ReceiveHandler::displayAndLog() {
  std::string& b = m_ctx.state.dispatch.receiveBuffer;
  // A bare line end (one or two blanks) is kept as the head of the next reply.
  if (b == " " || b == "  ") return;
  if (!b.empty() && b[0] == ' ') b.erase(0, 1);
  if (b.size() >= 2 && b[0] == ' ' && b[1] == ' ') b.erase(0, 2);
  // The echo of an SMS text (ended by character 26) is shown by its own row.
  if (b.find('\x1a') != std::string::npos) b.clear();

  auto& w = m_ctx.main;
  const bool showing = !m_ctx.state.link.initAwaitingOk;
  if (showing) {
    if (b.size() > kLinePiece) {
      for (std::size_t at = 0; at < b.size(); at += kLinePiece) {
        w.List3.addItem(b.substr(at, kLinePiece));
      }
    } else {
      w.List3.addItem(b);
    }
    if (!w.Command1.enabled()) w.Command1.setEnabled(true);
    if (!w.Command2.enabled()) w.Command2.setEnabled(true);
  }
  if (!w.List3.empty()) w.List3.setListIndex(w.List3.count() - 1);

  if (m_ctx.state.log.logEnabled && !m_ctx.log.append(b)) {
    // Reported once: the box is cleared, so nothing is tried again until it is ticked.
    const std::string why = m_ctx.log.lastError();
    w.Check1.setChecked(false);
    m_ctx.showError("Log file " + app::pathText(m_ctx.log.path()) + " can't be written: " + why +
                    "\nlogging is switched off");
  }
  if (m_replyShown) m_replyShown(b);
  b.clear();
}

}  // namespace d7o::dispatch
