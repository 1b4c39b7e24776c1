#pragma once

#include "app/context.h"

namespace d7o::link {

class SerialLink;

// Finds the modem's baud rate: "AT" at each line setting in turn until a reply with "OK"
// comes back, then hands over to the module initialisation.
class BaudSearch {
 public:
  BaudSearch(app::Context& ctx, SerialLink& link);

  // Runs the whole search, pumping events; a search never starts over a running one.
  void FoundBaudRate();
  bool running() const { return m_running; }

  // Reply row 1: a reply with "OK" while the search runs.
  void modemAnswered();

 private:
  app::Context& m_ctx;
  SerialLink& m_link;
  bool m_running = false;
};

}  // namespace d7o::link
