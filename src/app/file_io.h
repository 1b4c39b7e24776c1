#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace d7o::app {

// A file the program keeps (TARVIK.INI, the call history, the Map&Guide path) replaced as a
// whole: written beside it under a temporary name and renamed into place, so a crash or a
// full disk leaves the old file or the new one, never half of one. Returns what went
// wrong, in words; nothing when it is done.
std::optional<std::string> replaceFile(const std::filesystem::path& target,
                                       const std::string& content);

// The whole file; nothing (and what went wrong in `error`) when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file,
                                         std::string* error = nullptr);

}  // namespace d7o::app
