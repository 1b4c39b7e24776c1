#include "console/terminal_stamps.h"

namespace d7o::console {

namespace {

// An echo comes within milliseconds while the modem's echo is on; a line still waiting
// after this long was not echoed (ATE0), and must not mark a later reply that happens to
// read the same.
constexpr platform::Millis kEchoWait{5000};
// Lines sent in a burst (the initialisation) without echo are forgotten beyond this many.
constexpr std::size_t kMaxAwaiting = 16;

std::string_view withoutTrailingBlanks(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

void TerminalStamps::lineSent(std::string_view line) {
  if (withoutTrailingBlanks(line).empty()) return;  // a bare line end echoes as nothing
  m_awaitingEcho.push_back({std::string(line), m_ctx.scheduler.now()});
  if (m_awaitingEcho.size() > kMaxAwaiting) m_awaitingEcho.pop_front();
}

forms::RowStamp TerminalStamps::stampFor(const std::string& row) {
  return {m_ctx.host.localTimeOfDay(), isEcho(row), noteFor(row)};
}

// The meaning of an error report goes to the row that shows it, or to both rows where a
// long reply is cut inside the report. The reply is still whole in the receive buffer
// while its rows are added, piece after piece.
std::string TerminalStamps::noteFor(const std::string& row) {
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  std::size_t at = 0;
  if (m_nextPieceAt > 0 && m_nextPieceAt < reply.size() && reply.size() == m_pieceReplySize &&
      reply.compare(m_nextPieceAt, row.size(), row) == 0) {
    at = m_nextPieceAt;
  } else if (reply.starts_with(row)) {
    m_error = link::explainError(reply);
    m_pieceReplySize = reply.size();
  } else {
    m_nextPieceAt = 0;  // a row of the program's own, not of the reply
    return {};
  }
  m_nextPieceAt = at + row.size();
  if (!m_error || at >= m_error->position + m_error->length ||
      at + row.size() <= m_error->position) {
    return {};
  }
  return link::statusText(*m_error);
}

void TerminalStamps::forgetOldLines() {
  const platform::Millis now = m_ctx.scheduler.now();
  while (!m_awaitingEcho.empty() && now - m_awaitingEcho.front().at > kEchoWait) {
    m_awaitingEcho.pop_front();
  }
}

// The modem echoes a command line as it received it, and its line end follows:
// "AT+CSQ\r" -> the row "AT+CSQ   ". A reply longer than a row comes as consecutive rows
// cut from the receive buffer, which still holds the whole reply while they are added.
bool TerminalStamps::isEcho(const std::string& row) {
  if (!m_echoRest.empty() && !row.empty() && m_echoRest.starts_with(row)) {
    m_echoRest.erase(0, row.size());
    return true;
  }
  m_echoRest.clear();
  forgetOldLines();
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  const bool firstPiece = !row.empty() && reply.size() > row.size() && reply.starts_with(row);
  const std::string_view whole = withoutTrailingBlanks(firstPiece ? reply : row);
  if (whole.empty()) return false;
  for (auto it = m_awaitingEcho.begin(); it != m_awaitingEcho.end(); ++it) {
    if (withoutTrailingBlanks(it->line) != whole) continue;
    // Echoes come in the order the lines went out: those before it will not come any more.
    m_awaitingEcho.erase(m_awaitingEcho.begin(), it + 1);
    if (firstPiece) m_echoRest = reply.substr(row.size());
    return true;
  }
  return false;
}

}  // namespace d7o::console
