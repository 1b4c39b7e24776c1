#include "app/path_text.h"
#include "app/subsystems.h"
#include "support/rig.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace d7o::test {
namespace {

using platform::Millis;
using namespace std::chrono_literals;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The wire with every "AT+CSQ\r" taken out: what else the program sent.
std::string withoutCsq(std::string wire) {
  for (auto at = wire.find("AT+CSQ\r"); at != std::string::npos; at = wire.find("AT+CSQ\r")) {
    wire.erase(at, 7);
  }
  return wire;
}

struct MonitorRig : Rig {
  explicit MonitorRig(sim::ModemConfig config = {}) : Rig(std::move(config)) {}

  link::SignalMonitor& monitor() { return app->parts().signalMonitor; }
  forms::SignalForm& window() { return app->context().signalForm; }

  // The module up, the window open and the monitor on; the wire emptied.
  void monitorOn() {
    ASSERT_TRUE(bringUp());
    run(5s);  // the initialisation's last requests and their answers
    main().m_signal.click();
    wire();
    window().CheckMonitor.setChecked(true);
  }
};

TEST(SignalTrend, ReceivesEveryFieldStrengthAndRegistrationOfTheInitialisation) {
  MonitorRig rig;
  ASSERT_TRUE(rig.bringUp());
  const std::string wire = rig.wire();
  const auto& trend = rig.monitor().trend();
  std::size_t qualities = 0, registrations = 0;
  for (const auto& r : trend.readings()) (r.isQuality() ? qualities : registrations)++;
  EXPECT_EQ(qualities, occurrences(wire, "AT+CSQ\r"));
  EXPECT_EQ(registrations, occurrences(wire, "AT+CREG?\r"));
  EXPECT_GE(qualities, 1u);
  EXPECT_GE(registrations, 1u);
  ASSERT_TRUE(trend.lastQuality());
  EXPECT_EQ(trend.lastQuality()->rssi, 17);
  EXPECT_EQ(trend.lastRegistration(), 1);
  // The window shows the same as the gauge: -79 dBm for RSSI 17.
  rig.main().m_signal.click();
  EXPECT_TRUE(rig.window().visible());
  EXPECT_EQ(rig.window().SignalNow.caption(), "-79 dBm");
  EXPECT_EQ(rig.main().Label25.caption(), "-79 dbm");
  EXPECT_EQ(rig.window().SignalDetail.caption(), "RSSI 17, BER unknown, registered (home)");
}

// An hour of monitoring sends nothing but "AT+CSQ" and leaves the message mode as it was:
// its answer fires no row that sends (a "+CREG" report would switch PDU mode back).
class MonitorForAnHour : public ::testing::TestWithParam<bool> {};

TEST_P(MonitorForAnHour, ChangesNoModeAndSendsNothingElse) {
  const bool pdu = GetParam();
  MonitorRig rig;
  ASSERT_TRUE(rig.bringUp());
  rig.run(5s);
  if (pdu) {
    rig.main().Command4.click();  // "switch to PDU-Mode"
    rig.send("AT+CMGF=0");        // as the next "Send SMS" does
    rig.run(3s);
    ASSERT_TRUE(rig.state().sms.pduModeActive);
    ASSERT_FALSE(rig.modem.smsSettings().textMode);
  }
  rig.main().Tab1.setTab(forms::tabs::kTerminal);
  rig.main().m_signal.click();
  rig.wire();
  const std::size_t before = rig.monitor().trend().readings().size();
  rig.window().CheckMonitor.setChecked(true);
  rig.run(3600s);
  const std::string wire = rig.wire();
  rig.run(1s);  // the answer to the last request
  EXPECT_EQ(withoutCsq(wire), "");
  const std::size_t polls = occurrences(wire, "AT+CSQ\r");
  EXPECT_GE(polls, 715u);  // one every 5 s
  EXPECT_LE(polls, 721u);
  EXPECT_EQ(rig.monitor().trend().readings().size() - before, polls);
  EXPECT_EQ(rig.state().sms.pduModeActive, pdu);
  EXPECT_EQ(rig.modem.smsSettings().textMode, !pdu);
  EXPECT_TRUE(rig.window().CheckMonitor.checked());
  EXPECT_EQ(rig.window().MonitorState.caption(), "asks AT+CSQ every 5 s");
  EXPECT_EQ(rig.window().SpanSummary.caption(),
            "min -79 dBm, mean -79.0 dBm, max -79 dBm over " + std::to_string(polls) + " readings");
}

INSTANTIATE_TEST_SUITE_P(TextAndPduMode, MonitorForAnHour, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Pdu" : "Text"; });

TEST(SignalMonitor, StaysSilentWhileAUsersCommandWaitsForItsAnswer) {
  sim::ModemConfig config;
  config.ringOutDelay = Millis(20000);  // a voice dial answers after 20 s
  MonitorRig rig(config);
  rig.monitorOn();
  rig.run(6s);
  ASSERT_GE(occurrences(rig.wire(), "AT+CSQ\r"), 1u);

  // The user dials from the terminal's command line; its "OK" comes 20 s later.
  rig.main().CommandLine.setText("ATD0123456789;");
  rig.main().CommandLine.KeyUp.emit(forms::TextBox::kEnterKey);
  rig.run(19s);
  EXPECT_EQ(rig.wire(), "ATD0123456789;\r");
  EXPECT_EQ(rig.window().MonitorState.caption(),
            "asks AT+CSQ every 5 s, waits for the answer to the last command");
  // The answer came: the monitor asks again.
  rig.run(2s);
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");

  // A command answered at once is still left 2 s alone: the user may follow it up. The
  // next request, due 5 s after the last, waits until 2 s after the user's "AT".
  while (rig.wire().find("AT+CSQ") == std::string::npos) rig.run(100ms);
  rig.run(4000ms);
  ASSERT_EQ(rig.wire(), "");
  rig.send("AT");
  EXPECT_EQ(rig.wire(), "AT\r");
  rig.run(1000ms);
  EXPECT_EQ(rig.wire(), "");
  EXPECT_EQ(rig.window().MonitorState.caption(), "asks AT+CSQ every 5 s, waits for a quiet moment");
  rig.run(1500ms);
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");
}

TEST(SignalMonitor, WaitsWhileTheProgramWaitsOrAnotherTabIsInFront) {
  MonitorRig rig;
  rig.monitorOn();
  rig.run(1s);
  rig.wire();
  struct Case {
    const char* what;
    std::function<void(Rig&)> set;
    std::function<void(Rig&)> clear;
    const char* waitsFor;
  };
  const Case cases[] = {
      {"the SMS tab", [](Rig& r) { r.main().Tab1.setTab(forms::tabs::kSms); },
       [](Rig& r) { r.main().Tab1.setTab(forms::tabs::kTerminal); }, "the terminal tab"},
      {"a pending interval request",
       [](Rig& r) { r.state().dispatch.intervalRequestPending = true; },
       [](Rig& r) { r.state().dispatch.intervalRequestPending = false; },
       "an answer the program expects"},
      {"the SMS text awaiting its prompt",
       [](Rig& r) { r.state().sms.pendingPromptText = "hello"; },
       [](Rig& r) { r.state().sms.pendingPromptText.clear(); }, "an answer the program expects"},
      {"a data call", [](Rig& r) { r.state().dispatch.dataLinkState = "DATA"; },
       [](Rig& r) { r.state().dispatch.dataLinkState = "OFF"; }, "the end of the data call"},
      {"the initialisation", [](Rig& r) { r.state().link.initAwaitingOk = true; },
       [](Rig& r) { r.state().link.initAwaitingOk = false; }, "the initialisation"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.set(rig);
    rig.run(30s);
    EXPECT_EQ(rig.wire(), "");
    EXPECT_EQ(rig.window().MonitorState.caption(),
              std::string("asks AT+CSQ every 5 s, waits for ") + c.waitsFor);
    c.clear(rig);
    rig.run(1s);
    EXPECT_EQ(rig.wire(), "AT+CSQ\r");
    rig.run(2s);
  }
}

TEST(SignalMonitor, StopsWhenThePortClosesAndSaysSo) {
  MonitorRig rig;
  rig.monitorOn();
  rig.run(6s);
  rig.app->link().closePort();
  rig.wire();
  rig.run(30s);
  EXPECT_EQ(rig.wire(), "");
  EXPECT_FALSE(rig.window().CheckMonitor.checked());
  EXPECT_EQ(rig.window().MonitorState.caption(), "stopped: the port closed");
  EXPECT_EQ(rig.terminal().back(), "...signal monitor stopped: the port closed");
  // Opening the port again does not start it by itself.
  ASSERT_FALSE(rig.app->link().openPort());
  rig.run(30s);
  EXPECT_EQ(rig.wire(), "");
}

TEST(SignalMonitor, AnErrorToItsRequestStopsIt) {
  MonitorRig rig;
  rig.monitorOn();
  ASSERT_EQ(rig.wire(), "AT+CSQ\r");
  rig.fromModem("+CME ERROR: 30\r\n");
  rig.run(30s);
  EXPECT_FALSE(rig.window().CheckMonitor.checked());
  EXPECT_EQ(rig.window().MonitorState.caption(),
            "stopped: the modem answered AT+CSQ with \"+CME ERROR: 30\"");
  EXPECT_EQ(rig.wire(), "");
}

TEST(SignalMonitor, TheIntervalIsTheSlidersAndTheSpanTheCombos) {
  MonitorRig rig;
  rig.monitorOn();
  rig.window().SliderInterval.setValue(60);
  EXPECT_EQ(rig.window().IntervalValue.caption(), "60 s");
  rig.run(1s);
  rig.wire();
  rig.run(600s);
  EXPECT_EQ(occurrences(rig.wire(), "AT+CSQ\r"), 10u);
  rig.window().SliderInterval.setValue(1);  // held at the slider's lowest, 2 s
  EXPECT_EQ(rig.window().IntervalValue.caption(), "2 s");

  // The plot shows the span chosen, up to now.
  rig.window().SignalSpan.setListIndex(0);  // "10 minutes"
  const auto& picture = rig.window().SignalPlot.picture();
  EXPECT_EQ(picture.toUtc - picture.fromUtc, 600'000);
  EXPECT_EQ(picture.dbm.size(), 10u);
  EXPECT_EQ(picture.registration.size(), 1u);
  EXPECT_EQ(picture.registration.front().state, 1);
}

TEST(SignalMonitor, ExportsEveryReadingAsCsv) {
  MonitorRig rig;
  ASSERT_TRUE(rig.bringUp());
  rig.main().m_signal.click();
  rig.dialogs.answerInput("trend.csv");
  rig.window().CommandExport.click();
  std::ifstream file(rig.folder.path() / "trend.csv");
  ASSERT_TRUE(file);
  std::stringstream text;
  text << file.rdbuf();
  const std::string csv = text.str();
  EXPECT_EQ(csv.substr(0, 31), "time,rssi,dbm,ber,registration\n");
  EXPECT_NE(csv.find(",17,-79,,\n"), std::string::npos);
  EXPECT_NE(csv.find(",,,,1\n"), std::string::npos);
  EXPECT_EQ(occurrences(csv, "\n"), rig.monitor().trend().readings().size() + 1);
  EXPECT_EQ(rig.dialogs.shown.back().text, std::to_string(rig.monitor().trend().readings().size()) +
                                               " readings written to " +
                                               app::pathText(rig.folder.path() / "trend.csv"));
}

}  // namespace
}  // namespace d7o::test
