#include "app/program_folder.h"

#include <system_error>

#if defined(_WIN32)
#include <io.h>
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
  if (isSet(candidates.userHome)) {
    return {*candidates.userHome / ".local" / "share" / "rezedev7", true, {}};
  }
  return {{},
          false,
          "no program folder: " + candidates.executableFolder.string() +
              " is read-only or an installed program's folder, and neither XDG_DATA_HOME nor "
              "HOME is set; name one with --home DIR"};
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
  return _waccess(folder.c_str(), 2) == 0;
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
