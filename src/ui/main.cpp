// rezedev7: the Tarvik D7O test and development tool.

#include "app/application.h"
#include "app/command_line.h"
#include "app/program_folder.h"
#include "app/subsystems.h"
#include "app/tarvik_ini.h"
#include "capture/recording_port.h"
#include "capture/replay_port.h"
#include "sim/modem_engine.h"
#include "sim/simulated_port.h"
#include "ui/bin_code_form_view.h"
#include "ui/gps_form_view.h"
#include "ui/main_window_view.h"
#include "ui/pdu_form_view.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_host.h"
#include "ui/qt_scheduler.h"
#include "ui/qt_serial_port.h"
#include "ui/qt_shell.h"
#include "ui/remote_form_view.h"
#include "ui/signal_form_view.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QLockFile>
#include <QProcess>

namespace {

namespace fs = std::filesystem;
using namespace d7o;

constexpr int kUsageError = 2;

app::CommandLine parse(int argc, char* argv[]) {
  return app::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}

// --create-ini DIR PORT: sets up a program folder without starting the program (and
// without a display).
int createIni(const fs::path& folder, const std::string& portAnswer) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    std::cerr << "rezedev7: cannot create " << folder.string() << ": " << ec.message() << '\n';
    return EXIT_FAILURE;
  }
  const fs::path file = folder / app::kIniFileName;
  if (fs::exists(file, ec)) {
    std::cout << file.string() << " exists; kept as it is\n";
    return EXIT_SUCCESS;
  }
  if (const auto failure = app::writeDefaultIni(folder, app::portFromAnswer(portAnswer))) {
    std::cerr << "rezedev7: cannot write " << file.string() << ": " << *failure << '\n';
    return EXIT_FAILURE;
  }
  std::cout << file.string() << '\n';
  return EXIT_SUCCESS;
}

// The program folder by app::chooseProgramFolder; the user's data folder is made here when
// missing. Nothing (after a message) when there is none to be had.
std::optional<fs::path> programFolder(const app::CommandLine& cl) {
  // Windows keeps names in UTF-16, and a narrow copy (std::getenv, encodeName) is in the ANSI
  // code page, which may lack a letter of the user's name; POSIX keeps the bytes as they are.
  const auto pathOf = [](const QString& name) {
#if defined(Q_OS_WIN)
    return fs::path(name.toStdWString());
#else
    return fs::path(QFile::encodeName(name).toStdString());
#endif
  };
  const auto variable = [&](const char* name) -> std::optional<fs::path> {
#if defined(Q_OS_WIN)
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty()) return std::nullopt;
    return pathOf(value);
#else
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return fs::path(value);
#endif
  };
  app::FolderCandidates candidates;
  if (cl.home) candidates.homeOption = fs::absolute(*cl.home);
  if (auto home = variable("REZEDEV7_HOME")) candidates.homeVariable = fs::absolute(*home);
  candidates.executableFolder = pathOf(QCoreApplication::applicationDirPath());
  candidates.executableInstalled = app::isInstalledLayout(candidates.executableFolder);
#if defined(Q_OS_WIN)
  // A shell from MSYS or Cygwin sets HOME to a folder of its own: the user's data folder is
  // the system's.
  candidates.appData = variable("APPDATA");
#else
  candidates.xdgDataHome = variable("XDG_DATA_HOME");
  candidates.userHome = variable("HOME");
#endif

  const app::FolderChoice choice = app::chooseProgramFolder(candidates, app::isWritableFolder);
  if (choice.folder.empty()) {
    std::cerr << "rezedev7: " << choice.error << '\n';
    return std::nullopt;
  }
  if (choice.createIfMissing) {
    if (const auto failure = app::makeFolder(choice.folder)) {
      std::cerr << "rezedev7: cannot create the program folder " << choice.folder.string() << ": "
                << *failure << '\n';
      return std::nullopt;
    }
  }
  return choice.folder;
}

// Held in the program folder while the program runs there.
constexpr const char* kLockFileName = "rezedev7.lock";

// The port the program talks through: the serial line, the simulated modem in this
// process, or a recorded session played back; always with the recorder around it, so a
// recording can start at any time. Declared before the Application, so it outlives it.
struct PortStack {
  std::unique_ptr<sim::SchedulerClock> clock;
  std::unique_ptr<sim::ModemEngine> modem;
  std::unique_ptr<platform::SerialPort> line;
  capture::ReplayPort* replay = nullptr;  // the line, when it is a replay
  std::unique_ptr<capture::RecordingPort> port;
};

// D7O_SIM_GPS=1: the simulated device streams its drive's NMEA sentences from power-on,
// with a fix at once, so the GPS analyzer can be shown without a receiver.
sim::ModemConfig simulatedModem() {
  sim::ModemConfig config;
  if (qEnvironmentVariableIntValue("D7O_SIM_GPS") == 1) {
    config.nmeaFromPowerOn = true;
    config.gpsAcquisition = platform::Millis(0);
  }
  // The field strength wanders, as while someone moves the antenna (the signal window).
  if (qEnvironmentVariableIntValue("D7O_SIM_RSSI_WANDER") == 1) config.rssiWander = true;
  return config;
}

PortStack makePort(const app::CommandLine& cl, platform::Scheduler& scheduler) {
  PortStack stack;
  if (cl.replay) {
    auto replay = std::make_unique<capture::ReplayPort>(scheduler, fs::absolute(*cl.replay));
    replay->setSpeed(cl.replaySpeed);
    stack.replay = replay.get();
    stack.line = std::move(replay);
  } else if (cl.simulate) {
    stack.clock = std::make_unique<sim::SchedulerClock>(scheduler);
    stack.modem = std::make_unique<sim::ModemEngine>(*stack.clock, simulatedModem());
    stack.line = std::make_unique<sim::SimulatedPort>(scheduler, *stack.modem);
  } else {
    stack.line = std::make_unique<ui::QtSerialPort>();
  }
  stack.port = std::make_unique<capture::RecordingPort>(*stack.line, scheduler);
  return stack;
}

// A replay chosen from the menu (or its end) is a new run of the program in the same
// folder, started once this one has let go of the folder.
void startAgain(const std::vector<std::string>& arguments, const fs::path& home) {
  QStringList list{QStringLiteral("--home"), QString::fromStdString(home.string())};
  for (const std::string& a : arguments) list << QString::fromStdString(a);
  if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), list)) {
    std::cerr << "rezedev7: cannot start " << QCoreApplication::applicationFilePath().toStdString()
              << " again\n";
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  // What needs no window is done before Qt looks for a display.
  {
    const app::CommandLine cl = parse(argc, argv);
    if (!cl.error.empty()) {
      std::cerr << "rezedev7: " << cl.error << "\n\n" << app::commandLineHelpText() << '\n';
      return kUsageError;
    }
    if (cl.help) {
      std::cout << app::commandLineHelpText() << '\n';
      return EXIT_SUCCESS;
    }
    if (cl.createIniFolder) return createIni(*cl.createIniFolder, cl.createIniPort);
  }

  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("REZEDEV7"));
  // Read again: QApplication has taken out its own options (-platform, ...).
  const app::CommandLine cl = parse(argc, argv);

  const std::optional<fs::path> folder = programFolder(cl);
  if (!folder) return EXIT_FAILURE;
  const fs::path& home = *folder;
  std::error_code ec;
  if (!fs::is_directory(home, ec)) {
    std::cerr << "rezedev7: the program folder " << home.string() << " does not exist\n";
    return kUsageError;
  }

  // One program per folder: a second one would start a fresh Log.txt over the running
  // one's. A lock left by a program that died is taken over.
  QLockFile lock(QString::fromStdString((home / kLockFileName).string()));
  lock.setStaleLockTime(0);
  if (!lock.tryLock(0)) {
    qint64 pid = 0;
    QString hostName;
    QString appName;
    lock.getLockInfo(&pid, &hostName, &appName);
    std::cerr << "rezedev7: the program folder " << home.string()
              << " is in use by another rezedev7 (process " << pid << " on "
              << hostName.toStdString() << "); nothing was changed there. End that one, or "
              << "start this one with --home and another folder.\n";
    return EXIT_FAILURE;
  }

  ui::QtScheduler scheduler;
  PortStack port = makePort(cl, scheduler);
  if (port.replay != nullptr && !port.replay->openError().empty()) {
    std::cerr << "rezedev7: --replay: " << port.replay->openError() << '\n';
    return EXIT_FAILURE;
  }
  ui::QtDialogs dialogs;
  ui::QtShell shell;
  ui::QtHost host(home);
  const app::Platform platform{*port.port, scheduler, dialogs, shell, host};

  app::Application application(platform, cl.classic);
  // Recording from the start, so the start-up's baud-rate search is in the file too.
  application.parts().capture.attach(port.port.get(), port.replay,
                                     cl.replay ? fs::absolute(*cl.replay) : fs::path());
  if (cl.record && !application.parts().capture.startRecording(fs::absolute(*cl.record))) {
    return EXIT_FAILURE;
  }
  // The program may end during start-up (the first run writes TARVIK.INI and stops).
  if (!application.load() || host.endRequested()) return host.exitCode();

  ui::MainWindowView window(application);
  // The side windows live for the whole run and show when the program opens them.
  ui::GpsFormView gpsWindow(application);
  ui::PduFormView pduWindow(application);
  ui::BinCodeFormView binCodeWindow(application);
  ui::RemoteFormView remoteWindow(application);
  ui::SignalFormView signalWindow(application);
  dialogs.setParentWindow(&window);
  window.show();
  const int exitCode = QApplication::exec();
  if (const auto& again = application.context().restartArguments) {
    lock.unlock();
    startAgain(*again, home);
  }
  return exitCode;
}
