// The "Capture" menu and bar as a technician uses them: a recording started and stopped
// from the menu, a file that cannot be written, a replay asked for (a new run), and the
// replay bar's position, pause and end.
#include "app/subsystems.h"
#include "capture/capture_file.h"
#include "capture/recording_port.h"
#include "capture/replay_port.h"
#include "console/capture_control.h"
#include "support/rig.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace d7o::test {
namespace {

using platform::Millis;

bool shows(Rig& rig, const std::string& part) {
  const auto rows = rig.terminal();
  return std::any_of(rows.begin(), rows.end(),
                     [&](const std::string& r) { return r.find(part) != std::string::npos; });
}

struct MenuRig {
  MenuRig() : recorder(rig.port, rig.scheduler) {
    rig.buildOn(recorder);
    rig.app->parts().capture.attach(&recorder, nullptr);
    rig.app->load();
  }
  ~MenuRig() { rig.app.reset(); }
  forms::MainWindow& w() { return rig.main(); }

  Rig rig;
  capture::RecordingPort recorder;
};

TEST(CaptureMenu, ARecordingFromTheMenuHoldsTheSessionAndIsShownWhileItRuns) {
  MenuRig m;
  auto& w = m.w();
  EXPECT_TRUE(w.m_capture.visible());
  EXPECT_FALSE(w.CaptureState.visible());
  EXPECT_FALSE(w.m_recordStop.enabled());
  EXPECT_FALSE(w.m_replayEnd.visible());

  m.rig.dialogs.answerInput("bench.d7ocap");
  w.m_recordStart.click();
  ASSERT_FALSE(m.rig.dialogs.shown.empty());
  // The suggestion carries the PC's date and time.
  EXPECT_EQ(m.rig.dialogs.shown.back().defaultText, "capture-2026-12-08-093000.d7ocap");
  EXPECT_TRUE(m.recorder.recording());
  EXPECT_TRUE(w.CaptureState.visible());
  EXPECT_EQ(w.CaptureState.caption(), "recording bench.d7ocap");
  EXPECT_FALSE(w.m_recordStart.enabled());
  EXPECT_TRUE(w.m_recordStop.enabled());

  ASSERT_TRUE(m.rig.bringUp());
  w.m_recordStop.click();
  EXPECT_FALSE(w.CaptureState.visible());
  EXPECT_TRUE(shows(m.rig, "...recording ended: "));

  std::ifstream in(m.rig.folder.path() / "bench.d7ocap", std::ios::binary);
  capture::Reader reader(in);
  ASSERT_TRUE(reader.isCapture());
  std::string received;
  std::string sent;
  while (auto r = reader.next()) {
    if (r->direction == capture::Direction::Received) received += r->bytes;
    if (r->direction == capture::Direction::Sent) sent += r->bytes;
  }
  EXPECT_EQ(reader.error(), "");
  EXPECT_NE(sent.find("AT+CPIN?\r"), std::string::npos);
  EXPECT_NE(received.find("+CSQ: 17,99\r\n"), std::string::npos);

  // The same name again: asked before the old one is replaced; "No" keeps it.
  m.rig.dialogs.answerInput("bench.d7ocap");
  m.rig.dialogs.answerMessage(platform::MessageAnswer::No);
  w.m_recordStart.click();
  EXPECT_FALSE(m.recorder.recording());
  EXPECT_NE(m.rig.dialogs.shown.back().text.find("exists. Replace it?"), std::string::npos);
}

TEST(CaptureMenu, AFileThatCannotBeWrittenOrReplayedIsNamedAndNothingStarts) {
  MenuRig m;
  auto& w = m.w();
  m.rig.dialogs.answerInput("no/such/folder/x.d7ocap");
  w.m_recordStart.click();
  EXPECT_FALSE(m.recorder.recording());
  EXPECT_NE(m.rig.dialogs.shown.back().text.find("Recording not started: cannot write "),
            std::string::npos);
  EXPECT_NE(m.rig.dialogs.shown.back().text.find("x.d7ocap"), std::string::npos);

  std::ofstream(m.rig.folder.path() / "broken.d7ocap", std::ios::binary)
      << "{\"d7o_capture\":1}\n{\"t\":1,\"rx\":\"\\u20ac\"}\n";
  m.rig.dialogs.answerInput("broken.d7ocap");
  w.m_replay.click();
  EXPECT_FALSE(m.rig.ended());
  EXPECT_NE(m.rig.dialogs.shown.back().text.find("broken.d7ocap, byte 18: \"rx\" is no byte text"),
            std::string::npos)
      << m.rig.dialogs.shown.back().text;

  // A good one: the program ends and names its next run, on the replay.
  m.rig.dialogs.answerInput("broken.d7ocap");
  std::ofstream(m.rig.folder.path() / "good.d7ocap", std::ios::binary)
      << "{\"d7o_capture\":1}\n{\"t\":1,\"rx\":\"OK\\r\\n\"}\n";
  m.rig.dialogs.answerInput("good.d7ocap");
  w.m_replay.click();
  w.m_replay.click();
  EXPECT_TRUE(m.rig.ended());
  ASSERT_TRUE(m.rig.app->context().restartArguments);
  EXPECT_EQ(*m.rig.app->context().restartArguments,
            (std::vector<std::string>{"--replay", (m.rig.folder.path() / "good.d7ocap").string()}));
}

TEST(CaptureMenu, TheReplayBarFollowsTheReplayAndTheEndIsSaidOnce) {
  TempFolder folder;
  const auto file = folder.path() / "short.d7ocap";
  std::ofstream(file, std::ios::binary)
      << R"({"d7o_capture":1,"open":true,"port":"COM1","program":"rezedev7 8.0.7","settings":"9600,n,8,1","start":"2026-12-09T10:00:00.000Z"})"
      << "\n{\"t\":1000,\"rx\":\"RING\\r\\n\"}\n{\"t\":61000,\"rx\":\"RING\\r\\n\"}\n";
  Rig rig;
  capture::ReplayPort replay(rig.scheduler, file);
  capture::RecordingPort recorder(replay, rig.scheduler);
  // The live session's log stays as it was.
  std::ofstream(rig.folder.path() / "Log.txt", std::ios::binary) << "+CSQ: 17,99  \r\n";
  rig.buildOn(recorder);
  rig.app->parts().capture.attach(&recorder, &replay, file);
  rig.app->load();
  auto& w = rig.main();
  w.Check1.setChecked(true);  // the log switched on
  EXPECT_TRUE(w.m_replayEnd.visible());
  EXPECT_EQ(w.CaptureState.caption(), "replay short.d7ocap");
  EXPECT_TRUE(shows(rig,
                    "...replay of short.d7ocap, recorded 2026-12-09T10:00:00.000Z on COM1 "
                    "by rezedev7 8.0.7: what the program sends goes nowhere"));
  rig.app->link().openPort();
  rig.run(Millis(2000));
  EXPECT_EQ(w.ReplayPosition.caption(), "0:02.0 / 1:01.0");
  w.ReplayPause.click();
  rig.run(Millis(5000));
  EXPECT_EQ(w.ReplayPosition.caption(), "0:02.0 / 1:01.0, paused");
  EXPECT_EQ(w.ReplayPause.caption(), "go on");
  w.ReplaySpeed.choose(5);  // max
  w.ReplayPause.click();
  rig.run(Millis(500));
  EXPECT_EQ(w.ReplayPosition.caption(), "1:01.0 / 1:01.0, at its end");
  EXPECT_FALSE(w.ReplayPause.enabled());
  EXPECT_FALSE(w.ReplayToEnd.enabled());
  const auto rows = rig.terminal();
  EXPECT_EQ(std::count(rows.begin(), rows.end(), "...replay of short.d7ocap finished at 1:01.0"),
            1);
  rig.run(Millis(5000));
  EXPECT_EQ(rig.terminal(), rows);

  EXPECT_EQ(readFile(rig.folder.path() / "Log.txt"), "+CSQ: 17,99  \r\n");
  EXPECT_NE(readFile(rig.folder.path() / "Log-replay.txt").find("RING"), std::string::npos);

  w.m_replayEnd.click();
  EXPECT_TRUE(rig.ended());
  EXPECT_EQ(rig.app->context().restartArguments, std::vector<std::string>{});
  rig.app.reset();
}

}  // namespace
}  // namespace d7o::test
