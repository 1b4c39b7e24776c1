#pragma once

#include "sim/modem_engine.h"

#include <map>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// A message that arrives while the modem runs.
struct IncomingSms {
  double seconds = 0;
  StoredSms sms;
};

// An alarm input that changes while the modem runs.
struct InputEdge {
  double seconds = 0;
  int input = 1;
  bool rising = true;
};

// A voice call that comes in while the modem runs.
struct IncomingCall {
  double seconds = 0;
  std::string number;  // "+49171...", "0301..."
};

// A call rings this often, every 3 s, before the caller gives up (half a minute).
inline constexpr int kRingsPerCall = 10;
// --sim-busy: how long the modem reads its SIM after power-on and after a restart. Longer
// than a real SIM takes, so that rezedev7, started after d7o-sim, still meets it: its first
// AT+CPIN? comes some 14 s after its baud-rate search begins.
inline constexpr Millis kSimBusyTime{30000};

// What d7o-sim's command line asks for.
struct SimulatorOptions {
  int baud = 9600;
  bool echo = true;
  bool rssiWander = false;
  bool gps = false;
  double latitude = ModemConfig{}.gpsLatitude;
  double longitude = ModemConfig{}.gpsLongitude;
  int smsStoreSize = ModemConfig{}.smsStoreSize;
  int phonebookSize = ModemConfig{}.phonebookSize;
  std::vector<StoredSms> smsAtStart;
  std::vector<IncomingSms> incoming;
  std::vector<InputEdge> edges;
  double remoteLatitude = ModemConfig{}.remoteLatitude;
  double remoteLongitude = ModemConfig{}.remoteLongitude;
  std::map<std::string, DataDialOutcome> dialOutcomes;
  double connectDelay = 3;
  // The bring-up paths: the GSM engine, the SIM, the line rate, calls.
  Engine engine = Engine::Maker;
  std::string pin;  // not empty: the SIM asks for this PIN
  bool puk = false;
  bool noSim = false;
  bool simBusy = false;
  bool autoBaud = false;
  std::vector<IncomingCall> calls;
  // Replay instead of the modem.
  std::string replayFile;
  double speed = 1;  // 0: as fast as the program reads
  bool speedGiven = false;
  bool loop = false;
  bool baudGiven = false;
  std::string modemOption;  // the first option only the modem understands
};

void printUsage(std::ostream& out);

// The arguments after the program's name. 0: run; -1: the usage was shown on `out`;
// otherwise the exit status, the reason on `err`.
int parseOptions(std::span<const std::string_view> args, SimulatorOptions& options,
                 std::ostream& out, std::ostream& err);

// The modem the options describe; what depends on the machine's clock (the receiver's
// time, the network's) is left to the caller.
ModemConfig modemConfigOf(const SimulatorOptions& options);

}  // namespace d7o::sim
