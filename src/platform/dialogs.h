#pragma once

#include <string>

namespace d7o::platform {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Modal message and input boxes. Texts are in the program's 8-bit code page (Latin-1).
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // An empty title means the program's default title.
  virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                   MessageIcon icon, MessageButtons buttons) = 0;
  // Cancel gives an empty text, as the classic input box does.
  virtual std::string inputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;
};

}  // namespace d7o::platform
