// d7o-sim: the simulated D7O modem behind a pseudo-terminal. Prints the device path as its
// first line, then answers whatever program opens that device, until it is stopped. With
// --replay it plays a recording onto the device instead.

#include "sim/modem_engine.h"
#include "sim/pty_link.h"
#include "sim/pty_replay.h"
#include "sim/simulator_options.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <signal.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

volatile sig_atomic_t g_stop = 0;

extern "C" void onStopSignal(int) {
  g_stop = 1;
}

using d7o::sim::IncomingCall;
using d7o::sim::IncomingSms;
using d7o::sim::InputEdge;
using d7o::sim::SimulatorOptions;

// Each call rings when due, unless the modem cannot take one then; either is reported.
void scheduleCalls(const std::vector<IncomingCall>& calls, d7o::sim::PtyClock& clock,
                   d7o::sim::ModemEngine& modem) {
  for (const IncomingCall& call : calls) {
    const auto delay =
        std::chrono::round<d7o::sim::Millis>(std::chrono::duration<double>(call.seconds));
    clock.after(delay, [&modem, number = call.number] {
      if (modem.incomingCall(d7o::sim::kRingsPerCall, number)) {
        std::cerr << "d7o-sim: call from " << number << " rings\n";
      } else {
        std::cerr << "d7o-sim: call from " << number
                  << " did not come (modem off or in a call, SIM not ready or no network)\n";
      }
    });
  }
}

// ", SIEMENS engine, SIM PIN 1234": what the serving line says beyond the rate and echo.
std::string bringUpSummary(const SimulatorOptions& options) {
  std::string s;
  switch (options.engine) {
    case d7o::sim::Engine::Maker:
      break;
    case d7o::sim::Engine::Siemens:
      s += ", SIEMENS engine";
      break;
    case d7o::sim::Engine::Brellstowen:
      s += ", BRELLSTOWEN engine";
      break;
    case d7o::sim::Engine::Other:
      s += ", other engine";
      break;
  }
  if (options.noSim) s += ", no SIM";
  if (!options.pin.empty()) s += ", SIM PIN " + options.pin;
  if (options.puk) s += ", SIM locked to its PUK " + d7o::sim::ModemConfig{}.puk;
  if (options.simBusy) {
    s += ", SIM busy for " + std::to_string(d7o::sim::kSimBusyTime.count() / 1000) +
         " s after power-on";
  }
  return s;
}

// The replay's loop: the recording onto the pseudo-terminal until a stop signal.
int runReplay(const SimulatorOptions& options, const sigset_t& waitMask) {
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
  SimulatorOptions options;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (const int status = d7o::sim::parseOptions(args, options, std::cout, std::cerr); status != 0) {
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
  d7o::sim::ModemConfig config = d7o::sim::modemConfigOf(options);
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
  scheduleCalls(options.calls, clock, modem);
  std::cout << link.devicePath() << '\n' << std::flush;
  std::cerr << "d7o-sim: serving " << link.devicePath() << " at "
            << (options.autoBaud ? std::string("the program's rate")
                                 : std::to_string(options.baud) + " baud")
            << (options.echo ? "" : ", echo off") << (options.gps ? ", NMEA from power-on" : "")
            << bringUpSummary(options) << "; stop with Ctrl+C\n";

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
