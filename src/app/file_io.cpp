#include "app/file_io.h"

#include "app/path_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#if defined(_WIN32)
#include "platform/windows_api.h"
#endif

namespace d7o::app {

namespace {

#if defined(_WIN32)
// The system's words for a Windows error code, in UTF-8 (the C library's strerror knows
// only its own errno values).
std::string windowsErrorText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = platform::utf8FromWide(std::wstring_view(text, length));
  LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '.')) {
    out.pop_back();
  }
  return out.empty() ? "Windows error " + std::to_string(code) : out;
}
#endif

// Puts `temporary` in place of `target`, in one step: a reader sees the old file or the
// new one. What went wrong, when it did not.
std::optional<std::string> moveIntoPlace(const std::filesystem::path& temporary,
                                         const std::filesystem::path& target) {
#if defined(_WIN32)
  // Spelled out rather than std::filesystem::rename, which may fall back to copying (not in
  // one step) and returns before the new directory entry is on the disk.
  if (MoveFileExW(temporary.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return std::nullopt;
  }
  return windowsErrorText(GetLastError());
#else
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) return ec.message();
  return std::nullopt;
#endif
}

}  // namespace

std::optional<std::string> replaceFile(const std::filesystem::path& target,
                                       const std::string& content) {
  std::filesystem::path temporary = target;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      return std::string("cannot create ") + pathText(temporary) + ": " + std::strerror(errno);
    }
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return std::string("cannot write ") + pathText(temporary);
    }
  }
  if (const auto failure = moveIntoPlace(temporary, target)) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return std::string("cannot rename to ") + pathText(target) + ": " + *failure;
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
