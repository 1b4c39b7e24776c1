#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::remote {

// The remote tool's files in the program folder: the numbers called (one quoted line
// each) and the path of the Map&Guide program (one quoted line).
inline constexpr const char* kRemoteIni = "Remote.ini";
inline constexpr const char* kTrackingIni = "Tracking.ini";

// The values of such a file in turn: a quoted value up to its closing quote, an unquoted
// one up to the next comma or line end. Blanks around a value do not count.
std::vector<std::string> quotedValues(std::string_view content);

// Each value on its own line, in double quotes, ended by CR LF.
std::string quotedLines(const std::vector<std::string>& values);

// The values of `file`; none when it does not exist or cannot be read.
std::optional<std::vector<std::string>> readValues(const std::filesystem::path& file);

}  // namespace d7o::remote
