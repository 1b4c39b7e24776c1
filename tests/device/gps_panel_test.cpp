// The "R7O-3 GPS" tab: each builder's line in the staging field, the steppers and their
// quick values, and the lines as the device receives and answers them.
#include "device/gps_panel.h"

#include "app/tarvik_ini.h"
#include "support/rig.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::test {
namespace {

// The SMS call number of the default TARVIK.INI.
constexpr std::string_view kNumber = "0123456789";

struct GpsRig {
  GpsRig() { rig.startAnswered(); }
  forms::MainWindow& w() { return rig.main(); }
  Rig rig;
};

std::string message(std::string_view kind, std::string_view tail) {
  return "&CNF MSG," + std::string(kind) + std::string(kNumber) + std::string(tail);
}

TEST(GpsPanel, StartsWithTheSentencesOfferedAndTheDestinationOfTheConfiguration) {
  GpsRig r;
  auto& w = r.w();
  EXPECT_EQ(w.List5.items(),
            (std::vector<std::string>{"GPGGA", "GPGSV", "GPRMC", "GPGSA", "GPGLL", "GPVTG"}));
  EXPECT_TRUE(w.List5.selectedItems().empty());
  EXPECT_EQ(w.Text15.text(), kNumber);
  EXPECT_EQ(w.Text14.text(), r.rig.app->context().configItem(app::ini_index::kServiceCentre));
  EXPECT_EQ(r.rig.state().device.modeLetters, "D");
  EXPECT_EQ(w.Text29.text(), "S");
  EXPECT_EQ(w.Text10.text(), message("S", ",\"Car number 222\",0"));
}

TEST(GpsPanel, EachBuilderStagesItsLine) {
  struct Case {
    std::string_view name;
    std::function<void(forms::MainWindow&)> act;
    std::string expected;
  };
  const Case cases[] = {
      {"CNF TIME from the PC clock, no leading zeros", [](auto& w) { w.Command19.click(); },
       "&CNF TIME,9.30.0,8.12.2026"},
      {"CNF MODE as it starts", [](auto& w) { w.Command20.click(); }, "&CNF MODE,D,0"},
      {"answer voice call also", [](auto& w) { w.Check3.setChecked(true); }, "&CNF MODE,DV,0"},
      {"auto GPS mode with both boxes: V, C, G and no D",
       [](auto& w) {
         w.Check3.setChecked(true);
         w.Check4.setChecked(true);
         w.Option15.select();
       },
       "&CNF MODE,VCG,0"},
      {"back to auto DATA mode",
       [](auto& w) {
         w.Option15.select();
         w.Option14.select();
       },
       "&CNF MODE,D,0"},
      {"the counter's start rebuilds the mode",
       [](auto& w) {
         w.Check4.setChecked(true);
         w.Command40.click();
         w.Command40.click();
       },
       "&CNF MODE,DC,2"},
      {"Data destination", [](auto& w) { w.Option17.select(); },
       message("D", ",\"Car number 222\",0")},
      {"GPS (Data) destination", [](auto& w) { w.Option18.select(); },
       message("G", ",\"Car number 222\",0")},
      {"a kind letter typed by hand is used at the next rebuild",
       [](auto& w) {
         w.Text29.setText("X");
         w.Command21.click();
       },
       message("X", ",\"Car number 222\",0")},
      {"empty source name: no quotes", [](auto& w) { w.Text16.setText(""); }, message("S", ",,0")},
      {"another destination", [](auto& w) { w.Text15.setText("+4917"); },
       "&CNF MSG,S+4917,\"Car number 222\",0"},
      {"the interval rebuilds the message", [](auto& w) { w.Command39.click(); },
       message("S", ",\"Car number 222\",1")},
      {"GPRMC then GPGGA: list order",
       [](auto& w) {
         w.List5.setSelected(2, true);
         w.List5.setSelected(0, true);
       },
       "&CNF GPS,GPGGA;GPRMC,100"},
      {"every sentence deselected",
       [](auto& w) {
         w.List5.setSelected(1, true);
         w.List5.setSelected(1, false);
       },
       "&CNF GPS,,100"},
      {"CNF GPS alone: the sentences chosen so far",
       [](auto& w) {
         w.List5.setSelected(5, true);
         w.Text16.setText("Van");
         w.Command23.click();
       },
       "&CNF GPS,GPVTG,100"},
      {"one character of the old password rebuilds at once, the new one first",
       [](auto& w) {
         w.Text30.setText("4711");
         w.Text11.setText("0");
       },
       "&PASS,4711,0"},
      {"Password button with both empty", [](auto& w) { w.Command25.click(); }, "&PASS,,"},
      {"Ignition as it starts", [](auto& w) { w.Command45.click(); }, "&CNF IGN,0"},
      {"ignition ignored", [](auto& w) { w.Check8.setChecked(true); }, "&CNF IGN,-1"},
      {"ignored, then +: the delay, not -1",
       [](auto& w) {
         w.Check8.setChecked(true);
         w.Command44.click();
       },
       "&CNF IGN,1"},
      {"ignored, +, then Ignition: -1 again",
       [](auto& w) {
         w.Check8.setChecked(true);
         w.Command44.click();
         w.Command45.click();
       },
       "&CNF IGN,-1"},
      {"ignition ignored no more",
       [](auto& w) {
         w.Check8.setChecked(true);
         w.Command44.click();
         w.Command44.click();
         w.Check8.setChecked(false);
       },
       "&CNF IGN,2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GpsRig r;
    c.act(r.w());
    EXPECT_EQ(r.w().Text10.text(), c.expected);
    EXPECT_EQ(r.rig.wire(), "") << "a builder only stages its line";
  }
}

TEST(GpsPanel, SteppersClampAndQuickValuesPassThroughZero) {
  struct Case {
    std::string_view name;
    forms::Label& (*value)(forms::MainWindow&);
    std::function<void(forms::MainWindow&)> act;
    std::string expected;
  };
  auto spin2 = [](forms::MainWindow& w) -> forms::Label& { return w.Spin2; };
  auto spin1 = [](forms::MainWindow& w) -> forms::Label& { return w.Spin1; };
  auto ignition = [](forms::MainWindow& w) -> forms::Label& { return w.Label49; };
  const Case cases[] = {
      {"counter - at 0 keeps 0", spin2, [](auto& w) { w.Command41.click(); }, "0"},
      {"counter + at 255 keeps 255", spin2,
       [](auto& w) {
         w.Spin2.DblClick.emit();
         w.Command40.click();
       },
       "255"},
      {"counter click gives 0", spin2,
       [](auto& w) {
         w.Command40.click();
         w.Spin2.Click.emit();
       },
       "0"},
      {"interval - at 0 keeps 0", spin1, [](auto& w) { w.Command38.click(); }, "0"},
      {"interval + at 9999 keeps 9999", spin1,
       [](auto& w) {
         w.Spin1.DblClick.emit();
         w.Command39.click();
       },
       "9999"},
      {"interval - from 9999", spin1,
       [](auto& w) {
         w.Spin1.DblClick.emit();
         w.Command38.click();
       },
       "9998"},
      {"ignition - at 0 keeps 0", ignition, [](auto& w) { w.Command43.click(); }, "0"},
      {"ignition + at 60 keeps 60", ignition,
       [](auto& w) {
         for (int i = 0; i < 61; ++i) w.Command44.click();
       },
       "60"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GpsRig r;
    c.act(r.w());
    EXPECT_EQ(c.value(r.w()).caption(), c.expected);
  }

  // Each step rebuilds the line; a clamped step that changes nothing writes the same line.
  GpsRig r;
  auto& w = r.w();
  for (int i = 0; i < 61; ++i) w.Command44.click();
  EXPECT_EQ(w.Text10.text(), "&CNF IGN,60");
  w.Command43.click();
  EXPECT_EQ(w.Text10.text(), "&CNF IGN,59");
}

TEST(GpsPanel, DoubleClickOnTheIntervalShowsZeroOnItsWay) {
  GpsRig r;
  auto& w = r.w();
  w.Command39.click();
  std::vector<std::string> staged;
  w.Text10.Change.connect([&] { staged.push_back(w.Text10.text()); });
  // What a double click on the label delivers: its Click, then its DblClick.
  w.Spin1.Click.emit();
  w.Spin1.DblClick.emit();
  EXPECT_EQ(staged, (std::vector<std::string>{message("S", ",\"Car number 222\",0"),
                                              message("S", ",\"Car number 222\",9999")}));
}

TEST(GpsPanel, SendButtonWaitsForTheNextLineAfterASend) {
  GpsRig r;
  auto& w = r.w();
  w.Command22.click();
  EXPECT_EQ(r.rig.wire(), message("S", ",\"Car number 222\",0") + "\r");
  EXPECT_FALSE(w.Command22.enabled());
  // A builder enables the button again even for the same line.
  w.Command21.click();
  EXPECT_TRUE(w.Command22.enabled());
  w.Command22.click();
  EXPECT_EQ(r.rig.wire(), message("S", ",\"Car number 222\",0") + "\r");
  // The ignition's own controls only through a new line.
  w.Command45.click();
  w.Command22.click();
  r.rig.wire();
  w.Command43.click();  // 0 stays 0: the same line, the button stays off
  EXPECT_FALSE(w.Command22.enabled());
  w.Command44.click();
  EXPECT_TRUE(w.Command22.enabled());
}

std::string trimmed(const std::string& line) {
  const auto first = line.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

// Sends what stands in the staging field and returns the device's answer in the terminal.
std::string sendStaged(Rig& rig) {
  const std::size_t before = rig.terminal().size();
  rig.main().Command22.click();
  rig.run(platform::Millis(1500));
  std::string answer;
  const auto lines = rig.terminal();
  for (std::size_t i = before; i < lines.size(); ++i) {
    if (trimmed(lines[i]).starts_with("$")) answer = trimmed(lines[i]);
  }
  return answer;
}

TEST(GpsPanel, TheDeviceAcceptsEveryLineTheTabBuildsAndRefusesAWrongPassword) {
  GpsRig r;
  auto& w = r.w();
  struct Step {
    std::string_view name;
    std::function<void(forms::MainWindow&)> act;
    std::string_view answer;
  };
  const Step steps[] = {
      {"time", [](auto& w) { w.Command19.click(); }, "$CNFOK"},
      {"mode", [](auto& w) { w.Check3.setChecked(true); }, "$CNFOK"},
      {"message", [](auto& w) { w.Option18.select(); }, "$CNFOK"},
      {"sentences", [](auto& w) { w.List5.setSelected(2, true); }, "$CNFOK"},
      {"ignition", [](auto& w) { w.Check8.setChecked(true); }, "$CNFOK"},
      {"a wrong old password",
       [](auto& w) {
         w.Text30.setText("4711");
         w.Text11.setText("1234");
       },
       "$ERROR"},
      {"the right old password", [](auto& w) { w.Text11.setText("0000"); }, "$CNFOK"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.act(w);
    EXPECT_EQ(sendStaged(r.rig), s.answer) << w.Text10.text();
  }
  EXPECT_EQ(r.rig.modem.device().password, "4711");
}

TEST(GpsPanel, ReadConfigurationReportsExactlyTheSettingsSent) {
  GpsRig r;
  auto& w = r.w();
  w.Check4.setChecked(true);
  w.Command40.click();
  w.Command40.click();
  w.Command40.click();
  sendStaged(r.rig);
  w.Text16.setText("Van 7");
  w.Command39.click();
  sendStaged(r.rig);
  w.List5.setSelected(0, true);
  w.List5.setSelected(2, true);
  sendStaged(r.rig);
  for (int i = 0; i < 5; ++i) w.Command44.click();
  sendStaged(r.rig);
  // An alarm input and OUT1 from the other tab, through their own buttons.
  w.Combo2.setListIndex(0);
  w.Command24.click();
  w.Combo5.setListIndex(2);
  w.Command33.click();
  r.rig.run(platform::Millis(1500));

  const std::size_t before = r.rig.terminal().size();
  w.Command32.click();
  r.rig.run(platform::Millis(2000));
  const auto lines = r.rig.terminal();
  std::vector<std::string> report;
  for (std::size_t i = before; i < lines.size(); ++i) {
    // The terminal shows each line's CR LF as blanks, the LF at the start of the next.
    const std::string line = trimmed(lines[i]);
    if (line.starts_with("$CNF ")) report.push_back(line);
  }
  const std::string n(kNumber);
  const std::vector<std::string> expected = {
      "$CNF MODE,DC,3", "$CNF MSG,S" + n + ",\"Van 7\",1",           "$CNF GPS,GPGGA;GPRMC,100",
      "$CNF IGN,5",     "$CNF KEY,1,S" + n + ",\"KEY1 switched\",L", "$CNF PORT,I,10,10",
  };
  EXPECT_EQ(report, expected);
}

}  // namespace
}  // namespace d7o::test
