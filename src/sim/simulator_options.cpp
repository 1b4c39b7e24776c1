// d7o-sim's command line: what each option asks of the simulated modem (or the replay).
#include "sim/simulator_options.h"

#include "sim/pty_link.h"
#include "sim/pty_replay.h"
#include "sim/sms_format.h"
#include "sms/pdu_codec.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace d7o::sim {

void printUsage(std::ostream& out) {
  out << "Usage: d7o-sim [--baud N|auto] [--no-echo] [--gps] [--position LAT,LON]\n"
         "               [--sms-store N] [--sms FROM:TEXT]... [--incoming-sms "
         "SECONDS:FROM:TEXT]...\n"
         "               [--phonebook-size N] [--input-edge SECONDS:INPUT[:falling]]...\n"
         "               [--remote-position LAT,LON] [--dial NUMBER:OUTCOME]...\n"
         "               [--connect-delay SECONDS] [--engine NAME] [--pin NNNN] [--puk]\n"
         "               [--no-sim] [--sim-busy] [--ring SECONDS:NUMBER]...\n"
         "       d7o-sim --replay FILE [--speed N|max] [--loop] [--baud N]\n"
         "\n"
         "Runs the simulated Tarvik D7O modem on a pseudo-terminal. The first line written\n"
         "to standard output is the device to open (e.g. /dev/pts/3); the modem serves it\n"
         "until interrupted.\n"
         "\n"
         "  --baud N    the only rate the modem understands and answers at (default 9600)\n"
         "  --baud auto the modem detects the rate: it understands the program at whatever\n"
         "              rate the program sets and answers at it (as after AT+IPR=0)\n"
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
         "  --engine NAME\n"
         "              the GSM engine inside: tarvik (the maker's, default; AT+CGMI answers\n"
         "              \"Tarvik GmbH\"), siemens (\"SIEMENS\", with its audio commands),\n"
         "              brellstowen (\"BRELLSTOWEN\") or other (\"WAVECOM MODEM\")\n"
         "  --pin NNNN  the SIM asks for this PIN, 4 to 8 digits (\"+CPIN: SIM PIN\" until\n"
         "              AT+CPIN gives it); three wrong PINs in a row lock it to its PUK\n"
         "  --puk       the SIM is locked to its PUK (\"+CPIN: SIM PUK\"):\n"
         "              AT+CPIN=\"12345678\",\"<new PIN>\" unlocks it and sets the new PIN; a\n"
         "              wrong PUK gives \"+CME ERROR: 16\"\n"
         "  --no-sim    no SIM in the modem: AT+CPIN? and the SIM's commands (phone book,\n"
         "              IMSI, dialling) answer \"+CME ERROR: 13\", the SMS commands\n"
         "              \"+CMS ERROR: 310\"; no calls or messages come in\n"
         "  --sim-busy  the modem reads its SIM for 30 s after the start and after each\n"
         "              restart: meanwhile AT+CPIN? and the SIM's commands answer\n"
         "              \"+CME ERROR: 14\" (\"+CMS ERROR: 314\" for SMS); then it is ready\n"
         "  --ring SECONDS:NUMBER\n"
         "              a voice call from NUMBER (digits, \"+\" in front for international)\n"
         "              SECONDS after the start: \"RING\" every 3 s, 10 times, until ATA takes\n"
         "              it; after AT+CLIP=1 each RING is followed by\n"
         "              \"+CLIP: \"<NUMBER>\",<145 or 129>\"; repeatable\n"
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

namespace {

bool parseDecimal(std::string_view text, double min, double max, double& value) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc{} || end != text.data() + text.size() || !(v >= min && v <= max)) {
    return false;
  }
  value = v;
  return true;
}

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

// "0301234567:busy" -> how a data call to that number is answered. The number is kept as
// the modem compares it: blanks left out.
bool parseDial(std::string_view text, SimulatorOptions& options) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string number;
  for (char c : text.substr(0, colon)) {
    if (c != ' ') number.push_back(c);
  }
  const std::string_view outcome = text.substr(colon + 1);
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
bool parseSms(std::string_view text, StoredSms& sms) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  sms.number = std::string(text.substr(0, colon));
  sms.text = std::string(text.substr(colon + 1));
  const bool utf8 = d7o::sms::toUtf8(d7o::sms::fromUtf8(sms.text)) == sms.text;
  return utf8 && addressOf(sms.number) && pduOfStored(sms, "");
}

// "30:+4917112345:Hello" -> after 30 seconds, that message.
bool parseIncoming(std::string_view text, IncomingSms& incoming) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view seconds = text.substr(0, colon);
  return parseDecimal(seconds, 0, 1e6, incoming.seconds) &&
         parseSms(text.substr(colon + 1), incoming.sms);
}

// "30:+491711234567" -> after 30 seconds, a call from that number.
bool parseCall(std::string_view text, IncomingCall& call) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view number = text.substr(colon + 1);
  const std::string_view digits = number.starts_with('+') ? number.substr(1) : number;
  if (digits.empty() || digits.size() > 20 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  call.number = std::string(number);
  return parseDecimal(text.substr(0, colon), 0, 1e6, call.seconds);
}

bool parseEngine(std::string_view name, Engine& engine) {
  static constexpr std::pair<std::string_view, Engine> kNames[] = {
      {"tarvik", Engine::Maker},
      {"siemens", Engine::Siemens},
      {"brellstowen", Engine::Brellstowen},
      {"other", Engine::Other},
  };
  for (const auto& [n, e] : kNames) {
    if (n == name) {
      engine = e;
      return true;
    }
  }
  return false;
}

bool isPin(std::string_view pin) {
  return pin.size() >= 4 && pin.size() <= 8 &&
         std::all_of(pin.begin(), pin.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The switches of the bring-up paths (engine, SIM, rate, calls): nothing when `args[i]` is
// none of them; 0 when taken (with its value, `i` past it); 2 when its value is wrong.
std::optional<int> parseBringUpOption(std::span<const std::string_view> args, std::size_t& i,
                                      SimulatorOptions& options, std::ostream& err) {
  const std::string_view arg = args[i];
  if (arg == "--puk") {
    options.puk = true;
    return 0;
  }
  if (arg == "--no-sim") {
    options.noSim = true;
    return 0;
  }
  if (arg == "--sim-busy") {
    options.simBusy = true;
    return 0;
  }
  // "--name VALUE" or "--name=VALUE".
  const std::string_view name = arg.substr(0, arg.find('='));
  if (name != "--engine" && name != "--pin" && name != "--ring" && name != "--baud") {
    return std::nullopt;
  }
  const bool joined = name != arg;
  std::string_view value;
  if (joined) {
    value = arg.substr(name.size() + 1);
  } else if (i + 1 < args.size()) {
    value = args[i + 1];
  }
  // "--baud auto" only; a rate is read with the replay's options.
  if (name == "--baud" && value != "auto") return std::nullopt;
  if (!joined && i + 1 < args.size()) ++i;
  if (name == "--baud") {
    options.autoBaud = true;
    options.baudGiven = true;
  } else if (name == "--engine") {
    if (!parseEngine(value, options.engine)) {
      err << "d7o-sim: --engine needs tarvik, siemens, brellstowen or other\n";
      return 2;
    }
  } else if (name == "--pin") {
    if (!isPin(value)) {
      err << "d7o-sim: --pin needs the SIM's PIN, 4 to 8 digits (e.g. 1234)\n";
      return 2;
    }
    options.pin = std::string(value);
  } else {
    IncomingCall call;
    if (!parseCall(value, call)) {
      err << "d7o-sim: --ring needs SECONDS:NUMBER, the number digits with \"+\" in front "
             "for international (e.g. 20:+491711234567)\n";
      return 2;
    }
    options.calls.push_back(std::move(call));
  }
  return 0;
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

}  // namespace

int parseOptions(std::span<const std::string_view> args, SimulatorOptions& options,
                 std::ostream& out, std::ostream& err) {
  const std::size_t argc = args.size();
  for (std::size_t i = 0; i < argc; ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(out);
      return -1;
    }
    if (const std::string_view name = arg.substr(0, arg.find('='));
        options.modemOption.empty() && name != "--baud" && name != "--replay" &&
        name != "--speed" && name != "--loop") {
      options.modemOption = name;
    }
    if (const std::optional<int> status = parseBringUpOption(args, i, options, err)) {
      if (*status != 0) return *status;
      continue;
    }
    if (arg == "--replay" || arg.starts_with("--replay=")) {
      if (arg != "--replay") {
        options.replayFile = arg.substr(9);
      } else if (i + 1 < argc) {
        options.replayFile = args[++i];
      }
      if (options.replayFile.empty()) {
        err << "d7o-sim: --replay needs a capture or log FILE\n";
        return 2;
      }
      continue;
    }
    if (arg == "--speed" || arg.starts_with("--speed=")) {
      std::string_view speed;
      if (arg != "--speed") {
        speed = arg.substr(8);
      } else if (i + 1 < argc) {
        speed = args[++i];
      }
      options.speedGiven = true;
      if (speed == "max") {
        options.speed = ReplaySettings::kMaxSpeed;
      } else if (!parseDecimal(speed, 0.001, 1e6, options.speed)) {
        err << "d7o-sim: --speed needs a factor, 0.001..1000000, or max\n";
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
        position = args[++i];
      }
      if (!parsePosition(position, options.latitude, options.longitude)) {
        err << "d7o-sim: --position needs LAT,LON in degrees (e.g. -33.8568,151.2153)\n";
        return 2;
      }
      continue;
    }
    if (arg == "--remote-position") {
      if (i + 1 >= argc ||
          !parsePosition(args[++i], options.remoteLatitude, options.remoteLongitude)) {
        err << "d7o-sim: --remote-position needs LAT,LON in degrees (e.g. "
               "-33.8568,151.2153)\n";
        return 2;
      }
      continue;
    }
    if (arg == "--dial") {
      if (i + 1 >= argc || !parseDial(args[++i], options)) {
        err << "d7o-sim: --dial needs NUMBER:connect, NUMBER:busy, NUMBER:no-dialtone "
               "or NUMBER:no-answer (e.g. 0301234567:busy)\n";
        return 2;
      }
      continue;
    }
    if (arg == "--connect-delay") {
      if (i + 1 >= argc || !parseDecimal(args[++i], 0, 600, options.connectDelay)) {
        err << "d7o-sim: --connect-delay needs SECONDS, 0..600\n";
        return 2;
      }
      continue;
    }
    if (arg == "--input-edge") {
      InputEdge edge;
      if (i + 1 >= argc || !parseEdge(args[++i], edge)) {
        err << "d7o-sim: --input-edge needs SECONDS:INPUT[:falling], INPUT 1..3 "
               "(e.g. 20:1)\n";
        return 2;
      }
      options.edges.push_back(edge);
      continue;
    }
    if (arg == "--phonebook-size") {
      const std::string_view text = i + 1 < argc ? args[++i] : "";
      const auto [end, ec] =
          std::from_chars(text.data(), text.data() + text.size(), options.phonebookSize);
      if (text.empty() || ec != std::errc{} || end != text.data() + text.size() ||
          options.phonebookSize < 1 || options.phonebookSize > 255) {
        err << "d7o-sim: --phonebook-size needs a number of positions, 1..255\n";
        return 2;
      }
      continue;
    }
    if (arg == "--sms" || arg == "--incoming-sms" || arg == "--sms-store") {
      if (i + 1 >= argc) {
        err << "d7o-sim: " << arg << " needs a value\n";
        return 2;
      }
      const std::string_view text = args[++i];
      if (arg == "--sms-store") {
        const auto [end, ec] =
            std::from_chars(text.data(), text.data() + text.size(), options.smsStoreSize);
        if (ec != std::errc{} || end != text.data() + text.size() || options.smsStoreSize < 1 ||
            options.smsStoreSize > 255) {
          err << "d7o-sim: --sms-store needs a number of positions, 1..255\n";
          return 2;
        }
      } else if (arg == "--sms") {
        StoredSms sms;
        if (!parseSms(text, sms)) {
          err << "d7o-sim: --sms needs FROM:TEXT, a number and a text one message "
                 "holds (e.g. +4917112345:Hello)\n";
          return 2;
        }
        options.smsAtStart.push_back(std::move(sms));
      } else {
        IncomingSms incoming;
        if (!parseIncoming(text, incoming)) {
          err << "d7o-sim: --incoming-sms needs SECONDS:FROM:TEXT (e.g. "
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
        err << "d7o-sim: --baud needs a rate\n";
        return 2;
      }
      value = args[++i];
    } else if (arg.starts_with("--baud=")) {
      value = arg.substr(7);
    } else {
      err << "d7o-sim: unknown option '" << arg << "'\n";
      printUsage(err);
      return 2;
    }
    int baud = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), baud);
    // Only rates a terminal can be set to: at any other the modem could never be reached.
    if (ec != std::errc{} || end != value.data() + value.size() || !speedOfBaud(baud)) {
      err << "d7o-sim: '" << value << "' is not a serial rate (e.g. 9600, 115200)\n";
      return 2;
    }
    options.baud = baud;
    options.baudGiven = true;
  }
  if (!options.replayFile.empty() && !options.modemOption.empty()) {
    err << "d7o-sim: " << options.modemOption
        << " is for the simulated modem; a replay plays the recording only\n";
    return 2;
  }
  if (options.replayFile.empty() && (options.speedGiven || options.loop)) {
    err << "d7o-sim: --speed and --loop go with --replay FILE\n";
    return 2;
  }
  if (options.autoBaud && !options.replayFile.empty()) {
    err << "d7o-sim: --baud auto is for the simulated modem; a replay is paced at a rate\n";
    return 2;
  }
  if (options.noSim && (!options.pin.empty() || options.puk || options.simBusy)) {
    err << "d7o-sim: --no-sim leaves no SIM for --pin, --puk or --sim-busy\n";
    return 2;
  }
  if (static_cast<int>(options.smsAtStart.size()) > options.smsStoreSize) {
    err << "d7o-sim: " << options.smsAtStart.size() << " messages do not fit a store of "
        << options.smsStoreSize << "\n";
    return 2;
  }
  return 0;
}

ModemConfig modemConfigOf(const SimulatorOptions& options) {
  ModemConfig config;
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
      std::chrono::round<Millis>(std::chrono::duration<double>(options.connectDelay));
  config.engine = options.engine;
  config.autoBaud = options.autoBaud;
  if (!options.pin.empty()) {
    config.sim = SimCard::PinRequired;
    config.pin = options.pin;
  }
  if (options.puk) config.sim = SimCard::PukRequired;
  if (options.noSim) config.sim = SimCard::Missing;
  if (options.simBusy) config.simBusyTime = kSimBusyTime;
  return config;
}

}  // namespace d7o::sim
