// Capture in the running program: a recording killed mid-stream leaves a file that
// replays to the point of the kill, and the window shows the capture menu and bar.

#include "app/subsystems.h"
#include "capture/capture_file.h"
#include "capture/recording_port.h"
#include "capture/replay_port.h"
#include "support/rig.h"
#include "support/scripted_platform.h"
#include "support/virtual_scheduler.h"
#include "ui/main_window_view.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QToolBar>

namespace d7o::ui {
namespace {

namespace fs = std::filesystem;
using platform::Millis;

constexpr int kWaitMs = 30000;

std::uintmax_t sizeOf(const fs::path& file) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  return ec ? 0 : size;
}

TEST(CaptureProcess, ARecordingKilledMidStreamReplaysToThePointOfTheKill) {
  test::TempFolder home;
  QProcess create;
  create.start(QStringLiteral(D7O_REZEDEV7_PATH),
               {QStringLiteral("--create-ini"), QString::fromStdString(home.path().string()),
                QStringLiteral("1")});
  ASSERT_TRUE(create.waitForFinished(kWaitMs));

  const fs::path file = home.path() / "killed.d7ocap";
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  // The simulated device streams NMEA from power-on.
  env.insert(QStringLiteral("D7O_SIM_GPS"), QStringLiteral("1"));
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(D7O_REZEDEV7_PATH),
                {QStringLiteral("--simulate"), QStringLiteral("--home"),
                 QString::fromStdString(home.path().string()), QStringLiteral("--record"),
                 QString::fromStdString(file.string())});
  ASSERT_TRUE(program.waitForStarted(kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return sizeOf(file) > 4000; }, kWaitMs))
      << program.readAllStandardError().toStdString();
  program.kill();  // SIGKILL: nothing of the program's own ending runs
  ASSERT_TRUE(program.waitForFinished(kWaitMs));
  EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);

  // Every whole line reads; the received side holds the stream.
  std::string received;
  {
    std::ifstream in(file, std::ios::binary);
    capture::Reader reader(in);
    ASSERT_TRUE(reader.isCapture());
    while (auto r = reader.next()) {
      if (r->direction == capture::Direction::Received) received += r->bytes;
    }
    EXPECT_EQ(reader.error(), "");
  }
  EXPECT_NE(received.find("$GPRMC"), std::string::npos);

  // Played back at full speed, the port gives exactly that.
  test::VirtualScheduler scheduler;
  capture::ReplayPort replay(scheduler, file);
  replay.setSpeed(capture::ReplayPort::kMaxSpeed);
  std::string replayed;
  replay.setReceiveHandler([&] { replayed += replay.readAll(); });
  ASSERT_FALSE(replay.open());
  ASSERT_TRUE(scheduler.runUntil([&] { return replay.finished(); }, Millis(60000)));
  EXPECT_EQ(replayed, received);
}

TEST(CaptureProcess, TheMenuAndTheBarOfAReplay) {
  test::TempFolder folder;
  const fs::path file = folder.path() / "bar.d7ocap";
  std::ofstream(file, std::ios::binary) << "{\"d7o_capture\":1,\"open\":true}\n"
                                        << "{\"t\":100,\"rx\":\"RING\\r\\n\"}\n";
  test::Rig rig;
  capture::ReplayPort replay(rig.scheduler, file);
  capture::RecordingPort recorder(replay, rig.scheduler);
  rig.buildOn(recorder);
  rig.app->load();
  {
    MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("CaptureBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isVisibleTo(&window)) << "no capture, no bar";
    rig.app->parts().capture.attach(&recorder, &replay, file);
    EXPECT_TRUE(bar->isVisibleTo(&window));
    auto* menu = window.findChild<QMenu*>(QStringLiteral("CaptureMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList shown;
    for (QAction* a : menu->actions()) {
      if (a->isVisible()) shown << a->text();
    }
    EXPECT_EQ(shown,
              (QStringList{"start recording...", "stop recording", "replay...", "end replay"}));
    EXPECT_EQ(menu->menuAction()->text(), QStringLiteral("&Capture"));
  }
  rig.app.reset();
}

// From the keyboard alone: Alt+C opens the menu and Return starts a recording; a command
// typed on the command line is on the wire and in the file byte for byte; a screen
// reader's press on "stop recording" ends it.
TEST(CaptureProcess, KeyboardAndScreenReaderRecordWhatGoesOnTheWire) {
  test::Rig rig;
  capture::RecordingPort recorder(rig.port, rig.scheduler);
  rig.buildOn(recorder);
  rig.app->parts().capture.attach(&recorder, nullptr);
  rig.app->load();
  rig.port.setSettings("9600,n,8,1");
  rig.app->link().openPort();
  rig.state().link.baudRateKnown = true;
  rig.state().link.modemAnswered = true;
  std::string wire;
  // The window goes before the program it shows.
  [&] {
    MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    rig.wire();

    rig.dialogs.answerInput("keys.d7ocap");
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    auto* menu = window.findChild<QMenu*>(QStringLiteral("CaptureMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.recording(); }, 2000));

    auto* line = window.findChild<QLineEdit*>(QStringLiteral("CommandLine"));
    ASSERT_NE(line, nullptr);
    line->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(line, "AT+CSQ");
    QTest::keyClick(line, Qt::Key_Return);
    rig.run(Millis(500));
    wire = rig.wire();
    EXPECT_EQ(wire, "AT+CSQ\r");

    QAction* stop = nullptr;
    for (QAction* a : menu->actions()) {
      if (a->text() == QStringLiteral("stop recording")) stop = a;
    }
    ASSERT_NE(stop, nullptr);
    QAccessibleInterface* item = nullptr;
    QAccessibleInterface* menuAccess = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; i < menuAccess->childCount(); ++i) {
      if (menuAccess->child(i)->text(QAccessible::Name) == QStringLiteral("stop recording")) {
        item = menuAccess->child(i);
      }
    }
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->actionInterface(), nullptr);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.recording(); }, 2000));
  }();
  std::ifstream in(rig.folder.path() / "keys.d7ocap", std::ios::binary);
  capture::Reader reader(in);
  std::string sent;
  std::string received;
  while (auto r = reader.next()) {
    if (r->direction == capture::Direction::Sent) sent += r->bytes;
    if (r->direction == capture::Direction::Received) received += r->bytes;
  }
  EXPECT_EQ(sent, wire);
  EXPECT_NE(received.find("+CSQ: 17,99"), std::string::npos);
  rig.app.reset();
}

}  // namespace
}  // namespace d7o::ui
