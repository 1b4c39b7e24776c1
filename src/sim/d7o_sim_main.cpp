// d7o-sim: the simulated D7O modem behind a pseudo-terminal. Prints the device path as its
// first line, then answers whatever program opens that device, until it is stopped. With
// --replay it plays a recording onto the device instead.

#include "sim/modem_engine.h"
#include "sim/pty_link.h"
#include "sim/pty_replay.h"
#include "sim/sms_format.h"
#include "sms/pdu_codec.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <map>
#include <signal.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

volatile sig_atomic_t g_stop = 0;

extern "C" void onStopSignal(int) {
  g_stop = 1;
}

void printUsage(std::ostream& out) {
  out << "Usage: d7o-sim [--baud N] [--no-echo] [--gps] [--position LAT,LON] [--sms-store N]\n"
         "               [--sms FROM:TEXT]... [--incoming-sms SECONDS:FROM:TEXT]...\n"
         "               [--phonebook-size N] [--input-edge SECONDS:INPUT[:falling]]...\n"
         "               [--remote-position LAT,LON] [--dial NUMBER:OUTCOME]...\n"
         "               [--connect-delay SECONDS]\n"
         "       d7o-sim --replay FILE [--speed N|max] [--loop] [--baud N]\n"
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
         "  --rssi-wander\n"
         "              the field strength (AT+CSQ) wanders between weak and strong, as\n"
         "              while someone moves the antenna, with a bit error rate when weak\n"
         "  --position LAT,LON\n"
         "              where the drive starts, in degrees, south and west negative\n"
         "              (default 48.1173,11.5167)\n"
         "  --sms-store N\n"
         "              positions of the SIM's message store, 1..255 (default 20)\n"
         "  --sms FROM:TEXT\n"
         "              a received, unread message on the SIM at power-on, from the number\n"
         "              FROM (digits, \"+\" in front for international); repeatable, the\n"
         "              messages take positions 1, 2, ... in order\n"
         "  --incoming-sms SECONDS:FROM:TEXT\n"
         "              a message that arrives SECONDS after the start (\"+CMTI\"); repeatable\n"
         "  --phonebook-size N\n"
         "              positions of the SIM phone book, 1..255 (default 250); it starts with\n"
         "              entries at positions 1, 2 and 5 (those within the size)\n"
         "  --input-edge SECONDS:INPUT[:falling]\n"
         "              alarm input INPUT (1..3) goes high (or low with \":falling\") SECONDS\n"
         "              after the start; the device reports it as its \"&CNF KEY\" line says\n"
         "              (an SMS to the line's number); repeatable\n"
         "  --remote-position LAT,LON\n"
         "              where the drive of the R7O-3 device a data call (\"ATD<number>\"\n"
         "              without \";\") reaches starts (default -33.8568,151.2153); online, its\n"
         "              firmware answers the lines sent, \"+++\" with a second of silence on\n"
         "              each side returns to command mode, \"ATO\" goes back, \"ATH\" hangs up\n"
         "  --dial NUMBER:OUTCOME\n"
         "              how a data call to NUMBER is answered: connect, busy, no-dialtone or\n"
         "              no-answer (NO CARRIER after 30 s); repeatable; other numbers connect\n"
         "  --connect-delay SECONDS\n"
         "              from the dial to \"CONNECT 9600\" (default 3)\n"
         "  --help      show this text\n"
         "\n"
         "TEXT is UTF-8 and must fit one message (160 characters of the GSM alphabet, else 70).\n"
         "\n"
         "Replay, in place of the modem:\n"
         "  --replay FILE\n"
         "              plays the bytes the device sent in FILE onto the pseudo-terminal at\n"
         "              their recorded pace, for gpsd, a terminal program or rezedev7: a\n"
         "              rezedev7 capture (only its received bytes; what the program sent and\n"
         "              the line's signals are left out) or a plain log (an NMEA log, a raw\n"
         "              dump), paced as if it came at --baud N (default 115200, 8N1). The\n"
         "              replay starts when a program opens the device and stands still while\n"
         "              none has it open or the program leaves the bytes unread, so every\n"
         "              byte arrives, in order and never early. What the program writes is\n"
         "              dropped. At the end of the recording it says so on standard error\n"
         "              and keeps the device open, idle, until stopped\n"
         "  --speed N   plays N times faster than recorded (a decimal, e.g. 0.5 or 20;\n"
         "              default 1); \"max\": as fast as the program reads\n"
         "  --loop      starts over at the end of the recording, until stopped\n"
         "A malformed line stops the replay there (the bytes before it are delivered) with\n"
         "the file and the line's byte offset on standard error; the exit status, once\n"
         "stopped, is then 1.\n";
}

bool parseDecimal(std::string_view text, double min, double max, double& value) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc{} || end != text.data() + text.size() || !(v >= min && v <= max)) {
    return false;
  }
  value = v;
  return true;
}

// A message that arrives while the modem runs.
struct IncomingSms {
  double seconds = 0;
  d7o::sim::StoredSms sms;
};

// An alarm input that changes while the modem runs.
struct InputEdge {
  double seconds = 0;
  int input = 1;
  bool rising = true;
};

// "30:1" or "30:2:falling".
bool parseEdge(std::string_view text, InputEdge& edge) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view rest = text.substr(colon + 1);
  if (rest.ends_with(":falling")) {
    edge.rising = false;
    rest.remove_suffix(8);
  }
  double input = 0;
  if (!parseDecimal(text.substr(0, colon), 0, 1e6, edge.seconds) ||
      !parseDecimal(rest, 1, 3, input) || input != static_cast<int>(input)) {
    return false;
  }
  edge.input = static_cast<int>(input);
  return true;
}

struct Options {
  int baud = 9600;
  bool echo = true;
  bool rssiWander = false;
  bool gps = false;
  double latitude = d7o::sim::ModemConfig{}.gpsLatitude;
  double longitude = d7o::sim::ModemConfig{}.gpsLongitude;
  int smsStoreSize = d7o::sim::ModemConfig{}.smsStoreSize;
  int phonebookSize = d7o::sim::ModemConfig{}.phonebookSize;
  std::vector<d7o::sim::StoredSms> smsAtStart;
  std::vector<IncomingSms> incoming;
  std::vector<InputEdge> edges;
  double remoteLatitude = d7o::sim::ModemConfig{}.remoteLatitude;
  double remoteLongitude = d7o::sim::ModemConfig{}.remoteLongitude;
  std::map<std::string, d7o::sim::DataDialOutcome> dialOutcomes;
  double connectDelay = 3;
  // Replay instead of the modem.
  std::string replayFile;
  double speed = 1;  // 0: as fast as the program reads
  bool speedGiven = false;
  bool loop = false;
  bool baudGiven = false;
  std::string modemOption;  // the first option only the modem understands
};

// "0301234567:busy" -> how a data call to that number is answered. The number is kept as
// the modem compares it: blanks left out.
bool parseDial(std::string_view text, Options& options) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string number;
  for (char c : text.substr(0, colon)) {
    if (c != ' ') number.push_back(c);
  }
  const std::string_view outcome = text.substr(colon + 1);
  using d7o::sim::DataDialOutcome;
  DataDialOutcome o;
  if (outcome == "connect") {
    o = DataDialOutcome::Connect;
  } else if (outcome == "busy") {
    o = DataDialOutcome::Busy;
  } else if (outcome == "no-dialtone") {
    o = DataDialOutcome::NoDialtone;
  } else if (outcome == "no-answer") {
    o = DataDialOutcome::NoAnswer;
  } else {
    return false;
  }
  if (number.empty()) return false;
  options.dialOutcomes[number] = o;
  return true;
}

// "+4917112345:Hello" -> a received message; false when the number or the text cannot be
// one (not UTF-8, or more than one message holds).
bool parseSms(std::string_view text, d7o::sim::StoredSms& sms) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  sms.number = std::string(text.substr(0, colon));
  sms.text = std::string(text.substr(colon + 1));
  const bool utf8 = d7o::sms::toUtf8(d7o::sms::fromUtf8(sms.text)) == sms.text;
  return utf8 && d7o::sim::addressOf(sms.number) && d7o::sim::pduOfStored(sms, "");
}

// "30:+4917112345:Hello" -> after 30 seconds, that message.
bool parseIncoming(std::string_view text, IncomingSms& incoming) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view seconds = text.substr(0, colon);
  return parseDecimal(seconds, 0, 1e6, incoming.seconds) &&
         parseSms(text.substr(colon + 1), incoming.sms);
}

// "48.1173,11.5167" -> latitude and longitude.
bool parsePosition(std::string_view text, double& latitude, double& longitude) {
  const std::size_t comma = text.find(',');
  double lat = 0;
  double lon = 0;
  if (comma == std::string_view::npos || !parseDecimal(text.substr(0, comma), -90, 90, lat) ||
      !parseDecimal(text.substr(comma + 1), -180, 180, lon)) {
    return false;
  }
  latitude = lat;
  longitude = lon;
  return true;
}

// 0: run; otherwise the exit status (after --help or an error).
int parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(std::cout);
      return -1;
    }
    if (const std::string_view name = arg.substr(0, arg.find('='));
        options.modemOption.empty() && name != "--baud" && name != "--replay" &&
        name != "--speed" && name != "--loop") {
      options.modemOption = name;
    }
    if (arg == "--replay" || arg.starts_with("--replay=")) {
      if (arg != "--replay") {
        options.replayFile = arg.substr(9);
      } else if (i + 1 < argc) {
        options.replayFile = argv[++i];
      }
      if (options.replayFile.empty()) {
        std::cerr << "d7o-sim: --replay needs a capture or log FILE\n";
        return 2;
      }
      continue;
    }
    if (arg == "--speed" || arg.starts_with("--speed=")) {
      std::string_view speed;
      if (arg != "--speed") {
        speed = arg.substr(8);
      } else if (i + 1 < argc) {
        speed = argv[++i];
      }
      options.speedGiven = true;
      if (speed == "max") {
        options.speed = d7o::sim::ReplaySettings::kMaxSpeed;
      } else if (!parseDecimal(speed, 0.001, 1e6, options.speed)) {
        std::cerr << "d7o-sim: --speed needs a factor, 0.001..1000000, or max\n";
        return 2;
      }
      continue;
    }
    if (arg == "--loop") {
      options.loop = true;
      continue;
    }
    if (arg == "--no-echo") {
      options.echo = false;
      continue;
    }
    if (arg == "--gps") {
      options.gps = true;
      continue;
    }
    if (arg == "--rssi-wander") {
      options.rssiWander = true;
      continue;
    }
    if (arg == "--position" || arg.starts_with("--position=")) {
      std::string_view position;
      if (arg != "--position") {
        position = arg.substr(11);
      } else if (i + 1 < argc) {
        position = argv[++i];
      }
      if (!parsePosition(position, options.latitude, options.longitude)) {
        std::cerr << "d7o-sim: --position needs LAT,LON in degrees (e.g. -33.8568,151.2153)\n";
        return 2;
      }
      continue;
    }
    if (arg == "--remote-position") {
      if (i + 1 >= argc ||
          !parsePosition(argv[++i], options.remoteLatitude, options.remoteLongitude)) {
        std::cerr << "d7o-sim: --remote-position needs LAT,LON in degrees (e.g. "
                     "-33.8568,151.2153)\n";
        return 2;
      }
      continue;
    }
    if (arg == "--dial") {
      if (i + 1 >= argc || !parseDial(argv[++i], options)) {
        std::cerr << "d7o-sim: --dial needs NUMBER:connect, NUMBER:busy, NUMBER:no-dialtone "
                     "or NUMBER:no-answer (e.g. 0301234567:busy)\n";
        return 2;
      }
      continue;
    }
    if (arg == "--connect-delay") {
      if (i + 1 >= argc || !parseDecimal(argv[++i], 0, 600, options.connectDelay)) {
        std::cerr << "d7o-sim: --connect-delay needs SECONDS, 0..600\n";
        return 2;
      }
      continue;
    }
    if (arg == "--input-edge") {
      InputEdge edge;
      if (i + 1 >= argc || !parseEdge(argv[++i], edge)) {
        std::cerr << "d7o-sim: --input-edge needs SECONDS:INPUT[:falling], INPUT 1..3 "
                     "(e.g. 20:1)\n";
        return 2;
      }
      options.edges.push_back(edge);
      continue;
    }
    if (arg == "--phonebook-size") {
      const std::string_view text = i + 1 < argc ? std::string_view(argv[++i]) : "";
      const auto [end, ec] =
          std::from_chars(text.data(), text.data() + text.size(), options.phonebookSize);
      if (text.empty() || ec != std::errc{} || end != text.data() + text.size() ||
          options.phonebookSize < 1 || options.phonebookSize > 255) {
        std::cerr << "d7o-sim: --phonebook-size needs a number of positions, 1..255\n";
        return 2;
      }
      continue;
    }
    if (arg == "--sms" || arg == "--incoming-sms" || arg == "--sms-store") {
      if (i + 1 >= argc) {
        std::cerr << "d7o-sim: " << arg << " needs a value\n";
        return 2;
      }
      const std::string_view text = argv[++i];
      if (arg == "--sms-store") {
        const auto [end, ec] =
            std::from_chars(text.data(), text.data() + text.size(), options.smsStoreSize);
        if (ec != std::errc{} || end != text.data() + text.size() || options.smsStoreSize < 1 ||
            options.smsStoreSize > 255) {
          std::cerr << "d7o-sim: --sms-store needs a number of positions, 1..255\n";
          return 2;
        }
      } else if (arg == "--sms") {
        d7o::sim::StoredSms sms;
        if (!parseSms(text, sms)) {
          std::cerr << "d7o-sim: --sms needs FROM:TEXT, a number and a text one message "
                       "holds (e.g. +4917112345:Hello)\n";
          return 2;
        }
        options.smsAtStart.push_back(std::move(sms));
      } else {
        IncomingSms incoming;
        if (!parseIncoming(text, incoming)) {
          std::cerr << "d7o-sim: --incoming-sms needs SECONDS:FROM:TEXT (e.g. "
                       "10:+4917112345:Hello)\n";
          return 2;
        }
        options.incoming.push_back(std::move(incoming));
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
    options.baudGiven = true;
  }
  if (!options.replayFile.empty() && !options.modemOption.empty()) {
    std::cerr << "d7o-sim: " << options.modemOption
              << " is for the simulated modem; a replay plays the recording only\n";
    return 2;
  }
  if (options.replayFile.empty() && (options.speedGiven || options.loop)) {
    std::cerr << "d7o-sim: --speed and --loop go with --replay FILE\n";
    return 2;
  }
  return 0;
}

// The replay's loop: the recording onto the pseudo-terminal until a stop signal.
int runReplay(const Options& options, const sigset_t& waitMask) {
  d7o::sim::ReplaySettings settings;
  settings.file = options.replayFile;
  settings.speed = options.speed;
  settings.loop = options.loop;
  // A plain log is paced at --baud when given.
  if (options.baudGiven) settings.plainSettings = std::to_string(options.baud) + ",n,8,1";
  d7o::sim::PtyReplay replay(settings);
  replay.setLog([](std::string_view message) { std::cerr << "d7o-sim: " << message << '\n'; });
  std::string error;
  if (!replay.open(error)) {
    std::cerr << "d7o-sim: " << error << '\n';
    return 1;
  }
  std::cout << replay.devicePath() << '\n' << std::flush;
  std::cerr << "d7o-sim: replaying " << options.replayFile << " (";
  if (replay.isCapture()) {
    std::cerr << "capture of " << replay.header().port << " at " << replay.header().settings;
    if (!replay.header().startUtc.empty()) std::cerr << " from " << replay.header().startUtc;
  } else {
    std::cerr << "plain log, paced at " << replay.header().settings;
  }
  std::cerr << ") on " << replay.devicePath() << ", ";
  if (options.speed > 0) {
    std::cerr << options.speed << " times the recorded pace";
  } else {
    std::cerr << "as fast as it is read";
  }
  std::cerr << (options.loop ? ", over and over" : "")
            << "; it starts when a program opens the device; stop with Ctrl+C\n";

  while (g_stop == 0) replay.pollOnce(d7o::sim::Millis{1000}, &waitMask);

  if (replay.bytesDropped() > 0) {
    std::cerr << "d7o-sim: " << replay.bytesDropped() << " bytes the program wrote were dropped\n";
  }
  return replay.failed() ? 1 : 0;
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

  if (!options.replayFile.empty()) return runReplay(options, waitMask);

  d7o::sim::PtyClock clock;
  d7o::sim::ModemConfig config;
  config.baud = options.baud;
  config.echo = options.echo;
  config.rssiWander = options.rssiWander;
  config.nmeaFromPowerOn = options.gps;
  config.gpsLatitude = options.latitude;
  config.gpsLongitude = options.longitude;
  config.smsStoreSize = options.smsStoreSize;
  config.phonebookSize = options.phonebookSize;
  config.smsAtStart = options.smsAtStart;
  config.remoteLatitude = options.remoteLatitude;
  config.remoteLongitude = options.remoteLongitude;
  config.dataDialOutcomes = options.dialOutcomes;
  config.dataConnectDelay =
      std::chrono::round<d7o::sim::Millis>(std::chrono::duration<double>(options.connectDelay));
  if (static_cast<int>(config.smsAtStart.size()) > config.smsStoreSize) {
    std::cerr << "d7o-sim: " << config.smsAtStart.size() << " messages do not fit a store of "
              << config.smsStoreSize << "\n";
    return 2;
  }
  // The receiver's clock reads the real time, as a real one would.
  config.gpsStartUtc = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  // The network's time stamps read the local time of this machine, in its zone.
  {
    const std::time_t now = std::chrono::system_clock::to_time_t(config.gpsStartUtc);
    std::tm local{};
    if (::localtime_r(&now, &local) != nullptr) {
      const long offset = local.tm_gmtoff;
      config.networkTime = config.gpsStartUtc + std::chrono::seconds(offset);
      config.networkZoneQuarters = static_cast<int>(offset / 900);
    }
  }
  d7o::sim::ModemEngine modem(clock, config);
  d7o::sim::PtyLink link(clock, modem);
  link.setLog([](std::string_view message) { std::cerr << "d7o-sim: " << message << '\n'; });
  modem.setCallLog([](std::string_view message) { std::cerr << "d7o-sim: " << message << '\n'; });

  std::string error;
  if (!link.open(error)) {
    std::cerr << "d7o-sim: cannot create a pseudo-terminal: " << error << '\n';
    return 1;
  }
  for (const IncomingSms& incoming : options.incoming) {
    const auto delay =
        std::chrono::round<d7o::sim::Millis>(std::chrono::duration<double>(incoming.seconds));
    clock.after(delay, [&modem, sms = incoming.sms] {
      const d7o::sim::SmsDelivery d = modem.deliverSms(sms.number, sms.text);
      switch (d.arrival) {
        case d7o::sim::SmsArrival::Stored:
          std::cerr << "d7o-sim: message from " << sms.number << " stored at " << d.index << '\n';
          break;
        case d7o::sim::SmsArrival::Forwarded:
          std::cerr << "d7o-sim: message from " << sms.number << " shown (+CMT)\n";
          break;
        case d7o::sim::SmsArrival::Waiting:
          std::cerr << "d7o-sim: store full, message from " << sms.number << " waits\n";
          break;
        case d7o::sim::SmsArrival::Refused:
          std::cerr << "d7o-sim: message from " << sms.number
                    << " not received (modem off, SIM locked or no network)\n";
          break;
      }
    });
  }
  for (const InputEdge& edge : options.edges) {
    const auto delay =
        std::chrono::round<d7o::sim::Millis>(std::chrono::duration<double>(edge.seconds));
    clock.after(delay, [&modem, edge] {
      const char* level = edge.rising ? "high" : "low";
      const auto report = modem.inputEdge(edge.input, edge.rising);
      std::cerr << "d7o-sim: IN" << edge.input << " " << level;
      if (!report) {
        std::cerr << ", not configured for this edge\n";
      } else if (report->kind != 'S') {
        std::cerr << ", alarm of kind " << report->kind << " to " << report->number
                  << " (only SMS alarms go out here)\n";
      } else if (!report->passedOn) {
        std::cerr << ", alarm SMS to " << report->number << " failed (no network or centre)\n";
      } else {
        std::cerr << ", alarm SMS\n";  // the sent message is reported below
      }
    });
  }
  std::cout << link.devicePath() << '\n' << std::flush;
  std::cerr << "d7o-sim: serving " << link.devicePath() << " at " << options.baud << " baud"
            << (options.echo ? "" : ", echo off") << (options.gps ? ", NMEA from power-on" : "")
            << "; stop with Ctrl+C\n";

  // Each message the program sends is reported once, so a script can check what it sent.
  std::size_t sentReported = 0;
  while (g_stop == 0) {
    link.pollOnce(d7o::sim::Millis{1000}, &waitMask);
    for (; sentReported < modem.sentSms().size(); ++sentReported) {
      const d7o::sim::SentSms& sent = modem.sentSms()[sentReported];
      std::cerr << "d7o-sim: message " << sent.messageReference << " sent to " << sent.number
                << ": " << sent.text << '\n';
    }
  }

  if (link.droppedBytes() > 0) {
    std::cerr << "d7o-sim: " << link.droppedBytes() << " bytes of output were not taken\n";
  }
  return 0;
}
