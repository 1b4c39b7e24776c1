#include "app/program_folder.h"

#include "app/path_text.h"

#include <system_error>

#if defined(_WIN32)
#include "platform/windows_api.h"
#else
#include <unistd.h>
#endif

namespace d7o::app {

namespace fs = std::filesystem;

namespace {

bool isSet(const std::optional<fs::path>& p) {
  return p.has_value() && !p->empty();
}

}  // namespace

FolderChoice chooseProgramFolder(const FolderCandidates& candidates,
                                 const std::function<bool(const fs::path&)>& writable) {
  if (isSet(candidates.homeOption)) return {*candidates.homeOption, false, {}};
  if (isSet(candidates.homeVariable)) return {*candidates.homeVariable, false, {}};
  if (!candidates.executableFolder.empty() && !candidates.executableInstalled &&
      writable(candidates.executableFolder)) {
    return {candidates.executableFolder, false, {}};
  }
  if (isSet(candidates.xdgDataHome) && candidates.xdgDataHome->is_absolute()) {
    return {*candidates.xdgDataHome / "rezedev7", true, {}};
  }
  if (isSet(candidates.appData) && candidates.appData->is_absolute()) {
    return {*candidates.appData / "rezedev7", true, {}};
  }
  if (isSet(candidates.userHome)) {
    return {*candidates.userHome / ".local" / "share" / "rezedev7", true, {}};
  }
#if defined(_WIN32)
  const char* unset = "APPDATA is not set";
#else
  const char* unset = "neither XDG_DATA_HOME nor HOME is set";
#endif
  return {{},
          false,
          "no program folder: " + pathText(candidates.executableFolder) +
              " is read-only or an installed program's folder, and " + unset +
              "; name one with --home DIR"};
}

bool isInstalledLayout(const fs::path& executableFolder) {
  if (executableFolder.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(
      executableFolder.parent_path() / "share" / "applications" / "rezedev7.desktop", ec);
}

bool isWritableFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return false;
#if defined(_WIN32)
  // Neither a folder's read-only mark (which Windows ignores for new files) nor the access
  // rules that keep a user out of C:\Program Files show in _waccess: try to make a file.
  for (unsigned attempt = 0; attempt < 16; ++attempt) {
    const fs::path probe = folder / (".rezedev7-probe-" + std::to_string(GetCurrentProcessId()) +
                                     "-" + std::to_string(attempt));
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
#else
  return access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

std::optional<std::string> makeFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return ec.message();
  if (!fs::is_directory(folder, ec)) return "not a folder";
  return std::nullopt;
}

}  // namespace d7o::app
