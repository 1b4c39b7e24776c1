#include "app/log_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace d7o::app {

void LogFile::start(std::filesystem::path path) {
  m_path = std::move(path);
  std::error_code ignored;  // a log that cannot be removed shows up at the first write
  std::filesystem::remove(m_path, ignored);
}

bool LogFile::append(std::string_view line) {
  std::ofstream out(m_path, std::ios::binary | std::ios::app);
  if (!out) {
    m_lastError = std::strerror(errno);
    return false;
  }
  out.write(line.data(), static_cast<std::streamsize>(line.size()));
  out.write("\r\n", 2);
  out.close();
  if (!out) {
    m_lastError = "write failed";
    return false;
  }
  return true;
}

}  // namespace d7o::app
