#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace d7o::remote {

// Where the Map&Guide program may lie: the file system's root and its mounted volumes
// (removable media, network shares), in that order.
std::vector<std::string> drives();

// The names of the folders and of the files in `folder`, each sorted; a folder that cannot
// be read has none. Names, not texts: a name the window cannot show exactly is still the
// one opened.
std::vector<std::filesystem::path> subfolders(const std::filesystem::path& folder);
std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder);

}  // namespace d7o::remote
