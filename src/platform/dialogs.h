#pragma once

#include <string>

namespace d7o::platform {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Message and input boxes. Texts are in the windows' code page (Windows-1252).
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // An empty title means the program's default title.
  virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                   MessageIcon icon, MessageButtons buttons) = 0;
  // A message that waits for nobody: it shows, and the program goes on at once (timers,
  // the port, the clock), as a bench left alone must. For news the program acts on itself.
  virtual void notice(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  // Cancel gives an empty text, as the classic input box does.
  virtual std::string inputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;
};

}  // namespace d7o::platform
