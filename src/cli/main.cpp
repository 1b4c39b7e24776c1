// d7o-tool: the command-line companion of rezedev7 for scripting.
//
//   d7o-tool nmea [--kmh|--knots] [FILE]
//   d7o-tool pdu --to NUMBER ... TEXT
//   d7o-tool septets TEXT
//   d7o-tool decode HEX
//
// Exit status: 0 done, 1 bad input (or input or output failed), 2 bad usage.

#include "cli/nmea_to_json.h"
#include "cli/sms_commands.h"

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

const std::string kUsage =
    std::string("usage: d7o-tool nmea [--kmh|--knots] [FILE]\n       ") + d7o::cli::kPduSynopsis +
    "\n       " + d7o::cli::kSeptetsSynopsis + "\n       " + d7o::cli::kDecodeSynopsis +
    "\n"
    "       d7o-tool --help\n"
    "\n"
    "nmea     evaluates NMEA sentences (one a line, LF or CR LF) from FILE or standard\n"
    "         input as rezedev7's GPS analyzer does in GPS receive mode, and prints after\n"
    "         each line the analyzer's values as one JSON object on one line.\n"
    "         --kmh    speed in km/h (default)\n"
    "         --knots  speed in knots\n"
    "         FILE     input log; '-' or none reads standard input\n"
    "pdu      prints an SMS-SUBMIT PDU in hex for AT+CMGS (service-centre part first)\n"
    "         and on a second line its length in octets without that part.\n"
    "         --to NUMBER      destination; type 81, or 91 with --intl or a leading +\n"
    "         --sca NUMBER     service centre, type 91 (81 with --sca-national);\n"
    "                          without it, or with --no-sca, the PDU starts with 00\n"
    "                          and the modem uses its stored centre (AT+CSCA)\n"
    "         --class 0..3     message class (default 2)\n"
    "         --vp 0..255      relative validity period (default 167, 24 h)\n"
    "         --mr 0..255      message reference (default 1)\n"
    "         --pid HEX2       protocol identifier (default 00)\n"
    "         --7bit, --8bit   GSM 7-bit alphabet (up to 160 septets) or 8-bit (the\n"
    "                          default; up to 140 characters, none above U+00FF)\n"
    "         TEXT             the message, UTF-8\n"
    "septets  prints TEXT (UTF-8) in the GSM 7-bit alphabet, packed, in hex.\n"
    "decode   prints a PDU given in hex as one JSON object; with or without its\n"
    "         service-centre part (found by itself unless --with-sca or --without-sca).\n"
    "\n"
    "Exit status: 0 done, 1 bad input (or input or output failed), 2 bad usage.\n";

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
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "nmea") return nmeaCommand(rest);
  if (args[0] == "pdu") return d7o::cli::pduCommand(rest, std::cout, std::cerr);
  if (args[0] == "septets") return d7o::cli::septetsCommand(rest, std::cout, std::cerr);
  if (args[0] == "decode") return d7o::cli::decodeCommand(rest, std::cout, std::cerr);
  return badUsage("unknown command " + args[0]);
}
