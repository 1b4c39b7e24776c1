#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace d7o::app {

inline constexpr const char* kIniFileName = "TARVIK.INI";

// Index of each value among the items read from TARVIK.INI.
namespace ini_index {
inline constexpr int kPortHeader = 1;
inline constexpr int kPort = 2;
inline constexpr int kServiceCentre = 4;
inline constexpr int kSmsNumber = 6;
inline constexpr int kVoiceNumber = 8;
inline constexpr int kInitString = 10;
inline constexpr int kFirstCommand = 12;
}  // namespace ini_index

// The port written for the first-run answer: empty or below 1 gives "1", above 16 gives
// "16", otherwise the number typed ("0" -> "1", "7" -> "7", "20" -> "16").
std::string portFromAnswer(const std::string& answer);

// The whole default file for `port`: 50 lines, each ending in CR LF.
std::string defaultIniContent(const std::string& port);

// Writes the default file into `folder` through a temporary file renamed into place, so
// a crash never leaves half a configuration. Returns the reason on failure.
std::optional<std::string> writeDefaultIni(const std::filesystem::path& folder,
                                           const std::string& port);

// Splits the file into items by the comma-separated field rules: a quoted field runs to
// its closing quote (commas inside stay), an unquoted one to the next comma or line end
// with leading blanks dropped and inner quotes kept, an empty line is one empty item.
// `lines`, when given, gets the line (from 1) each item stands on.
std::vector<std::string> parseIniItems(const std::string& content,
                                       std::vector<int>* lines = nullptr);

// The largest TARVIK.INI the program reads (the default one is about 1 KiB).
inline constexpr std::uintmax_t kMaxIniBytes = 1024 * 1024;

// Reads and splits the file; nothing when it cannot be read or is far too large.
std::optional<std::vector<std::string>> readIniItems(const std::filesystem::path& file,
                                                     std::string* error,
                                                     std::vector<int>* lines = nullptr);

// The port an item names, as the start-up reads it: its leading number, rounded ("3",
// "3abc" -> 3); 0 where there is none or it is far out of any range.
int portNumberOf(const std::string& item);

// What keeps the program from starting with these items, naming the line of the file
// that is wrong or missing, to follow the file's name (", line 3: the port must be ...",
// " ends after line 3: ..."); nothing when the fixed part
// up to the initialisation string is there. The port is checked as the start-up reads it
// (`port`, a number 1 to 16), unless the command line gave one for this run.
std::optional<std::string> iniFault(const std::vector<std::string>& items,
                                    const std::vector<int>& lines, bool portFromCommandLine);

}  // namespace d7o::app
