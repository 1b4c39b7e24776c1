#pragma once

// A path as the program's texts hold it (a list row, a caption, a line of an .ini file the
// shell is later given), and back. Texts are bytes of the windows' code page
// (forms/code_page.h); names are UTF-16 on Windows and UTF-8 on POSIX, converted to and
// from the code page here (a character outside it becomes "?"). std::filesystem's narrow
// strings would not do: on Windows they differ by compiler (UTF-8 with MinGW's library,
// the ANSI code page with Microsoft's) and do not come back as the same name, and on POSIX
// they are UTF-8, which the windows would show as two characters per letter.

#include <filesystem>
#include <string>
#include <string_view>

namespace d7o::app {

std::string pathText(const std::filesystem::path& path);
std::filesystem::path pathFromText(std::string_view text);

}  // namespace d7o::app
