#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace d7o::app {

// Where the program folder (TARVIK.INI, Log.txt) may come from, most binding first.
struct FolderCandidates {
  std::optional<std::filesystem::path> homeOption{};    // --home DIR
  std::optional<std::filesystem::path> homeVariable{};  // REZEDEV7_HOME
  std::filesystem::path executableFolder{};             // empty when unknown
  // The executable sits in an installed tree (see isInstalledLayout).
  bool executableInstalled = false;
  std::optional<std::filesystem::path> xdgDataHome{};  // XDG_DATA_HOME
  std::optional<std::filesystem::path> userHome{};     // HOME
  std::optional<std::filesystem::path> appData{};      // APPDATA (Windows)
};

struct FolderChoice {
  std::filesystem::path folder;  // empty when there is none; `error` says why
  // The user's data folder is made on demand; a folder named by the user must exist.
  bool createIfMissing = false;
  std::string error;
};

// --home, else REZEDEV7_HOME, else the executable's folder while it can be written to
// and is not an installed tree (a build tree, an unpacked copy), else XDG_DATA_HOME/rezedev7, else
// APPDATA\rezedev7 (Windows), else ~/.local/share/rezedev7: an installed program in /usr/bin
// or C:\Program Files keeps its files with the user. Empty values count as unset, and a
// relative XDG_DATA_HOME or APPDATA is ignored (XDG requires it; on Windows one without a
// drive would land wherever the program was started).
FolderChoice chooseProgramFolder(const FolderCandidates& candidates,
                                 const std::function<bool(const std::filesystem::path&)>& writable);

// True when `executableFolder` is the bin folder of an installed tree (our desktop entry
// beside it), where the program's files do not belong even when root could write there.
bool isInstalledLayout(const std::filesystem::path& executableFolder);

// True when files can be created in `folder` by this process.
bool isWritableFolder(const std::filesystem::path& folder);

// Creates `folder` (and its parents) when missing; the reason when it cannot be made or is
// not a folder.
std::optional<std::string> makeFolder(const std::filesystem::path& folder);

}  // namespace d7o::app
