#include "app/command_line.h"

#include <charconv>

namespace d7o::app {

namespace {

// "max" is 0, as fast as the program takes the bytes; otherwise a factor up to 1000.
std::optional<double> speedOf(const std::string& text) {
  if (text == "max") return 0.0;
  double speed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), speed);
  if (ec != std::errc() || end != text.data() + text.size() || !(speed > 0) || speed > 1000) {
    return std::nullopt;
  }
  return speed;
}

}  // namespace

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
    } else if (a == "--record" || a == "--replay") {
      if (i + 1 >= args.size()) {
        cl.error = a + " needs a file";
        break;
      }
      (a == "--record" ? cl.record : cl.replay) = args[++i];
    } else if (a == "--speed") {
      const std::optional<double> speed = i + 1 < args.size() ? speedOf(args[++i]) : std::nullopt;
      if (!speed) {
        cl.error = "--speed needs a factor above 0 and up to 1000, or max";
        break;
      }
      cl.replaySpeed = *speed;
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
  if (cl.error.empty() && cl.replay && cl.simulate) {
    cl.error = "--replay and --simulate both name the port; give one";
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
         "--create-ini DIR PORT - write a default TARVIK.INI into DIR and end\n"
         "--record FILE - record the serial line into a capture file\n"
         "--replay FILE [--speed N|max] - play a capture (or a plain log) back\n"
         "    through the program instead of the serial port, N times as fast";
}

}  // namespace d7o::app
