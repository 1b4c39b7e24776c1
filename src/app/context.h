#pragma once

#include "app/log_file.h"
#include "app/shared_state.h"
#include "forms/bin_code_form.h"
#include "forms/gps_form.h"
#include "forms/main_window.h"
#include "forms/pdu_form.h"
#include "forms/remote_form.h"
#include "forms/signal_form.h"
#include "platform/dialogs.h"
#include "platform/host.h"
#include "platform/scheduler.h"
#include "platform/serial_port.h"
#include "platform/shell.h"

#include <optional>
#include <string>
#include <vector>

namespace d7o::app {

// The outside world as the program reaches it.
struct Platform {
  platform::SerialPort& port;
  platform::Scheduler& scheduler;
  platform::Dialogs& dialogs;
  platform::Shell& shell;
  platform::Host& host;
};

// Everything a behaviour reaches: the platform, the shared state and the windows.
struct Context {
  explicit Context(const Platform& p);

  platform::SerialPort& port;
  platform::Scheduler& scheduler;
  platform::Dialogs& dialogs;
  platform::Shell& shell;
  platform::Host& host;

  SharedState state;
  forms::MainWindow main;
  forms::GpsForm gpsForm;
  forms::PduForm pduForm;
  forms::BinCodeForm binCodeForm;
  forms::RemoteForm remoteForm;
  forms::SignalForm signalForm;
  LogFile log;

  // Set once the program is ending: timers stop, receive events and waits return.
  bool ended = false;
  // This run plays a recorded session back instead of talking to a port.
  bool replaying = false;
  // The program's arguments for a new run that takes over once this one has ended (a
  // replay chosen from the menu, or the end of one); nothing for a plain end.
  std::optional<std::vector<std::string>> restartArguments;

  // Stops the timers and the port and asks the process to end (exit code 1: it could not
  // work).
  void endProgram(int exitCode = 0);

  // Tells the technician something the program did on its own, without a box to click
  // away: a terminal line (scrolled into view) and the status field.
  void notice(const std::string& text);

  // Shows a message box with the critical icon and the "E r r o r" title.
  void showError(const std::string& text);

  // An entry of TARVIK.INI as start-up read it (its index in the hidden List2), or
  // empty where the file is shorter.
  std::string configItem(int index) const;

  // CenterForm: a window in the middle of the screen, as every window opens.
  void CenterForm(forms::Form& form);
};

}  // namespace d7o::app
