#pragma once

#include "platform/shell.h"

namespace d7o::ui {

// Documents and web addresses open in the desktop's viewer or browser; programs start
// directly. Nothing passes through a shell command line, so no text the program handles
// can become a command.
class QtShell : public platform::Shell {
 public:
  bool openDocument(const std::string& path, const std::string& workingFolder) override;
  bool openUrl(const std::string& url) override;
  bool startProgram(const std::string& path) override;
};

}  // namespace d7o::ui
