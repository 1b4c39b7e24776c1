#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace d7o::app {
class Application;
}

namespace d7o::dispatch {

// What a row's action tells the dispatcher.
enum class Flow {
  Continue,     // go on with the next rows, the display and the log
  EndHandling,  // the reply is done with: no later row, no display, no log
};

// One ordered test on a complete reply. Rows run in table order; every row whose condition
// holds fires, and a later row sees what an earlier one changed (state, a cleared buffer).
// A row whose action belongs to a capability not built yet has no action and is skipped.
struct ReplyRow {
  int row;
  std::string_view test;  // the condition in words, for traces and failures
  std::function<bool()> condition;
  std::function<Flow()> action;
};

// The 42 rows in their order, bound to the program's behaviour.
std::vector<ReplyRow> makeReplyTable(app::Application& app);

}  // namespace d7o::dispatch
