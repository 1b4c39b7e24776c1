#pragma once

#include <functional>

namespace d7o::app {

// What a reply row's action tells the dispatcher.
enum class Flow {
  Continue,     // go on with the next rows, the display and the log
  EndHandling,  // the reply is done with: no later row, no display, no log
};

// The receive path as a behaviour that sends a request from inside a reply row sees it.
// A row's action may wait (pumping events) before it sends; what the modem sent before
// the request is still on its way through the buffer then, and must not be taken for the
// answer to it.
class ReceivePath {
 public:
  // Runs `action` once every character received until now has been through the buffer
  // and the reply it ends has been handled.
  virtual void afterReceivedSoFar(std::function<void()> action) = 0;

 protected:
  ~ReceivePath() = default;
};

}  // namespace d7o::app
