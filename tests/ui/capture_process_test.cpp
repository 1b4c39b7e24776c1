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

}  // namespace
}  // namespace d7o::ui
