#pragma once

#include "app/context.h"

#include <functional>
#include <string>

namespace d7o::link {
class SerialLink;
class ModuleInit;
}  // namespace d7o::link

namespace d7o::console {

// The "Terminal" tab: prepared commands sent by a double click (or typed into a free
// row), terminal lines sent again or edited, and the words the program handles itself.
class Terminal {
 public:
  Terminal(app::Context& ctx, link::SerialLink& link, link::ModuleInit& init);

  void List1_DblClick();
  void List3_DblClick();
  void List3_MouseUp(forms::MouseButton button);

  // "&PORT,3": switches the PC's serial port to COM3; nothing goes to the device.
  void portSwitch(const std::string& command);

  // What "&REMOTE" opens: the remote control tool, built after the terminal.
  void setRemoteOpener(std::function<void()> open) { m_openRemote = std::move(open); }

 private:
  // The "&REMOTE" word: the remote control tool; nothing is sent.
  void openRemote();

  app::Context& m_ctx;
  link::SerialLink& m_link;
  link::ModuleInit& m_init;
  std::function<void()> m_openRemote;
};

// What of a terminal line goes out again: from the first "AT" (in any case), else from
// the first "&", to the end; nothing when neither is there.
// "AT+CSQ   " -> "AT+CSQ   "; "+CPIN: READY" -> "".
std::string commandInLine(const std::string& line);

}  // namespace d7o::console
