// d7o-tool: the command-line companion of rezedev7 for scripting.
//
//   d7o-tool nmea [--kmh|--knots] [FILE]
//   d7o-tool pdu --to NUMBER ... TEXT
//   d7o-tool septets TEXT
//   d7o-tool decode HEX
//   d7o-tool capture FILE --to text|nmea|gpx|csv
//   d7o-tool nmea-stats [FILE]
//
// Exit status: 0 done, 1 bad input (or input or output failed), 2 bad usage.

#include "cli/capture_command.h"
#include "cli/nmea_stats_command.h"
#include "cli/nmea_to_json.h"
#include "cli/sms_commands.h"
#include "cli/system_text.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

const std::string kUsage =
    std::string("usage: d7o-tool nmea [--kmh|--knots] [FILE]\n       ") + d7o::cli::kPduSynopsis +
    "\n       " + d7o::cli::kSeptetsSynopsis + "\n       " + d7o::cli::kDecodeSynopsis +
    "\n       " + d7o::cli::kCaptureSynopsis + "\n       " + d7o::cli::kNmeaStatsSynopsis +
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
    "         service-centre part (found by itself unless --with-sca or --without-sca).\n" +
    d7o::cli::kCaptureUsage + d7o::cli::kNmeaStatsUsage +
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

#if defined(_WIN32)
int readSome(int fd, char* data, std::size_t size) {
  return _read(fd, data, static_cast<unsigned>(size));
}
int writeSome(int fd, const char* data, std::size_t size) {
  return _write(fd, data, static_cast<unsigned>(size));
}
int openForReading(const std::string& path) {
  return _wopen(d7o::cli::pathFromArgument(path).c_str(), _O_RDONLY | _O_BINARY);
}
#else
long readSome(int fd, char* data, std::size_t size) {
  return static_cast<long>(::read(fd, data, size));
}
long writeSome(int fd, const char* data, std::size_t size) {
  return static_cast<long>(::write(fd, data, size));
}
int openForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY);
}
#endif

// Writes all of `bytes` to standard output and empties it; false when the output failed.
bool writeOut(std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto n = writeSome(1, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  bytes.clear();
  return true;
}

// A read returns what has arrived, and the JSON lines go out before the next read waits:
// a live device piped in shows at once, while a file goes through in large blocks rather
// than a write per line.
int evaluate(int fd, const std::string& name, bool speedInKmh) {
  // Input is handed over in small pieces so a run of empty lines (each a full JSON line)
  // cannot pile up much output between writes.
  constexpr std::size_t kReadSize = 1 << 16;
  constexpr std::size_t kPiece = 1 << 12;
  constexpr std::size_t kWriteAt = 1 << 18;
  d7o::cli::NmeaLines lines(speedInKmh);
  std::vector<char> buffer(kReadSize);
  std::string out;
  out.reserve(2 * kWriteAt);
  for (;;) {
    errno = 0;
    const auto n = readSome(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string why = reason();
      if (!writeOut(out)) {
        std::cerr << "d7o-tool: cannot write the output\n";
      } else {
        std::cerr << "d7o-tool: cannot read " << name << why << "\n";
      }
      return kFailed;
    }
    if (n == 0) break;
    const std::string_view chunk(buffer.data(), static_cast<std::size_t>(n));
    for (std::size_t at = 0; at < chunk.size(); at += kPiece) {
      lines.feed(chunk.substr(at, kPiece), out);
      if (out.size() >= kWriteAt && !writeOut(out)) {
        std::cerr << "d7o-tool: cannot write the output\n";
        return kFailed;
      }
    }
    if (!writeOut(out)) {
      std::cerr << "d7o-tool: cannot write the output\n";
      return kFailed;
    }
  }
  lines.finish(out);
  if (!writeOut(out)) {
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
  if (!haveFile || file == "-") return evaluate(0, "standard input", speedInKmh);

  errno = 0;
  const int fd = openForReading(file);
  if (fd < 0) {
    std::cerr << "d7o-tool: cannot read " << file << reason() << "\n";
    return kFailed;
  }
  const int status = evaluate(fd, file, speedInKmh);
#if defined(_WIN32)
  _close(fd);
#else
  ::close(fd);
#endif
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  d7o::cli::useBinaryStandardStreams();
  const std::vector<std::string> args = d7o::cli::commandArguments(argc, argv);
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
  if (args[0] == "capture") {
    return d7o::cli::captureCommand(rest, d7o::cli::standardInput(), std::cout, std::cerr);
  }
  if (args[0] == "nmea-stats") {
    return d7o::cli::nmeaStatsCommand(rest, d7o::cli::standardInput(), std::cout, std::cerr);
  }
  return badUsage("unknown command " + args[0]);
}
