#pragma once

#include "app/reply_flow.h"
#include "dispatch/reply_table.h"
#include "forms/signal.h"
#include "link/port_state.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace d7o::app {
struct Context;
}

namespace d7o::dispatch {

// Everything the modem sends arrives here: characters are collected into the receive
// buffer until a reply is complete, then the reply runs through the ordered rows, is shown
// in the terminal list and logged.
class ReceiveHandler : public app::ReceivePath {
 public:
  // A reply that grows this long without a line end is handled as complete: a wrong baud
  // rate produces endless noise, and it must neither grow memory nor vanish unseen.
  static constexpr std::size_t kMaxReplyLength = 4096;
  // Terminal lines are cut into pieces of this many characters.
  static constexpr std::size_t kLinePiece = 50;
  // The terminal list is emptied when it holds more lines than this.
  static constexpr int kMaxTerminalLines = 100;

  ReceiveHandler(app::Context& ctx, std::vector<ReplyRow> rows);

  // The port's receive event: characters arrived.
  void Comm1_OnComm();
  // Runs `action` once every character received until now has been through the buffer
  // and the reply it ends has been handled: a request sent now must not take the rest of
  // an earlier answer (the "OK" after "+CPIN: SIM PIN") for its own.
  void afterReceivedSoFar(std::function<void()> action) override;
  // Called with the number of every row whose condition holds, in the order they fire
  // (for diagnostics and for tests that pin the order).
  void setRowTrace(std::function<void(int row)> trace) { m_rowTrace = std::move(trace); }

  // Every complete reply, normalised, before the rows see it (the signal trend reads its
  // "+CSQ:" and "+CREG:" replies here, and the monitor the final results).
  forms::Signal<const std::string&> replyArrived;

  // Counters for diagnostics and benchmarks.
  std::size_t repliesHandled() const { return m_replies; }
  std::size_t overlongReplies() const { return m_overlong; }
  // What came from the port so far: bytes, line ends and kinds of replies.
  const link::ReceiveCounters& counters() const { return m_counters; }
  // Called with every reply as it is shown and logged (line ends blanked), before the
  // buffer is emptied.
  void setReplyShown(std::function<void(const std::string& reply)> shown) {
    m_replyShown = std::move(shown);
  }

 private:
  void drain();
  void readPort();
  void runCaughtUp();
  bool complete() const;
  void handleReply();
  void displayAndLog();

  app::Context& m_ctx;
  std::vector<ReplyRow> m_rows;
  std::string m_pending;  // read from the port, not yet through the buffer
  std::size_t m_pendingPos = 0;
  bool m_draining = false;
  std::uint64_t m_received = 0;  // characters read from the port
  std::uint64_t m_consumed = 0;  // characters moved into the receive buffer
  std::vector<std::pair<std::uint64_t, std::function<void()>>> m_afterReceived;
  std::function<void(int row)> m_rowTrace;
  std::size_t m_replies = 0;
  std::size_t m_overlong = 0;
  link::ReceiveCounters m_counters;
  std::function<void(const std::string& reply)> m_replyShown;
};

}  // namespace d7o::dispatch
