// A session recorded on the simulated modem and played back through the whole program:
// the windows show what they showed live, line events come back at their times, and a
// replay port never sends anything.
#include "app/subsystems.h"
#include "capture/capture_file.h"
#include "capture/recording_port.h"
#include "capture/replay_port.h"
#include "remote/call_history.h"
#include "remote/remote_access.h"
#include "support/rig.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace d7o::test {
namespace {

using platform::Millis;

// The program on another port than the rig's own (a recorder around it, or a replay).
struct PortRig {
  explicit PortRig(std::function<std::unique_ptr<platform::SerialPort>(Rig&)> makePort,
                   sim::ModemConfig config = {})
      : rig(std::move(config)) {
    port = makePort(rig);
    std::ofstream(rig.folder.path() / remote::kTrackingIni, std::ios::binary)
        << "\"/opt/mg/MGstart.EXE\"\r\n";
    rig.buildOn(*port);
    rig.app->load();
  }
  ~PortRig() { rig.app.reset(); }

  Rig rig;
  std::unique_ptr<platform::SerialPort> port;
};

// What a technician reads off the windows.
struct Screen {
  std::vector<std::string> terminal;
  std::map<std::string, std::string> analyzer;
  std::string title;
  std::string remoteStatus;

  static Screen of(Rig& rig) {
    Screen s;
    s.terminal = rig.terminal();
    for (const forms::Control* c : rig.app->context().gpsForm.controls()) {
      if (const auto* label = dynamic_cast<const forms::Label*>(c)) {
        s.analyzer[label->name()] = label->caption();
      }
    }
    s.title = rig.main().caption();
    s.remoteStatus = rig.app->context().remoteForm.Label62.caption();
    return s;
  }
};

// Bring-up, an SMS sent and the store listed, and a remote GPS session, as a technician
// clicks them.
void session(Rig& rig) {
  ASSERT_TRUE(rig.bringUp());
  auto& w = rig.main();
  w.Text5.setText("0123456789");
  w.Command16.click();
  rig.run(Millis(6000));
  w.Command17.click();
  rig.run(Millis(2000));

  auto& r = rig.app->context().remoteForm;
  rig.app->parts().remote.open();
  r.Combo3.setText("0171");
  r.Command13.click();
  rig.run(Millis(8000));
  r.Combo2.choose(1);  // GPGGA
  r.Command19.click();
  rig.run(Millis(5000));
  r.Combo2.choose(2);  // GPRMC
  r.Command19.click();
  rig.run(Millis(5000));
}

// Records the session into `file`; what the windows showed at its end.
Screen recordSession(const std::filesystem::path& file) {
  Screen live;
  {
    capture::RecordingPort* recorder = nullptr;
    PortRig live_rig([&](Rig& rig) {
      auto port = std::make_unique<capture::RecordingPort>(rig.port, rig.scheduler);
      EXPECT_FALSE(port->start(file, "rezedev7 test"));
      recorder = port.get();
      return port;
    });
    session(live_rig.rig);
    live = Screen::of(live_rig.rig);
    recorder->stop();
  }
  return live;
}

TEST(CaptureRoundTrip, AReplayedSessionShowsWhatTheLiveOneShowed) {
  TempFolder folder;
  const auto file = folder.path() / "session.d7ocap";
  const Screen live = recordSession(file);
  ASSERT_GT(live.terminal.size(), 20u);
  EXPECT_EQ(live.analyzer.at("Label87"), "S");

  capture::ReplayPort* replay = nullptr;
  PortRig again([&](Rig& rig) {
    auto port = std::make_unique<capture::ReplayPort>(rig.scheduler, file);
    EXPECT_EQ(port->openError(), "");
    replay = port.get();
    return port;
  });
  session(again.rig);
  const Screen replayed = Screen::of(again.rig);
  EXPECT_EQ(replayed.terminal, live.terminal);
  EXPECT_EQ(replayed.analyzer, live.analyzer);
  EXPECT_EQ(replayed.title, live.title);
  EXPECT_EQ(replayed.remoteStatus, live.remoteStatus);
  EXPECT_GT(replay->bytesDropped(), 0u);
  // The simulated modem beside the replay heard nothing.
  EXPECT_EQ(again.rig.port.written(), "");
}

TEST(CaptureRoundTrip, UntouchedAtFullSpeedTheReplayShowsEveryLineTheDeviceSent) {
  TempFolder folder;
  const auto file = folder.path() / "session.d7ocap";
  Screen live = recordSession(file);

  capture::ReplayPort* replay = nullptr;
  PortRig again([&](Rig& rig) {
    auto port = std::make_unique<capture::ReplayPort>(rig.scheduler, file);
    port->setSpeed(capture::ReplayPort::kMaxSpeed);
    replay = port.get();
    return port;
  });
  again.rig.app->activate();
  ASSERT_TRUE(again.rig.runUntil([&] { return replay->finished(); }, Millis(60000)));
  again.rig.run(Millis(100));
  // The program's own line about the dial it made is the one the untouched replay lacks.
  // Faster than the program's own timers, the start-up keeps the first answers the live
  // initialisation had cleared; from there on the rows are the same.
  std::erase(live.terminal, "send ATD0171");
  const std::vector<std::string> replayed = again.rig.terminal();
  ASSERT_GE(replayed.size(), live.terminal.size());
  EXPECT_EQ(std::vector<std::string>(
                replayed.end() - static_cast<std::ptrdiff_t>(live.terminal.size()), replayed.end()),
            live.terminal);
  EXPECT_EQ(replay->position(), replay->length());
}

}  // namespace
}  // namespace d7o::test
