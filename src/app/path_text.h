#pragma once

// A path as the program's texts hold it (a list row, a caption, a line of an .ini file the
// shell is later given), and back. Texts are bytes of the windows' code page
// (forms/code_page.h). Windows names files in UTF-16, so there a name is converted to and
// from the code page (a character outside it becomes "?"); what std::filesystem's narrow
// strings would give differs by compiler (UTF-8 with MinGW's library, the ANSI code page
// with Microsoft's) and would not come back as the same name. POSIX names files in bytes,
// which are kept as they are.

#include <filesystem>
#include <string>
#include <string_view>

namespace d7o::app {

std::string pathText(const std::filesystem::path& path);
std::filesystem::path pathFromText(std::string_view text);

}  // namespace d7o::app
