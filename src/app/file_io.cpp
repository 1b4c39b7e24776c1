#include "app/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace d7o::app {

std::optional<std::string> replaceFile(const std::filesystem::path& target,
                                       const std::string& content) {
  std::filesystem::path temporary = target;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      return std::string("cannot create ") + temporary.string() + ": " + std::strerror(errno);
    }
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return std::string("cannot write ") + temporary.string();
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return std::string("cannot rename to ") + target.string() + ": " + ec.message();
  }
  return std::nullopt;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file, std::string* error) {
  // A folder opens like a file here and reads as empty: say what it is instead.
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) {
    if (error != nullptr) *error = "it is a folder, not a file";
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (error != nullptr) *error = std::strerror(errno);
    return std::nullopt;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    if (error != nullptr) *error = "read error";
    return std::nullopt;
  }
  return content.str();
}

}  // namespace d7o::app
