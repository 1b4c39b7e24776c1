#pragma once

#include "app/context.h"
#include "forms/controls.h"
#include "link/error_texts.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::console {

// The terminal's time stamps: each row gets the PC's local time of day as it arrives, and
// the echo of a command line the program sent gets the "sent" mark.
//
// Only echoes can be marked: with the modem's echo off (ATE0) a sent line never comes
// back, and it is not added as a row of its own either, because the terminal's rows are
// what the program matches, sends again and logs, one for one with what the modem sent.
class TerminalStamps {
 public:
  explicit TerminalStamps(app::Context& ctx) : m_ctx(ctx) {}

  // A command line the program wrote, without its carriage return.
  void lineSent(std::string_view line);
  // The stamp of a row that arrives now.
  forms::RowStamp stampFor(const std::string& row);

 private:
  struct Sent {
    std::string line;
    platform::Millis at;
  };

  bool isEcho(const std::string& row);
  std::string noteFor(const std::string& row);
  void forgetOldLines();

  app::Context& m_ctx;
  // Sent lines whose echo has not come yet, oldest first.
  std::deque<Sent> m_awaitingEcho;
  // The part of an echo still to come as further rows: a long reply is shown cut into
  // pieces, one row each.
  std::string m_echoRest;
  // The reply whose rows are being added: where the next piece starts in the receive
  // buffer, and its error report, found once for all its pieces.
  std::size_t m_nextPieceAt = 0;
  std::size_t m_pieceReplySize = 0;
  std::optional<link::ErrorExplanation> m_error;
};

}  // namespace d7o::console
