// The baud-rate search as it runs when the main window first shows.
#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;
using Settings = std::vector<std::string>;

TEST(BaudSearch, ModemAt9600AnswersTheFirstAt) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.app->activate();
  EXPECT_EQ(rig.modem.dtrPulses(), 1) << "the line is reset before the search";
  EXPECT_EQ(rig.port.settingsLog(), Settings{"9600,n,8,1"});
  EXPECT_EQ(rig.wire(), "AT\r");
  EXPECT_EQ(rig.main().Text2.text(), "...check 9600,n,8,1");
  EXPECT_EQ(rig.main().Label25.caption(), "dbm");
  EXPECT_TRUE(rig.state().link.modemAnswered);
  EXPECT_TRUE(rig.state().link.baudRateKnown);
  EXPECT_TRUE(rig.state().link.initAwaitingOk);
  EXPECT_TRUE(rig.main().Timer2.enabled());
  // One second of line reset, five of start-up time, two for the answer.
  EXPECT_EQ(rig.scheduler.now(), Millis(8000));
}

TEST(BaudSearch, ModemAt115200IsFoundAtTheSecondSetting) {
  sim::ModemConfig config;
  config.baud = 115200;
  Rig rig(config);
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.app->activate();
  EXPECT_EQ(rig.port.settingsLog(), (Settings{"9600,n,8,1", "115200,n,8,1"}));
  EXPECT_EQ(rig.wire(), "AT\rAT\r");
  EXPECT_EQ(rig.main().Text2.text(), "...check 115200,n,8,1");
  EXPECT_EQ(rig.port.settings(), "115200,n,8,1") << "the port keeps the rate that answered";
  EXPECT_TRUE(rig.main().Timer2.enabled());
}

TEST(BaudSearch, NoModemTriesEverySettingThenGivesUp) {
  sim::ModemConfig config;
  config.powered = false;
  Rig rig(config);
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  std::vector<std::string> text2;
  rig.main().Text2.Change.connect([&] { text2.push_back(rig.main().Text2.text()); });
  rig.app->activate();
  EXPECT_EQ(rig.port.settingsLog(),
            (Settings{"9600,n,8,1", "115200,n,8,1", "57600,n,8,1", "19200,n,8,1", "38400,n,8,1",
                      "2400,n,8,1", "4800,n,8,1", "9600,n,8,1", "9600,n,8,1"}));
  EXPECT_EQ(rig.wire(), "AT\rAT\rAT\rAT\rAT\rAT\rAT\rAT\r");
  EXPECT_EQ(text2.front(), "...check 9600,n,8,1");
  EXPECT_EQ(text2.at(1), "...check 115200,n,8,1");
  EXPECT_EQ(rig.main().Text2.text(), "...no answer from modem...");
  EXPECT_EQ(rig.main().Label25.caption(), "...no GSM device");
  EXPECT_EQ(rig.main().caption(), forms::kStandardTitle);
  EXPECT_FALSE(rig.main().Timer2.enabled());
  EXPECT_EQ(rig.scheduler.now(), Millis(24000));
  // The next activation searches again.
  rig.app->activate();
  EXPECT_EQ(rig.port.settingsLog().size(), 18u);
}

TEST(BaudSearch, EchoOfAtAloneDoesNotEndIt) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.modem.config().powered = false;                                    // nothing answers ...
  rig.scheduler.post(Millis(6500), [&] { rig.fromModem("AT\r\r\n"); });  // ... but an echo
  rig.modem.config().powered = true;
  rig.modem.config().baud = 1;  // and the modem understands no setting
  rig.app->activate();
  EXPECT_FALSE(rig.state().link.modemAnswered);
}

TEST(BaudSearch, StreamingGpsDeviceEndsTheSearchWithoutResult) {
  sim::ModemConfig config;
  config.nmeaFromPowerOn = true;
  Rig rig(config);
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.app->activate();
  EXPECT_TRUE(rig.state().dispatch.gpsReceiveMode);
  EXPECT_FALSE(rig.state().link.baudSearchActive);
  EXPECT_FALSE(rig.state().link.modemAnswered);
  EXPECT_EQ(rig.wire(), "") << "no AT is sent to a device that streams";
  EXPECT_EQ(rig.main().Label25.caption(), "...receive GPS protocols");
  EXPECT_FALSE(rig.main().Frame18.enabled());
  EXPECT_TRUE(rig.main().m_gps.visible());
  EXPECT_EQ(rig.main().caption(), forms::kStandardTitle);
  EXPECT_FALSE(rig.main().Timer2.enabled());
}

TEST(BaudSearch, AReplyWithOkInsideAWordCountsAsAnAnswer) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.modem.config().powered = false;
  rig.scheduler.post(Millis(7000), [&] {
    rig.modem.config().powered = true;
    rig.fromModem("$CNFOK\r\n");
  });
  rig.app->activate();
  EXPECT_TRUE(rig.state().link.modemAnswered);
  EXPECT_EQ(rig.main().Text2.text(), "...check 9600,n,8,1");
}

TEST(BaudSearch, ActivationDuringASearchDoesNotStartAnother) {
  sim::ModemConfig config;
  config.powered = false;
  Rig rig(config);
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.scheduler.post(Millis(3000), [&] { rig.app->activate(); });
  rig.app->activate();
  EXPECT_EQ(rig.port.settingsLog().size(), 9u);
}

}  // namespace
}  // namespace d7o::test
