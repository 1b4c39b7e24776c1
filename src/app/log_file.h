#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace d7o::app {

// Log.txt: one line per completed reply, CR LF, nothing else. Each write opens, appends
// and closes, so the file is complete whenever the program stops.
class LogFile {
 public:
  // Each run starts with a fresh log: an existing file is removed.
  void start(std::filesystem::path path);
  const std::filesystem::path& path() const { return m_path; }

  // False when the file cannot be opened or written; `lastError` says why.
  bool append(std::string_view line);
  const std::string& lastError() const { return m_lastError; }

 private:
  std::filesystem::path m_path;
  std::string m_lastError;
};

}  // namespace d7o::app
