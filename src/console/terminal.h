#pragma once

#include "app/context.h"
#include "console/terminal_stamps.h"

#include <functional>
#include <string>
#include <vector>

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
  // Rows added after the terminal is gone are no longer stamped by it.
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  void List1_DblClick();
  // The command line under the terminal: Return sends it as a List1 command would go;
  // Up and Down recall the commands of this run.
  void CommandLine_KeyUp(int key);
  void List3_DblClick();
  void List3_MouseUp(forms::MouseButton button);
  // "time stamps": the terminal's rows with their time of arrival, the sent lines marked.
  void CheckTimeStamps_Click();

  // "&PORT,3": switches the PC's serial port to COM3; nothing goes to the device.
  void portSwitch(const std::string& command);

  // What "&REMOTE" opens: the remote control tool, built after the terminal.
  void setRemoteOpener(std::function<void()> open) { m_openRemote = std::move(open); }

 private:
  // A click in the terminal, or a prepared command, while the module is not registered yet.
  void initialisationHint();
  // A terminal line sent again, as it stands or edited.
  void resend(const std::string& command);

  // A command of List1 or the command line: the words the program handles itself, or
  // sent (the port opened first).
  void runCommand(const std::string& command);

  // The "&REMOTE" word: the remote control tool; nothing is sent.
  void openRemote();

  app::Context& m_ctx;
  link::SerialLink& m_link;
  link::ModuleInit& m_init;
  std::function<void()> m_openRemote;
  TerminalStamps m_stamps;
  forms::Signal<std::string_view>::Connection m_lineSent = 0;
  // The command line's commands of this run, oldest first, and the one recalled (the
  // history's size: none recalled, a new line).
  std::vector<std::string> m_history;
  std::size_t m_recalled = 0;
};

// What of a terminal line goes out again: from the first "AT" (in any case), else from
// the first "&", to the end; nothing when neither is there.
// "AT+CSQ   " -> "AT+CSQ   "; "+CPIN: READY" -> "".
std::string commandInLine(const std::string& line);

}  // namespace d7o::console
