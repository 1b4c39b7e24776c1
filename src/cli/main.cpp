// d7o-tool: the command-line companion of rezedev7 for scripting.
//
//   d7o-tool nmea [--kmh|--knots] [FILE]
//
// Exit status: 0 done, 1 input or output failed, 2 bad usage.

#include "cli/nmea_to_json.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

constexpr const char* kUsage =
    "usage: d7o-tool nmea [--kmh|--knots] [FILE]\n"
    "       d7o-tool --help\n"
    "\n"
    "nmea   evaluates NMEA sentences (one a line, LF or CR LF) from FILE or standard\n"
    "       input as rezedev7's GPS analyzer does in GPS receive mode, and prints after\n"
    "       each line the analyzer's values as one JSON object on one line.\n"
    "       --kmh    speed in km/h (default)\n"
    "       --knots  speed in knots\n"
    "       FILE     input log; '-' or none reads standard input\n";

int badUsage(const std::string& why) {
  std::cerr << "d7o-tool: " << why << "\n" << kUsage;
  return kBadUsage;
}

// The system's word for the last failure, if it left one.
std::string reason() {
  return errno != 0 ? std::string(": ") + std::strerror(errno) : std::string();
}

// Copies the JSON lines out as they come, so a live device piped in shows at once.
int evaluate(std::istream& in, const std::string& name, bool speedInKmh) {
  d7o::cli::NmeaToJson analyzer(speedInKmh);
  std::string line;
  errno = 0;
  while (std::getline(in, line)) {
    std::cout << analyzer.line(line) << std::endl;
    if (!std::cout) break;
  }
  if (in.bad()) {
    std::cerr << "d7o-tool: cannot read " << name << reason() << "\n";
    return kFailed;
  }
  if (!std::cout.flush()) {
    std::cerr << "d7o-tool: cannot write the output\n";
    return kFailed;
  }
  return kOk;
}

int nmeaCommand(const std::vector<std::string>& args) {
  bool speedInKmh = true;
  std::string file;
  bool haveFile = false;
  for (const auto& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return std::cout.flush() ? kOk : kFailed;
    }
    if (arg == "--kmh") {
      speedInKmh = true;
    } else if (arg == "--knots") {
      speedInKmh = false;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return badUsage("unknown option " + arg);
    } else if (haveFile) {
      return badUsage("only one input file");
    } else {
      file = arg;
      haveFile = true;
    }
  }
  if (!haveFile || file == "-") return evaluate(std::cin, "standard input", speedInKmh);

  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "d7o-tool: cannot read " << file << reason() << "\n";
    return kFailed;
  }
  return evaluate(in, file, speedInKmh);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return badUsage("no command");
  if (args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return std::cout.flush() ? kOk : kFailed;
  }
  if (args[0] == "nmea") return nmeaCommand({args.begin() + 1, args.end()});
  return badUsage("unknown command " + args[0]);
}
