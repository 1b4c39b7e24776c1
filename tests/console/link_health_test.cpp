// The link's health at a glance: numbered error reports explained in the status field and
// on their terminal rows, and what the port receives shown beside the CTS lamp.
#include "console/link_health.h"

#include "support/rig.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::test {
namespace {

using platform::Millis;

constexpr std::string_view kPortOpen = "Port open";
constexpr std::string_view kPortClosed = "Port closed or modem not connected";
constexpr std::string_view kExplained = "+CME ERROR: 3: operation not allowed";

int rowHolding(forms::ListBox& list, std::string_view text) {
  for (int i = list.count() - 1; i >= 0; --i) {
    if (list.item(i).find(text) != std::string::npos) return i;
  }
  return -1;
}

TEST(LinkHealth, AnErrorReplyIsExplainedInTheStatusFieldAndOnItsRowOnly) {
  Rig rig;
  rig.startAnswered();
  rig.run(Millis(200));
  auto& w = rig.main();
  ASSERT_EQ(w.Text3.text(), kPortOpen);

  // With the SIM ready there is nothing to unlock: the modem refuses with code 3.
  rig.send("AT+CPIN=0000");
  EXPECT_EQ(w.Text3.text(), kExplained);
  const int row = rowHolding(w.List3, "+CME ERROR: 3");
  ASSERT_GE(row, 0);
  EXPECT_EQ(w.List3.item(row), "+CME ERROR: 3  ") << "the row shows what the modem sent";
  EXPECT_EQ(w.List3.stamp(row).note, kExplained);
  const int echo = rowHolding(w.List3, "AT+CPIN=0000");
  ASSERT_GE(echo, 0);
  EXPECT_EQ(w.List3.stamp(echo).note, "") << "the echo is no error";
  EXPECT_EQ(rig.wire(), "AT+CPIN=0000\r") << "nothing else goes to the modem";

  rig.send("AT");
  EXPECT_EQ(w.List3.stamp(w.List3.count() - 1).note, "") << "\"OK\" needs no explanation";
}

TEST(LinkHealth, TheExplanationHoldsUntilItsTimeIsUpOrTheStatusIsNews) {
  struct Case {
    std::string_view name;
    std::function<void(Rig&)> meanwhile;  // 1 s into the hold
    Millis after;                         // how long after that Text3 is looked at
    std::string_view text3;
    forms::Color cts;
  };
  using namespace forms::colors;
  const Case cases[] = {
      {"still held after 4 s", [](Rig&) {}, Millis(3400), kExplained, kGreen},
      {"port state again after 5 s", [](Rig&) {}, Millis(4100), kPortOpen, kGreen},
      {"CTS drops: the port state at once", [](Rig& rig) { rig.modem.config().powered = false; },
       Millis(150), kPortClosed, kRed},
      {"another text written: the explanation comes back in the port state's place",
       [](Rig& rig) { rig.main().Text3.setText("...initialising gsm module"); }, Millis(150),
       kExplained, kGreen},
      {"another reply meanwhile: the terminal's hint gives way to the explanation again",
       [](Rig& rig) { rig.send("AT"); }, Millis(150), kExplained, kGreen},
      {"the hold ends in the port state all the same", [](Rig& rig) { rig.send("AT"); },
       Millis(3600), kPortOpen, kGreen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startAnswered();
    rig.send("AT+CPIN=0000");  // half a second of the hold goes by
    ASSERT_EQ(rig.main().Text3.text(), kExplained);
    rig.run(Millis(500));
    c.meanwhile(rig);
    rig.run(c.after);
    EXPECT_EQ(rig.main().Text3.text(), c.text3);
    EXPECT_EQ(rig.main().CTS.fillColor(), c.cts) << "the lamp follows CTS all along";
  }
}

TEST(LinkHealth, ALongReplyHasTheNoteOnTheRowsThatHoldTheError) {
  struct Case {
    std::string_view name;
    std::string reply;
    std::vector<std::string> rows;
    std::vector<bool> noted;
  };
  const std::string x45(45, 'x');
  const std::string x60(60, 'x');
  const Case cases[] = {
      {"cut inside the report",
       x45 + "+CME ERROR: 16\r\n",
       {x45 + "+CME ", "ERROR: 16  "},
       {true, true}},
      {"in the second row only",
       x60 + "+CME ERROR: 16\r\n",
       {std::string(50, 'x'), std::string(10, 'x') + "+CME ERROR: 16  "},
       {false, true}},
      {"in the first row only",
       "+CME ERROR: 16" + x60 + "\r\n",
       {"+CME ERROR: 16" + std::string(36, 'x'), std::string(24, 'x') + "  "},
       {true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startAnswered();
    auto& w = rig.main();
    w.List3.clear();
    rig.fromModem(c.reply);
    rig.fromModem("\r\nOK\r\n");
    rig.run(Millis(200));
    ASSERT_EQ(w.List3.count(), static_cast<int>(c.rows.size()) + 1);
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
      const int row = static_cast<int>(i);
      EXPECT_EQ(w.List3.item(row), c.rows[i]);
      EXPECT_EQ(w.List3.stamp(row).note, c.noted[i] ? "+CME ERROR: 16: incorrect password" : "");
    }
    EXPECT_EQ(w.List3.stamp(w.List3.count() - 1).note, "");
    EXPECT_EQ(w.Text3.text(), "+CME ERROR: 16: incorrect password");
  }
}

TEST(LinkHealth, TheTextFormOfAnErrorIsLeftAsItIs) {
  Rig rig;
  rig.startAnswered();
  rig.run(Millis(200));
  auto& w = rig.main();
  rig.fromModem("\r\n+CME ERROR: SIM not inserted\r\n");
  rig.run(Millis(200));
  EXPECT_EQ(w.Text3.text(), kPortOpen);
  EXPECT_EQ(w.List3.stamp(w.List3.count() - 1).note, "");
}

TEST(LinkHealth, AMessageServiceErrorIsExplainedToo) {
  Rig rig;
  rig.startAnswered();
  rig.fromModem("\r\n+CMS ERROR: 304\r\n");
  rig.run(Millis(200));
  EXPECT_EQ(rig.main().Text3.text(), "+CMS ERROR: 304: invalid PDU mode parameter");
}

// --- the port state beside the CTS lamp ---

bool startsWith(const std::string& text, std::string_view head) {
  return text.starts_with(head);
}

// Runs until the port has received something, then until the indicator reads `state`;
// the time that took.
Millis timeToShow(Rig& rig, std::string_view state) {
  const auto& counters = rig.app->receiver().counters();
  EXPECT_TRUE(rig.runUntil([&] { return counters.bytes > 0; }, Millis(20000)));
  const Millis from = rig.scheduler.now();
  EXPECT_TRUE(rig.runUntil([&] { return startsWith(rig.main().PortState.caption(), state); },
                           Millis(10000)))
      << rig.main().PortState.caption();
  return rig.scheduler.now() - from;
}

TEST(PortStateIndicator, AStreamAtTheWrongRateIsNoiseWithinThreeSeconds) {
  sim::ModemConfig config;
  config.baud = 115200;  // the port stays at 9600
  config.nmeaFromPowerOn = true;
  Rig rig(config);
  rig.startWithOpenPort();
  EXPECT_LE(timeToShow(rig, "noise, "), Millis(3000));
}

TEST(PortStateIndicator, AGpsStreamIsNmeaWithinThreeSeconds) {
  sim::ModemConfig config;
  config.nmeaFromPowerOn = true;
  Rig rig(config);
  rig.startAnswered();
  EXPECT_LE(timeToShow(rig, "NMEA stream, "), Millis(3000));
  const std::string caption = rig.main().PortState.caption();
  const int rate = std::stoi(caption.substr(caption.find(", ") + 2));
  EXPECT_GT(rate, 50) << caption;
  EXPECT_EQ(caption.substr(caption.size() - 4), " B/s");
}

TEST(PortStateIndicator, ModemRepliesThenNoDataWhenIdle) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  rig.run(Millis(3000));
  EXPECT_EQ(w.PortState.caption(), "no data");
  for (int i = 0; i < 4; ++i) rig.send("AT+CSQ");
  EXPECT_TRUE(startsWith(w.PortState.caption(), "modem replies, ")) << w.PortState.caption();
  rig.run(Millis(4500));
  EXPECT_EQ(w.PortState.caption(), "no data");
}

}  // namespace
}  // namespace d7o::test
