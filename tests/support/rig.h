#pragma once

#include "app/application.h"
#include "sim/modem_engine.h"
#include "sim/simulated_port.h"
#include "support/scripted_platform.h"
#include "support/virtual_scheduler.h"

#include <memory>
#include <string>

namespace d7o::test {

// A GPS device that streams from power-on with a fix at once.
inline sim::ModemConfig streamingGpsDevice() {
  sim::ModemConfig c;
  c.nmeaFromPowerOn = true;
  c.gpsAcquisition = platform::Millis(0);
  return c;
}

// The whole program on the simulated modem in virtual time, in a fresh program folder.
// Members are declared in the order they must outlive each other.
struct Rig {
  explicit Rig(sim::ModemConfig modem = {});

  TempFolder folder;
  VirtualScheduler scheduler;
  sim::SchedulerClock modemClock{scheduler};
  sim::ModemEngine modem;
  sim::SimulatedPort port;
  ScriptedDialogs dialogs;
  RecordingShell shell;
  TestHost host;
  std::unique_ptr<app::Application> app;

  // Writes the default TARVIK.INI for `port` into the folder (the second start of a program).
  void writeDefaultIni(const std::string& port = "1");
  // Builds the program with its command-line text and runs its start-up; false when it ended.
  bool start(const std::string& classicArgument = "");
  // Builds the program on another port than the simulated one (a recorder around it, a
  // replay), with a default TARVIK.INI, without its start-up; `other` must outlive `app`.
  void buildOn(platform::SerialPort& other);
  // Start-up and an open port at 9600 (what a found baud rate leaves).
  void startWithOpenPort();
  // As after a start whose baud-rate search found the modem: the port open, the modem
  // answered (every tab opens), the main window's activation searches no more, and the
  // wire empty.
  void startAnswered();
  // Start-up (unless the program was started already), the first activation of the main window (the
  // baud-rate search) and the module initialisation, until the standard title and the green network
  // lamp show or `limit` passes. True when the module came up.
  bool bringUp(platform::Millis limit = platform::Millis(60000));
  // Runs until a streaming device's first sentences show the analyzer's menu entry, at most
  // 10 s of virtual time; true when they did.
  bool untilGpsStreams() {
    return runUntil([this] { return main().m_gps.visible(); }, platform::Millis(10000));
  }
  // Runs until `done` holds, at most `limit` of virtual time.
  bool runUntil(const std::function<bool()>& done,
                platform::Millis limit = platform::Millis(60000)) {
    return scheduler.runUntil(done, limit);
  }

  forms::MainWindow& main() { return app->main(); }
  app::SharedState& state() { return app->context().state; }
  bool ended() const { return app && app->context().ended; }

  void run(platform::Millis d) { scheduler.runFor(d); }
  // Sends a command line as the program does and lets the modem answer.
  void send(const std::string& command, platform::Millis wait = platform::Millis(500));
  // The bytes the program wrote since the last call.
  std::string wire() { return port.takeWritten(); }
  // Bytes from the modem's side, as if it sent them now.
  void fromModem(const std::string& bytes);
  std::vector<std::string> terminal() { return main().List3.items(); }
};

}  // namespace d7o::test
