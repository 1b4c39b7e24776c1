// The service functions of the "Options" tab.
#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;
namespace colors = forms::colors;

TEST(OptionsTab, InitStringSaveAndResetLines) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  w.Command7.click();
  EXPECT_EQ(rig.wire(), "ATZ;+CMEE=1;+CBST=7,0,1;+CSDH=1;+CMGF=1;S0=0\r");
  w.Text4.setText("ATE1");
  w.Command7.click();
  EXPECT_EQ(rig.wire(), "ATE1\r") << "the edited string goes out";
  w.Text4.setText("");
  w.Text3.setText("unchanged");
  w.Command7.click();
  EXPECT_EQ(rig.wire(), "");
  EXPECT_EQ(w.Text3.text(), "unchanged");
  w.Command10.click();
  EXPECT_EQ(rig.wire(), "AT&W\r");
  w.Command15.click();
  EXPECT_EQ(rig.wire(), "&RESET\r");
}

TEST(OptionsTab, ClosedPortIsReportedNotIgnored) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.main().Command10.click();
  rig.main().Command29.click();
  EXPECT_EQ(
      rig.dialogs.messageTexts(),
      (std::vector<std::string>{"Error No.: 8018 - Operation valid only when the port is open",
                                "Error No.: 8018 - Operation valid only when the port is open"}));
  EXPECT_FALSE(rig.main().Timer1.enabled());
}

TEST(OptionsTab, BreakResetTurnsTheLampRedUntilTheNextRegistration) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  rig.run(Millis(1000));
  rig.wire();
  auto& w = rig.main();
  ASSERT_EQ(w.Label2.backColor(), colors::kGreen);
  const Millis start = rig.scheduler.now();
  w.Command29.click();
  EXPECT_EQ(rig.scheduler.now() - start, Millis(500)) << "the break lasts half a second";
  EXPECT_EQ(w.Label2.backColor(), colors::kRed);
  EXPECT_TRUE(w.Timer1.enabled());
  EXPECT_FALSE(rig.state().link.simReady);
  ASSERT_TRUE(rig.runUntil([&] { return w.Label2.backColor() == colors::kGreen; }));
  const std::string wire = rig.wire();
  EXPECT_EQ(wire.rfind("AT+CPIN?\r", 0), 0u) << wire;
  EXPECT_NE(wire.find("AT+CREG?\r"), std::string::npos);
}

}  // namespace
}  // namespace d7o::test
