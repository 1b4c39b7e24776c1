// The "R7O-3 Alarm" tab: the three alarm inputs and OUT1 assembled into their lines, and
// the buttons that send them.
#include "device/alarm_panel.h"

#include "support/rig.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::test {
namespace {

using platform::MessageAnswer;
using platform::MessageIcon;

// The SMS call number of the default TARVIK.INI.
constexpr std::string_view kNumber = "0123456789";

struct AlarmRig {
  AlarmRig() { rig.startAnswered(); }
  forms::MainWindow& w() { return rig.main(); }
  Rig rig;
};

std::string key(int n, std::string_view kindAndNumber, std::string_view tail) {
  return "&CNF KEY," + std::to_string(n) + "," + std::string(kindAndNumber) + ",\"KEY" +
         std::to_string(n) + " switched\"," + std::string(tail);
}

TEST(AlarmPanel, StartsWithTheConfiguredNumberInEveryLine) {
  AlarmRig r;
  auto& w = r.w();
  const std::string n(kNumber);
  EXPECT_EQ(w.Text13.text(), n);
  EXPECT_EQ(w.Text19.text(), n);
  EXPECT_EQ(w.Text22.text(), n);
  EXPECT_EQ(w.Text24.text(), "&CNF KEY,1," + n + ",\"KEY1 switched\",L");
  EXPECT_EQ(w.Text25.text(), "&CNF KEY,2," + n + ",\"KEY2 switched\",L");
  EXPECT_EQ(w.Text26.text(), "&CNF KEY,3," + n + ",\"KEY3 switched\",L");
  EXPECT_EQ(w.Text28.text(), "&CNF PORT,Z,10,10");
  EXPECT_FALSE(w.Picture2.visible());
  EXPECT_EQ(w.Command52.caption(), "Sample");
}

TEST(AlarmPanel, EachControlReachesItsLine) {
  const std::string n(kNumber);
  struct Case {
    std::string_view name;
    std::function<void(forms::MainWindow&)> act;
    std::function<const forms::TextBox&(forms::MainWindow&)> line;
    std::string expected;
  };
  const Case cases[] = {
      {"SMS kind with the position",
       [](auto& w) {
         w.Combo2.setListIndex(0);
         w.Check2.setChecked(true);
       },
       [](auto& w) -> const forms::TextBox& { return w.Text24; }, key(1, "S" + n, "LP")},
      {"Data kind, falling edge",
       [](auto& w) {
         w.Combo3.setListIndex(1);
         w.Option6.select();
       },
       [](auto& w) -> const forms::TextBox& { return w.Text25; }, key(2, "D" + n, "H")},
      {"GPS kind, each edge",
       [](auto& w) {
         w.Combo4.setListIndex(3);
         w.Option7.select();
       },
       [](auto& w) -> const forms::TextBox& { return w.Text26; }, key(3, "G" + n, "E")},
      {"another destination and text",
       [](auto& w) {
         w.Text13.setText("+4917");
         w.Text17.setText("");
       },
       [](auto& w) -> const forms::TextBox& { return w.Text24; }, "&CNF KEY,1,+4917,\"\",L"},
      {"OUT1 on", [](auto& w) { w.Combo5.setListIndex(0); },
       [](auto& w) -> const forms::TextBox& { return w.Text28; }, "&CNF PORT,E,10,10"},
      {"OUT1 one impulse, longer times",
       [](auto& w) {
         w.Combo5.setListIndex(2);
         w.Command34.click();
         w.Command36.click();
         w.Command36.click();
       },
       [](auto& w) -> const forms::TextBox& { return w.Text28; }, "&CNF PORT,I,20,30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlarmRig r;
    c.act(r.w());
    EXPECT_EQ(c.line(r.w()).text(), c.expected);
  }
}

TEST(AlarmPanel, VoiceClearsAndLocksThePositionAndSmsFreesItClear) {
  AlarmRig r;
  auto& w = r.w();
  const std::string n(kNumber);
  w.Combo3.setListIndex(0);
  w.Check6.setChecked(true);
  EXPECT_EQ(w.Text25.text(), key(2, "S" + n, "LP"));
  w.Combo3.setListIndex(2);
  EXPECT_FALSE(w.Check6.checked());
  EXPECT_FALSE(w.Check6.enabled());
  EXPECT_EQ(w.Text25.text(), key(2, "V" + n, "L"));
  w.Combo3.setListIndex(0);
  EXPECT_TRUE(w.Check6.enabled());
  EXPECT_FALSE(w.Check6.checked());
  EXPECT_EQ(w.Text25.text(), key(2, "S" + n, "L"));
}

TEST(AlarmPanel, TypedKindCarriesNoLetterAtTheNextRebuild) {
  AlarmRig r;
  auto& w = r.w();
  const std::string n(kNumber);
  w.Combo2.setListIndex(0);
  w.Check2.setChecked(true);
  w.Combo2.setText("Fax");
  EXPECT_EQ(w.Text24.text(), key(1, "S" + n, "LP")) << "typing alone rebuilds nothing";
  w.Text17.setText("KEY1 switched ");
  EXPECT_EQ(w.Text24.text(), "&CNF KEY,1," + n + ",\"KEY1 switched \",LP")
      << "an unknown kind leaves the box as it was";
  EXPECT_TRUE(w.Check2.enabled());
}

TEST(AlarmPanel, Out1TimesStayBetweenTenAnd99999) {
  struct Case {
    std::string_view name;
    std::string from;
    bool up;
    std::string to;
  };
  const Case cases[] = {
      {"up by ten", "10", true, "20"},           {"up at 99990", "99990", true, "99999"},
      {"up at the top", "99999", true, "99999"}, {"down at 10", "10", false, "10"},
      {"down by ten", "500", false, "490"},      {"down from 15", "15", false, "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlarmRig r;
    auto& w = r.w();
    w.Spin3.setCaption(c.from);
    w.Spin4.setCaption(c.from);
    (c.up ? w.Command34 : w.Command35).click();
    (c.up ? w.Command36 : w.Command37).click();
    EXPECT_EQ(w.Spin3.caption(), c.to);
    EXPECT_EQ(w.Spin4.caption(), c.to);
    EXPECT_EQ(w.Text28.text(), "&CNF PORT,Z," + c.to + "," + c.to);
  }
}

TEST(AlarmPanel, ClearFailuresAsksFirst) {
  struct Case {
    std::string_view name;
    MessageAnswer answer;
    std::string wire;
  };
  const Case cases[] = {{"No sends nothing", MessageAnswer::No, ""},
                        {"Yes sends the command", MessageAnswer::Yes, "&CLR FAIL\r"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlarmRig r;
    r.rig.dialogs.answerMessage(c.answer);
    r.w().Command28.click();
    ASSERT_EQ(r.rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(r.rig.dialogs.shown[0].text, "clear all unproceded commands");
    EXPECT_EQ(r.rig.dialogs.shown[0].title, "&CLR FAIL");
    EXPECT_EQ(r.rig.dialogs.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(r.rig.wire(), c.wire);
  }
}

TEST(AlarmPanel, SampleShowsAndHidesThePicture) {
  AlarmRig r;
  auto& w = r.w();
  w.Command52.click();
  EXPECT_TRUE(w.Picture2.visible());
  EXPECT_EQ(w.Command52.caption(), "Sample OFF");
  w.Command52.click();
  EXPECT_FALSE(w.Picture2.visible());
  EXPECT_EQ(w.Command52.caption(), "Sample");
  EXPECT_EQ(r.rig.wire(), "");
}

TEST(AlarmPanel, EachButtonSendsItsLineAsItStands) {
  const std::string n(kNumber);
  struct Case {
    std::string_view name;
    std::function<void(forms::MainWindow&)> act;
    std::string wire;
  };
  const Case cases[] = {
      {"IN1 set", [](auto& w) { w.Command24.click(); }, key(1, n, "L") + "\r"},
      {"IN2 set", [](auto& w) { w.Command26.click(); }, key(2, n, "L") + "\r"},
      {"IN3 set", [](auto& w) { w.Command27.click(); }, key(3, n, "L") + "\r"},
      {"Set Out1", [](auto& w) { w.Command33.click(); }, "&CNF PORT,Z,10,10\r"},
      {"a hand edit goes out",
       [](auto& w) {
         w.Text26.setText("&CNF KEY,3,V1,\"x\",E");
         w.Command27.click();
       },
       "&CNF KEY,3,V1,\"x\",E\r"},
      {"read Configuration", [](auto& w) { w.Command32.click(); }, "&REQ CNF\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlarmRig r;
    c.act(r.w());
    EXPECT_EQ(r.rig.wire(), c.wire);
    EXPECT_TRUE(r.w().Command24.enabled() && r.w().Command33.enabled()) << "they stay enabled";
  }
}

TEST(AlarmPanel, OpeningTheTabRebuildsTheLinesOnASupportedFirmware) {
  struct Case {
    std::string_view name;
    int tab;
    bool firmware;
    int shownTab;
    bool rebuilt;
  };
  const Case cases[] = {
      {"alarm tab", forms::tabs::kAlarm, true, forms::tabs::kAlarm, true},
      {"GPS tab", forms::tabs::kGps, true, forms::tabs::kGps, true},
      {"wrong firmware", forms::tabs::kAlarm, false, forms::tabs::kTerminal, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlarmRig r;
    auto& w = r.w();
    r.rig.state().link.firmwareSupported = c.firmware;
    w.Text24.setText("edited by hand");
    w.Tab1.setTab(c.tab);
    EXPECT_EQ(w.Tab1.tab(), c.shownTab);
    EXPECT_EQ(w.Text24.text() != "edited by hand", c.rebuilt);
  }
}

TEST(AlarmPanel, AKeySetForSmsMakesTheDeviceSendItsMessageOnTheEdge) {
  AlarmRig r;
  auto& w = r.w();
  w.Combo2.setListIndex(0);  // SMS
  w.Text13.setText("+4917112345");
  w.Text17.setText("Door open");
  w.Option9.select();  // each edge
  w.Command24.click();
  r.rig.run(platform::Millis(1500));
  ASSERT_EQ(r.rig.modem.device().keys[0]->text, "Door open");

  ASSERT_TRUE(r.rig.modem.inputEdge(1, false).has_value());
  ASSERT_EQ(r.rig.modem.sentSms().size(), 1u);
  EXPECT_EQ(r.rig.modem.sentSms()[0].number, "+4917112345");
  EXPECT_EQ(r.rig.modem.sentSms()[0].text, "Door open");
  EXPECT_FALSE(r.rig.modem.inputEdge(2, true).has_value()) << "IN2 was never set";
}

}  // namespace
}  // namespace d7o::test
