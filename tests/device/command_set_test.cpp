// Every device line form, as the device expects it byte for byte.
#include "device/command_set.h"

#include "app/tarvik_ini.h"
#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::device {
namespace {

TEST(DeviceLines, EveryForm) {
  struct Case {
    const char* name;
    std::string line;
    const char* expected;
  };
  const Case cases[] = {
      {"time", cnfTime({2026, 12, 7, 9, 5, 3}), "&CNF TIME,9.5.3,7.12.2026"},
      {"time at midnight on 1 January", cnfTime({2027, 1, 1, 0, 0, 0}), "&CNF TIME,0.0.0,1.1.2027"},
      {"time late", cnfTime({2026, 11, 30, 23, 59, 59}), "&CNF TIME,23.59.59,30.11.2026"},
      {"mode data only", cnfMode(modeLetters({true, false, false, false}), 0), "&CNF MODE,D,0"},
      {"mode gps only", cnfMode(modeLetters({false, false, false, true}), 12), "&CNF MODE,G,12"},
      {"mode all in order", cnfMode(modeLetters({true, true, true, true}), 255),
       "&CNF MODE,DVCG,255"},
      {"mode none", cnfMode(modeLetters({}), 0), "&CNF MODE,,0"},
      {"message with source", cnfMsg("S", "0123456789", "Car number 222", "0"),
       "&CNF MSG,S0123456789,\"Car number 222\",0"},
      {"message with empty source", cnfMsg("D", "0049171", "", "9999"), "&CNF MSG,D0049171,,9999"},
      {"gps two sentences", cnfGps(std::vector<std::string>{"GPGGA", "GPRMC"}),
       "&CNF GPS,GPGGA;GPRMC,100"},
      {"gps empty list", cnfGps(std::vector<std::string>{}), "&CNF GPS,,100"},
      {"ignition", cnfIgn("60"), "&CNF IGN,60"},
      {"ignition ignored", std::string(kIgnitionIgnored), "&CNF IGN,-1"},
      {"password", pass("4711", "0000"), "&PASS,4711,0000"},
      {"key sms with position", cnfKey(1, "S", "0123", "Door open", "L", true),
       "&CNF KEY,1,S0123,\"Door open\",LP"},
      {"key voice each edge", cnfKey(3, "V", "0123", "", "E", false), "&CNF KEY,3,V0123,\"\",E"},
      {"key without kind", cnfKey(2, "", "0123", "x", "H", false), "&CNF KEY,2,0123,\"x\",H"},
      {"key text with quote and comma goes out unchanged", cnfKey(1, "D", "1", "a\",b", "L", false),
       "&CNF KEY,1,D1,\"a\",b\",L"},
      {"output", cnfPort("Z", "10", "99990"), "&CNF PORT,Z,10,99990"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.line, c.expected);
  }
}

TEST(StagingField, SendButtonWaitsForANewLineAfterEachSend) {
  test::Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  // The destination filled in at start-up has staged its message line already.
  EXPECT_EQ(w.Text10.text(), cnfMsg("S", rig.app->context().configItem(app::ini_index::kSmsNumber),
                                    "Car number 222", "0"));
  EXPECT_TRUE(w.Command22.enabled());
  w.Text10.setText(cnfGps(std::vector<std::string>{"GPRMC"}));
  ASSERT_TRUE(w.Command22.enabled());
  w.Command22.click();
  EXPECT_EQ(rig.wire(), "&CNF GPS,GPRMC,100\r");
  EXPECT_FALSE(w.Command22.enabled());
  w.Command22.click();
  EXPECT_EQ(rig.wire(), "") << "a disabled button sends nothing";
  w.Text10.setText("&CNF IGN,5");  // typed by hand
  w.Command22.click();
  EXPECT_EQ(rig.wire(), "&CNF IGN,5\r");
}

TEST(StagingField, ANoSendOnAClosedPortLeavesTheButtonForASecondTry) {
  test::Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  rig.port.close();
  w.Text10.setText("&CNF IGN,5");
  w.Command22.click();
  EXPECT_EQ(rig.wire(), "");
  EXPECT_EQ(rig.dialogs.shown.size(), 1u) << "the failed send is reported";
  EXPECT_TRUE(w.Command22.enabled()) << "nothing was sent: the line may go once the port is open";
  ASSERT_FALSE(rig.port.open());
  w.Command22.click();
  EXPECT_EQ(rig.wire(), "&CNF IGN,5\r");
  EXPECT_FALSE(w.Command22.enabled());
}

TEST(DeviceAnswers, AcceptedRestoresTheTitleRejectedHidesTheGpsButton) {
  test::Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  w.Text3.setBackColor(forms::colors::kLightOrange);
  w.Command31.setVisible(true);
  rig.fromModem("$CNFOK\r\n");
  rig.run(platform::Millis(100));
  EXPECT_EQ(w.caption(), forms::kStandardTitle);
  EXPECT_EQ(w.Text3.backColor(), forms::colors::kSystemMenu);
  EXPECT_TRUE(w.Command31.visible());
  rig.fromModem("$ERROR\r\n");
  rig.run(platform::Millis(100));
  EXPECT_FALSE(w.Command31.visible());
}

}  // namespace
}  // namespace d7o::device
