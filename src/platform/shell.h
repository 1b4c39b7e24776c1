#pragma once

#include <string>

namespace d7o::platform {

// The desktop: documents and web addresses open in the system's viewer or browser,
// programs are started directly, never through a shell command line.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual bool openDocument(const std::string& path, const std::string& workingFolder) = 0;
  virtual bool openUrl(const std::string& url) = 0;
  virtual bool startProgram(const std::string& path) = 0;
};

}  // namespace d7o::platform
