#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace d7o::remote {

// Where the Map&Guide program may lie: the file system's root and its mounted volumes
// (removable media, network shares), in that order.
std::vector<std::string> drives();

// The folders and the files of `folder`, each sorted by name; a folder that cannot be
// read has none.
std::vector<std::string> subfolders(const std::filesystem::path& folder);
std::vector<std::string> filesIn(const std::filesystem::path& folder);

}  // namespace d7o::remote
