// d7o-sim: the simulated D7O modem behind a pseudo-terminal. Prints the device path as its
// first line, then answers whatever program opens that device, until it is stopped.

#include "sim/modem_engine.h"
#include "sim/pty_link.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <signal.h>
#include <string>
#include <string_view>

namespace {

volatile sig_atomic_t g_stop = 0;

extern "C" void onStopSignal(int) {
  g_stop = 1;
}

void printUsage(std::ostream& out) {
  out << "Usage: d7o-sim [--baud N] [--no-echo] [--gps] [--position LAT,LON]\n"
         "\n"
         "Runs the simulated Tarvik D7O modem on a pseudo-terminal. The first line written\n"
         "to standard output is the device to open (e.g. /dev/pts/3); the modem serves it\n"
         "until interrupted.\n"
         "\n"
         "  --baud N    the only rate the modem understands and answers at (default 9600)\n"
         "  --no-echo   start with command echo off (as after ATE0)\n"
         "  --gps       the device sends NMEA sentences (GGA, GSV, RMC, GSA) once a second\n"
         "              from power-on, from a vehicle on a drive; without it they come after\n"
         "              \"&REQ INT\" (\"&CNF GPS\" chooses the sentences)\n"
         "  --position LAT,LON\n"
         "              where the drive starts, in degrees, south and west negative\n"
         "              (default 48.1173,11.5167)\n"
         "  --help      show this text\n";
}

struct Options {
  int baud = 9600;
  bool echo = true;
  bool gps = false;
  double latitude = d7o::sim::ModemConfig{}.gpsLatitude;
  double longitude = d7o::sim::ModemConfig{}.gpsLongitude;
};

bool parseDegrees(std::string_view text, double min, double max, double& value) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc{} || end != text.data() + text.size() || !(v >= min && v <= max)) {
    return false;
  }
  value = v;
  return true;
}

// "48.1173,11.5167" -> latitude and longitude.
bool parsePosition(std::string_view text, Options& options) {
  const std::size_t comma = text.find(',');
  return comma != std::string_view::npos &&
         parseDegrees(text.substr(0, comma), -90, 90, options.latitude) &&
         parseDegrees(text.substr(comma + 1), -180, 180, options.longitude);
}

// 0: run; otherwise the exit status (after --help or an error).
int parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(std::cout);
      return -1;
    }
    if (arg == "--no-echo") {
      options.echo = false;
      continue;
    }
    if (arg == "--gps") {
      options.gps = true;
      continue;
    }
    if (arg == "--position" || arg.starts_with("--position=")) {
      std::string_view position;
      if (arg != "--position") {
        position = arg.substr(11);
      } else if (i + 1 < argc) {
        position = argv[++i];
      }
      if (!parsePosition(position, options)) {
        std::cerr << "d7o-sim: --position needs LAT,LON in degrees (e.g. -33.8568,151.2153)\n";
        return 2;
      }
      continue;
    }
    std::string_view value;
    if (arg == "--baud") {
      if (i + 1 >= argc) {
        std::cerr << "d7o-sim: --baud needs a rate\n";
        return 2;
      }
      value = argv[++i];
    } else if (arg.starts_with("--baud=")) {
      value = arg.substr(7);
    } else {
      std::cerr << "d7o-sim: unknown option '" << arg << "'\n";
      printUsage(std::cerr);
      return 2;
    }
    int baud = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), baud);
    // Only rates a terminal can be set to: at any other the modem could never be reached.
    if (ec != std::errc{} || end != value.data() + value.size() || !d7o::sim::speedOfBaud(baud)) {
      std::cerr << "d7o-sim: '" << value << "' is not a serial rate (e.g. 9600, 115200)\n";
      return 2;
    }
    options.baud = baud;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int status = parseOptions(argc, argv, options); status != 0) {
    return status < 0 ? 0 : status;
  }

  // A write to a vanished reader must be an error, not the end of the program.
  ::signal(SIGPIPE, SIG_IGN);

  // The stop signals stay blocked except while the loop waits, so one that arrives between
  // the check and the wait still ends the wait at once.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  sigset_t waitMask;
  if (::sigprocmask(SIG_BLOCK, &stopSignals, &waitMask) != 0) {
    std::perror("d7o-sim: sigprocmask");
    return 1;
  }
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  sigdelset(&waitMask, SIGHUP);
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    if (::sigaction(signal, &action, nullptr) != 0) {
      std::perror("d7o-sim: sigaction");
      return 1;
    }
  }

  d7o::sim::PtyClock clock;
  d7o::sim::ModemConfig config;
  config.baud = options.baud;
  config.echo = options.echo;
  config.nmeaFromPowerOn = options.gps;
  config.gpsLatitude = options.latitude;
  config.gpsLongitude = options.longitude;
  // The receiver's clock reads the real time, as a real one would.
  config.gpsStartUtc = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  d7o::sim::ModemEngine modem(clock, config);
  d7o::sim::PtyLink link(clock, modem);
  link.setLog([](std::string_view message) { std::cerr << "d7o-sim: " << message << '\n'; });

  std::string error;
  if (!link.open(error)) {
    std::cerr << "d7o-sim: cannot create a pseudo-terminal: " << error << '\n';
    return 1;
  }
  std::cout << link.devicePath() << '\n' << std::flush;
  std::cerr << "d7o-sim: serving " << link.devicePath() << " at " << options.baud << " baud"
            << (options.echo ? "" : ", echo off") << (options.gps ? ", NMEA from power-on" : "")
            << "; stop with Ctrl+C\n";

  while (g_stop == 0) link.pollOnce(d7o::sim::Millis{1000}, &waitMask);

  if (link.droppedBytes() > 0) {
    std::cerr << "d7o-sim: " << link.droppedBytes() << " bytes of output were not taken\n";
  }
  return 0;
}
