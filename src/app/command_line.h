#pragma once

#include <optional>
#include <string>
#include <vector>

namespace d7o::app {

// The process arguments. The program's classic argument ("1".."8" or "?") is whatever
// remains after the options, joined by blanks, as one text.
struct CommandLine {
  bool simulate = false;                       // --simulate: the in-process simulated modem
  std::optional<std::string> home;             // --home DIR: the program folder
  std::optional<std::string> createIniFolder;  // --create-ini DIR PORT
  std::string createIniPort;
  std::optional<std::string> record;  // --record FILE: a capture of the serial line
  std::optional<std::string> replay;  // --replay FILE: the program on a recorded session
  double replaySpeed = 1;             // --speed N|max (0: max)
  bool help = false;                  // --help
  std::string classic;                // the classic argument text
  std::string error;                  // an option without its value
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

// What the classic argument asks for.
enum class ClassicArgument { None, Port, Help };
ClassicArgument classifyClassicArgument(const std::string& text);

// The "Command line parameters" message, listing the options of this build too.
std::string commandLineHelpText();

}  // namespace d7o::app
