// The terminal end to end over the real serial path: a prepared command double-clicked
// in the window goes out through QSerialPort to d7o-sim on a pseudo-terminal, and the
// modem's echo and answer come back into the terminal list.

#include "app/application.h"
#include "app/tarvik_ini.h"
#include "support/scripted_platform.h"
#include "ui/main_window_view.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_host.h"
#include "ui/qt_scheduler.h"
#include "ui/qt_serial_port.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/prctl.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace d7o::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kSimulatorStartMs = 5000;
constexpr int kSimulatorStopMs = 3000;
constexpr int kReplyWaitMs = 3000;
constexpr char kPortVariable[] = "REZEDEV7_COM1";

// d7o-sim in a process of its own, stopped when this goes.
class SimulatorProcess {
 public:
  SimulatorProcess() {
    m_process.setProgram(QStringLiteral(D7O_SIM_PATH));
    // Should the test process die, the simulator goes with it instead of holding the test
    // runner's output open for ever.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  }
  ~SimulatorProcess() { stop(); }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Starts it and returns the device it serves, its first line; empty when it did not come.
  QString start() {
    m_process.start();
    const QDeadlineTimer deadline(kSimulatorStartMs);
    if (!m_process.waitForStarted(kSimulatorStartMs)) return {};
    while (!m_process.canReadLine() && !deadline.hasExpired()) {
      if (!m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
    }
    if (!m_process.canReadLine()) return {};
    return QString::fromLocal8Bit(m_process.readLine()).trimmed();
  }

  void stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(kSimulatorStopMs)) {
      m_process.kill();
      m_process.waitForFinished(kSimulatorStopMs);
    }
  }

  // What it said about itself, for a failure message.
  std::string messages() { return m_process.readAllStandardError().toStdString(); }

  // Whether it ended by itself on the stop request, as a well-behaved simulator does.
  bool stoppedCleanly() const {
    return m_process.state() == QProcess::NotRunning &&
           m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
  }

 private:
  QProcess m_process;
};

QString textOf(const QListWidget& list) {
  QStringList lines;
  for (int i = 0; i < list.count(); ++i) lines << list.item(i)->text();
  return lines.join(QLatin1Char('\n'));
}

std::string boxesShown(const test::ScriptedDialogs& dialogs) {
  std::string texts;
  for (const auto& box : dialogs.shown) texts += "box: " + box.text + '\n';
  return texts;
}

// A line starting with `command`, and after it a line with "OK".
bool answered(const QListWidget& terminal, const QString& command) {
  int i = 0;
  while (i < terminal.count() && !terminal.item(i)->text().startsWith(command)) ++i;
  for (++i; i < terminal.count(); ++i) {
    if (terminal.item(i)->text().contains(QStringLiteral("OK"))) return true;
  }
  return false;
}

class TerminalEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsSet(kPortVariable)) m_savedPort = qgetenv(kPortVariable);
    ASSERT_TRUE(m_folder.isValid());
    const QString device = m_simulator.start();
    ASSERT_FALSE(device.isEmpty()) << "d7o-sim (" << D7O_SIM_PATH << ") named no device\n"
                                   << m_simulator.messages();
    // COM1 of the program is the simulator's end of the pseudo-terminal.
    qputenv(kPortVariable, QFile::encodeName(device));
    const auto failure = app::writeDefaultIni(home(), app::portFromAnswer("1"));
    ASSERT_FALSE(failure.has_value()) << *failure;
  }

  // After the test's program is gone, so the port is closed before its device goes.
  void TearDown() override {
    m_simulator.stop();
    EXPECT_TRUE(m_simulator.stoppedCleanly());
    if (m_savedPort) {
      qputenv(kPortVariable, *m_savedPort);
    } else {
      qunsetenv(kPortVariable);
    }
  }

  fs::path home() const { return fs::path(QFile::encodeName(m_folder.path()).toStdString()); }

  QTemporaryDir m_folder;
  SimulatorProcess m_simulator;
  std::optional<QByteArray> m_savedPort;
};

TEST_F(TerminalEndToEndTest, ADoubleClickedPreparedCommandReachesTheModemAndItsAnswerShows) {
  // Declared in the order the program builds them: each outlives what uses it, and the
  // window goes before the model it shows.
  QtScheduler scheduler;
  QtSerialPort port;
  test::ScriptedDialogs dialogs;  // records every box; none is expected
  test::RecordingShell shell;
  QtHost host(home());
  app::Application application({port, scheduler, dialogs, shell, host}, "");
  ASSERT_TRUE(application.load());

  // Not activated: the baud-rate search would hold the event loop for seconds. The port
  // is opened as the user can, by a right-click on the CTS lamp.
  MainWindowView window(application, MainWindowView::Activation::ByCaller);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  if (!application.context().port.isOpen()) {
    auto* cts = window.findChild<QWidget*>(QStringLiteral("CTS"));
    ASSERT_NE(cts, nullptr);
    QTest::mouseRelease(cts, Qt::RightButton, {}, cts->rect().center());
  }
  ASSERT_TRUE(application.context().port.isOpen()) << boxesShown(dialogs);

  auto* commands = window.findChild<QListWidget*>(QStringLiteral("List1"));
  auto* terminal = window.findChild<QListWidget*>(QStringLiteral("List3"));
  ASSERT_NE(commands, nullptr);
  ASSERT_NE(terminal, nullptr);
  ASSERT_GT(commands->count(), 0);
  ASSERT_EQ(commands->item(0)->text(), QStringLiteral("ATZ"));

  // The first click of a double-click selects the row, the second sends it.
  const QPoint onAtz = commands->visualItemRect(commands->item(0)).center();
  QTest::mouseClick(commands->viewport(), Qt::LeftButton, {}, onAtz);
  ASSERT_EQ(application.main().List1.listIndex(), 0);
  QTest::mouseDClick(commands->viewport(), Qt::LeftButton, {}, onAtz);

  EXPECT_TRUE(
      QTest::qWaitFor([&] { return answered(*terminal, QStringLiteral("ATZ")); }, kReplyWaitMs))
      << "terminal:\n"
      << textOf(*terminal).toStdString() << "\nd7o-sim:\n"
      << m_simulator.messages();
  EXPECT_EQ(terminal->count(), application.main().List3.count());
  EXPECT_TRUE(dialogs.shown.empty()) << boxesShown(dialogs);
}

// An adapter pulled out on an unattended bench: its notice is on the screen, nobody
// presses OK, and when the device is back at its place the port opens again within 2 s.
// The place is a link the environment names, as /dev/serial/by-id/... is for a USB adapter.
TEST_F(TerminalEndToEndTest, APulledDeviceComesBackWhileItsNoticeIsOpen) {
  const fs::path link = home() / "ttyD7O";
  const auto pointAt = [&link](const QString& device) {
    std::error_code ignored;
    fs::remove(link, ignored);
    fs::create_symlink(QFile::encodeName(device).toStdString(), link);
  };
  pointAt(QFile::decodeName(qgetenv(kPortVariable)));
  qputenv(kPortVariable, QFile::encodeName(QString::fromStdString(link.string())));

  QtScheduler scheduler;
  QtSerialPort port;
  QtDialogs dialogs;  // the real boxes: a notice that blocked would hold everything
  test::RecordingShell shell;
  QtHost host(home());
  app::Application application({port, scheduler, dialogs, shell, host}, "");
  ASSERT_TRUE(application.load());
  MainWindowView window(application, MainWindowView::Activation::ByCaller);
  dialogs.setParentWindow(&window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* cts = window.findChild<QWidget*>(QStringLiteral("CTS"));
  ASSERT_NE(cts, nullptr);
  QTest::mouseRelease(cts, Qt::RightButton, {}, cts->rect().center());
  ASSERT_TRUE(port.isOpen());

  // Pulled out: the device and its node go.
  m_simulator.stop();
  const auto noticeShown = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) return true;
    }
    return false;
  };
  ASSERT_TRUE(QTest::qWaitFor(noticeShown, kReplyWaitMs)) << "the notice of the gone device";
  EXPECT_FALSE(port.isOpen());

  // Back at its place, the notice still open.
  SimulatorProcess again;
  const QString device = again.start();
  ASSERT_FALSE(device.isEmpty()) << again.messages();
  pointAt(device);
  EXPECT_TRUE(QTest::qWaitFor([&] { return port.isOpen(); }, 2000))
      << "reopened within 2 s with nobody pressing OK";
  EXPECT_TRUE(noticeShown()) << "nobody pressed OK";
  const auto& lines = application.main().List3.items();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "...the serial device of COM1: is back: port open again");
  port.close();
  again.stop();
}

}  // namespace
}  // namespace d7o::ui
