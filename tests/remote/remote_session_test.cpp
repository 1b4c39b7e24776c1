// Remote sessions on the simulated modem and the distant device it reaches: each answer to
// the dial, the protocol choice before and during the call, the device's NMEA stream in
// the analyzer, the escape and hang-up, and the far end hanging up.
#include "app/subsystems.h"
#include "remote/call_history.h"
#include "remote/remote_access.h"
#include "support/rig.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace d7o::test {
namespace {

using platform::Millis;

struct Session {
  explicit Session(sim::ModemConfig config = {}) : rig(std::move(config)) {
    rig.startAnswered();
    std::ofstream(rig.folder.path() / remote::kTrackingIni, std::ios::binary)
        << "\"/opt/mg/MGstart.EXE\"\r\n";
    rig.app->parts().remote.open();
    r().Label62.Change.connect([this] { statuses.push_back(r().Label62.caption()); });
    rig.wire();
  }
  forms::RemoteForm& r() { return rig.app->context().remoteForm; }
  app::DispatchState& d() { return rig.state().dispatch; }
  void dial(const std::string& number) {
    r().Combo3.setText(number);
    r().Command13.click();
  }
  bool connect(const std::string& number = "0171") {
    dial(number);
    return rig.runUntil([&] { return rig.modem.carrierDetect(); }, Millis(10000)) &&
           rig.runUntil([&] { return d().dataLinkState == "DATA"; }, Millis(1000));
  }
  bool saw(const std::string& status) const {
    return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
  }
  Rig rig;
  std::vector<std::string> statuses;
};

TEST(RemoteSession, EachAnswerToTheDial) {
  struct Case {
    const char* name;
    sim::DataDialOutcome outcome;
    const char* status;
    Millis within;
  };
  const Case cases[] = {
      {"answers", sim::DataDialOutcome::Connect, "connection established", Millis(5000)},
      {"busy", sim::DataDialOutcome::Busy, "BUSY received", Millis(5000)},
      {"no dial tone", sim::DataDialOutcome::NoDialtone, "NO DIALTONE received", Millis(5000)},
      {"never answers", sim::DataDialOutcome::NoAnswer, "NO CARRIER received", Millis(40000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ModemConfig config;
    config.dataDialOutcomes["0171"] = c.outcome;
    Session s(config);
    s.dial("0171");
    EXPECT_EQ(s.rig.wire(), "ATD0171\r");
    ASSERT_TRUE(s.rig.runUntil([&] { return s.saw(c.status); }, c.within)) << s.statuses.size();
    s.rig.run(Millis(300));
    const bool up = c.outcome == sim::DataDialOutcome::Connect;
    EXPECT_EQ(s.rig.modem.carrierDetect(), up);
    EXPECT_EQ(s.d().dataLinkState, up ? "DATA" : "OFF");
    EXPECT_FALSE(s.d().remoteConnectPending);
    EXPECT_EQ(s.r().caption(), up ? forms::kRemoteControlOnTitle : forms::kRemoteTitle);
    EXPECT_EQ(s.r().Command13.enabled(), !up);
    if (up) {
      // The carrier's tick has the last word: "remote access", and a red light running.
      EXPECT_EQ(s.r().Label62.caption(), "remote access");
      const auto red = std::count_if(s.r().Led1.begin(), s.r().Led1.end(), [](const auto& l) {
        return l.backColor() == forms::colors::kRed;
      });
      EXPECT_EQ(red, 1);
    }
  }
}

TEST(RemoteSession, TheProtocolReachesTheDeviceOnlyOnceConnectedAndItsStreamFillsTheAnalyzer) {
  Session s;
  s.dial("0171");
  s.rig.wire();
  s.r().Combo2.choose(3);  // GPGSA while dialling
  EXPECT_EQ(s.rig.wire(), "");
  EXPECT_EQ(s.rig.state().gps.gpsSentenceShown, "GPGSA");
  ASSERT_TRUE(s.rig.runUntil([&] { return !s.d().remoteConnectPending; }, Millis(10000)));

  s.r().Combo2.choose(1);  // GPGGA, now to the device
  s.r().Command19.click();
  s.rig.run(Millis(4000));
  const auto& device = s.rig.modem.remoteDevice().state();
  EXPECT_EQ(device.gpsSentences, std::vector<std::string>{"GPGGA"});
  bool onlyGga = true;
  bool anyGga = false;
  for (const std::string& line : s.rig.terminal()) {
    if (line.find("$GP") == std::string::npos) continue;
    anyGga = anyGga || line.find("$GPGGA") != std::string::npos;
    onlyGga = onlyGga && line.find("$GPGGA") != std::string::npos;
  }
  EXPECT_TRUE(anyGga);
  EXPECT_TRUE(onlyGga);
  // The distant vehicle is near Sydney: south, east.
  const auto& g = s.rig.app->context().gpsForm;
  EXPECT_TRUE(g.Label61.caption().starts_with("33.8")) << g.Label61.caption();
  EXPECT_EQ(g.Label87.caption(), "S");
  s.rig.run(Millis(200));
  EXPECT_TRUE(s.r().m_tracking.visible());
  s.r().m_mapquestzoom.click();
  EXPECT_NE(s.rig.shell.opened.back().find("latitude=-33.8"), std::string::npos);
}

TEST(RemoteSession, StopEscapesWaitsHangsUpAndTheOkToTheEscapeIsLocalMode) {
  Session s;
  ASSERT_TRUE(s.connect());
  s.rig.run(Millis(1500));  // the guard time before the escape
  s.rig.wire();
  s.statuses.clear();
  const Millis before = s.rig.scheduler.now();
  s.r().Command14.click();
  EXPECT_GE(s.rig.scheduler.now() - before, Millis(2000));
  EXPECT_EQ(s.rig.wire(), "+++ATH\r");
  const auto& log = s.rig.main().List3.items();
  EXPECT_NE(std::find(log.begin(), log.end(), "send +++ATH to modem"), log.end());
  s.rig.run(Millis(1000));
  EXPECT_TRUE(s.saw("GPS  - local mode"));
  EXPECT_FALSE(s.rig.modem.carrierDetect());
  EXPECT_FALSE(s.d().remoteLocalModePending);
  EXPECT_EQ(s.d().dataLinkState, "OFF");
  EXPECT_TRUE(s.r().Command13.enabled());
  EXPECT_EQ(s.r().caption(), forms::kRemoteTitle);
  EXPECT_EQ(s.r().Label62.caption(), "remote connection released");
  for (const auto& lamp : s.r().Led1) {
    EXPECT_EQ(lamp.backColor(), forms::colors::kSystemInactiveBorder);
  }
}

// "stop remote access" ends in the local state whenever it is pressed: the dial is
// aborted, a call in command mode or online is hung up, and the far end never comes.
TEST(RemoteSession, StopEndsInTheLocalStateWheneverItIsPressed) {
  enum class When { Dialling, CommandMode, Online };
  struct Case {
    const char* name;
    When when;
  };
  const Case cases[] = {
      {"while dialling", When::Dialling},
      {"connected, in command mode", When::CommandMode},
      {"connected, online", When::Online},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    if (c.when == When::Dialling) {
      s.dial("0171");
      s.rig.run(Millis(500));
      ASSERT_EQ(s.rig.modem.dataCallState(), sim::DataCallState::Dialling);
    } else {
      ASSERT_TRUE(s.connect());
      s.rig.run(Millis(1500));
      if (c.when == When::CommandMode) {
        ASSERT_FALSE(s.rig.port.write("+++"));  // the escape, with its guard times
        s.rig.run(Millis(1500));
        ASSERT_TRUE(s.rig.modem.dataCallUp());
        ASSERT_FALSE(s.rig.modem.onlineDataMode());
      }
    }
    s.r().Command14.click();
    s.rig.run(Millis(40000));  // long enough for any far end to have answered
    EXPECT_EQ(s.rig.modem.dataCallState(), sim::DataCallState::Idle);
    EXPECT_FALSE(s.rig.modem.carrierDetect());
    EXPECT_EQ(s.d().dataLinkState, "OFF");
    EXPECT_FALSE(s.d().remoteConnectPending);
    EXPECT_EQ(s.r().caption(), forms::kRemoteTitle) << "not \"remote control ON\"";
    EXPECT_TRUE(s.r().Command13.enabled());
    EXPECT_FALSE(s.d().remoteLocalModePending);
    EXPECT_NE(s.r().Label62.caption(), "connection established");
  }
}

// After a session that streamed the distant device's position, the GPS analyzer opened
// from the main window shows that position: nothing streams any more to fill it again.
TEST(RemoteSession, TheAnalyzerOpenedAfterTheCallShowsTheLastPosition) {
  Session s;
  ASSERT_TRUE(s.connect());
  s.r().Combo2.choose(0);  // GPRMC
  s.r().Command19.click();
  s.rig.run(Millis(4000));
  const auto& g = s.rig.app->context().gpsForm;
  ASSERT_TRUE(g.Label61.caption().starts_with("33.8")) << g.Label61.caption();
  const std::string time = g.Label56.caption();
  s.rig.run(Millis(1500));
  s.r().Command14.click();
  s.rig.run(Millis(3000));
  s.r().m_exit.click();
  s.rig.run(Millis(3000));

  auto& w = s.rig.main();
  ASSERT_TRUE(w.m_gps.visible());
  w.m_gps.click();
  s.rig.run(Millis(500));
  EXPECT_TRUE(g.Label61.caption().starts_with("33.8")) << "latitude: " << g.Label61.caption();
  EXPECT_EQ(g.Label87.caption(), "S");
  EXPECT_FALSE(g.Label56.caption().empty()) << "UTC";
}

TEST(RemoteSession, ExitIsRefusedWhileTheCarrierStandsAndTheFarEndMayHangUp) {
  Session s;
  ASSERT_TRUE(s.connect());
  s.r().m_exit.click();
  EXPECT_TRUE(s.r().visible());
  EXPECT_EQ(s.rig.dialogs.shown.back().text, "data connection active, please stop remote access");
  ASSERT_TRUE(s.rig.modem.remoteHangUp());
  ASSERT_TRUE(s.rig.runUntil([&] { return s.saw("NO CARRIER received"); }, Millis(3000)));
  s.rig.run(Millis(300));
  EXPECT_EQ(s.d().dataLinkState, "OFF");
  EXPECT_TRUE(s.r().Command13.enabled());
  s.r().m_exit.click();
  EXPECT_FALSE(s.r().visible());
  EXPECT_EQ(s.rig.main().Tab1.tab(), forms::tabs::kTerminal);
}

}  // namespace
}  // namespace d7o::test
