// Which reply rows fire, and in which order, when one reply satisfies several: the order
// is the tie-break between rows that test the same text.
#include "dispatch/receive_handler.h"
#include "support/rig.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace d7o::test {
namespace {

using platform::Millis;

// Every flag an "OK" answers at once.
void everyOkAwaited(app::SharedState& s) {
  s.link.baudSearchActive = true;
  s.link.initAwaitingOk = true;
  s.dispatch.remoteLocalModePending = true;
  s.dispatch.intervalRequestPending = true;
  s.sms.smsDeleteRunning = true;
  s.link.pinSentAwaitingOk = true;
}

void nothingAwaited(app::SharedState&) {}

TEST(ReplyOrder, RowsThatFireOnOneReply) {
  struct Case {
    const char* name;
    std::function<void(app::SharedState&)> awaiting;
    const char* reply;
    std::vector<int> rows;  // 12 (the clock) and 25 (the prompt position) see every reply
  };
  const Case cases[] = {
      {"OK while everything waits for it", everyOkAwaited, "OK\r\n", {1, 3, 4, 9, 12, 18, 25, 41}},
      {"OK while nothing waits", nothingAwaited, "OK\r\n", {12, 25}},
      {"NO CARRIER", nothingAwaited, "NO CARRIER\r\n", {6, 12, 25, 33, 38}},
      {"BUSY", nothingAwaited, "BUSY\r\n", {7, 12, 25, 39}},
      {"NO DIALTONE", nothingAwaited, "NO DIALTONE\r\n", {8, 12, 25}},
      {"$CNFOK while the interval request waits",
       [](app::SharedState& s) { s.dispatch.intervalRequestPending = true; },
       "$CNFOK\r\n",
       {9, 12, 17, 25}},
      {"+CME ERROR: 10", nothingAwaited, "+CME ERROR: 10\r\n", {12, 13, 14, 25}},
      {"RING", nothingAwaited, "RING\r\n", {12, 25, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startWithOpenPort();
    c.awaiting(rig.state());
    std::vector<int> fired;
    auto& receiver = rig.app->receiver();
    const std::size_t before = receiver.repliesHandled();
    // Only this reply's rows, not those of the answers to what its rows send.
    receiver.setRowTrace([&](int row) {
      if (receiver.repliesHandled() == before + 1) fired.push_back(row);
    });
    rig.fromModem(c.reply);
    rig.run(Millis(100));
    EXPECT_EQ(fired, c.rows);
  }
}

}  // namespace
}  // namespace d7o::test
