#include "app/command_line.h"

namespace d7o::app {

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--simulate") {
      cl.simulate = true;
    } else if (a == "--help") {
      cl.help = true;
    } else if (a == "--home") {
      if (i + 1 >= args.size()) {
        cl.error = "--home needs a folder";
        break;
      }
      cl.home = args[++i];
    } else if (a == "--create-ini") {
      if (i + 2 >= args.size()) {
        cl.error = "--create-ini needs a folder and a port number";
        break;
      }
      cl.createIniFolder = args[++i];
      cl.createIniPort = args[++i];
    } else {
      rest.push_back(a);
    }
  }
  for (const std::string& r : rest) {
    if (!cl.classic.empty()) cl.classic += ' ';
    cl.classic += r;
  }
  return cl;
}

ClassicArgument classifyClassicArgument(const std::string& text) {
  if (text.empty()) return ClassicArgument::None;
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '8') return ClassicArgument::Port;
  return ClassicArgument::Help;
}

std::string commandLineHelpText() {
  return "Command line Parameter\n"
         "1..8 - for COM1: ... COM8:\n"
         "?    - for Help\n"
         "--simulate - simulated D7O modem instead of the serial port\n"
         "--home DIR - program folder (TARVIK.INI, Log.txt)\n"
         "--create-ini DIR PORT - write a default TARVIK.INI into DIR and end";
}

}  // namespace d7o::app
