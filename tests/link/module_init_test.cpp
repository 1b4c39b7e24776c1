// Module initialisation through the simulated modem, as a technician meets it at the
// bench: the bytes on the wire and what the main window shows.
#include "link/module_init.h"

#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::MessageIcon;
using platform::Millis;
namespace colors = forms::colors;

constexpr const char* kInitString = "ATZ;+CMEE=1;+CBST=7,0,1;+CSDH=1;+CMGF=1;S0=0";

sim::ModemConfig withEngine(sim::Engine engine) {
  sim::ModemConfig c;
  c.engine = engine;
  return c;
}

TEST(ModuleInit, MakersEngineFromSearchToCompletion) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  EXPECT_EQ(rig.wire(), std::string("AT\r") + "AT+CMEE=1\r" + "AT+CPIN?\r" + "AT+CGMI\r" +
                            "AT+CSQ\r" + "AT+CREG?\r" + kInitString + ";+VGR?;+VGT?\r" +
                            "&REQ TM\r");
  auto& w = rig.main();
  EXPECT_EQ(rig.state().link.manufacturer, "Tarvik");
  EXPECT_TRUE(w.Frame12.enabled());
  EXPECT_EQ(w.Slider1.max(), 255);
  EXPECT_EQ(w.Label25.caption(), "-79 dbm");
  EXPECT_EQ(w.Gauge1.value(), 51);
  EXPECT_EQ(w.Label2.backColor(), colors::kGreen);
  EXPECT_EQ(w.Text3.backColor(), colors::kSystemMenu);
  EXPECT_TRUE(w.Command1.enabled());
  EXPECT_TRUE(rig.state().link.audioQueryPending);
  rig.run(Millis(1000));
  EXPECT_TRUE(rig.state().link.firmwareSupported) << "the identification names V1.63";
  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_LT(rig.scheduler.now(), Millis(40000));
}

TEST(ModuleInit, WakeUpShowsNothingUntilTheModuleAnswers) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  std::vector<std::string> label25;
  rig.main().Label25.Change.connect([&] { label25.push_back(rig.main().Label25.caption()); });
  rig.app->activate();
  rig.runUntil([&] { return rig.main().Timer1.enabled(); });
  EXPECT_FALSE(rig.main().Timer2.enabled()) << "the first OK stops the wake-up";
  rig.run(Millis(2500));
  EXPECT_EQ(label25.back(), "wait for connect - 29 sec.");
  EXPECT_EQ(std::count(label25.begin(), label25.end(), "wait for connect - 28 sec."), 0);
  EXPECT_EQ(rig.modem.dtrPulses(), 2) << "one reset before the search, one per wake-up tick";
}

TEST(ModuleInit, SiemensEngine) {
  Rig rig(withEngine(sim::Engine::Siemens));
  ASSERT_TRUE(rig.bringUp());
  EXPECT_EQ(rig.wire(),
            "AT\rAT+CMEE=1\rAT+CPIN?\rAT+CGMI\rAT+CSQ\rAT+CREG?\rAT+CMGF=1;+CNMI=1,1,0\r");
  auto& w = rig.main();
  EXPECT_EQ(rig.state().link.manufacturer, "SIEMENS");
  EXPECT_FALSE(w.Frame12.enabled());
  EXPECT_EQ(w.Slider1.max(), 4);
  EXPECT_EQ(w.Slider1.value(), 3);
  EXPECT_EQ(w.Slider2.max(), 7);
  EXPECT_EQ(w.Slider2.value(), 6);
  rig.run(Millis(3000));
  EXPECT_EQ(rig.wire(), "") << "no device identification request for SIEMENS";
}

// The maker is asked a second after "+CPIN: READY"; the rest of the SIM answer and an
// unsolicited line arrive meanwhile or before the answer. Only replies after the query
// count as its tries, so a SIEMENS engine is still found and gets its own slider ranges.
TEST(ModuleInit, RingAroundTheMakersQueryStillFindsTheEngine) {
  struct Case {
    const char* name;
    const char* ringAfter;  // the command line after which the RING comes
    Millis delay;           // how long after that line
  };
  const Case cases[] = {
      {"while the query waits its second", "AT+CPIN?", Millis(500)},
      {"between the query and its answer", "AT+CGMI", Millis(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(withEngine(sim::Engine::Siemens));
    rig.writeDefaultIni();
    ASSERT_TRUE(rig.start());
    rig.app->activate();
    const auto& log = rig.modem.commandLog();
    ASSERT_TRUE(rig.runUntil([&] { return !log.empty() && log.back() == c.ringAfter; }));
    rig.run(c.delay);
    rig.fromModem("\r\nRING\r\n");
    ASSERT_TRUE(rig.runUntil([&] { return !rig.state().link.manufacturer.empty(); }));
    EXPECT_EQ(rig.state().link.manufacturer, "SIEMENS");
    ASSERT_TRUE(rig.runUntil([&] { return !rig.main().Timer1.enabled(); }));
    EXPECT_EQ(rig.main().Slider1.max(), 4);
  }
}

TEST(ModuleInit, EngineWithoutAMakersWordIsUnknownAfterFourReplies) {
  Rig rig(withEngine(sim::Engine::Other));
  ASSERT_TRUE(rig.bringUp());
  EXPECT_EQ(rig.state().link.manufacturer, "unknown");
  EXPECT_TRUE(rig.main().Frame12.enabled());
  EXPECT_FALSE(rig.state().link.manufacturerQueryPending);
  EXPECT_EQ(rig.wire(), std::string("AT\rAT+CMEE=1\rAT+CPIN?\rAT+CGMI\rAT+CSQ\rAT+CREG?\r") +
                            kInitString + ";+VGR?;+VGT?\r&REQ TM\r");
}

TEST(ModuleInit, BrellstowenEngineOpensTheFullGainRange) {
  Rig rig(withEngine(sim::Engine::Brellstowen));
  ASSERT_TRUE(rig.bringUp());
  EXPECT_EQ(rig.state().link.manufacturer, "BRELLSTOWEN");
  EXPECT_EQ(rig.main().Slider2.max(), 255);
}

TEST(ModuleInit, PinEnteredAndAcceptedRestartsTheSequence) {
  sim::ModemConfig c;
  c.sim = sim::SimCard::PinRequired;
  Rig rig(c);
  rig.dialogs.answerInput("5937");
  ASSERT_TRUE(rig.bringUp());
  ASSERT_FALSE(rig.dialogs.shown.empty());
  const auto& ask = rig.dialogs.shown[0];
  EXPECT_EQ(ask.text, "SIM/PIN - Error, check SIM-Card\nand Enter PIN !!!");
  EXPECT_EQ(ask.title, "SIM / PIN - Error");
  EXPECT_EQ(ask.defaultText, "5937");
  EXPECT_TRUE(rig.modem.simUnlocked());
  EXPECT_EQ(rig.wire(), std::string("AT\rAT+CMEE=1\rAT+CPIN?\rAT+CPIN=\"5937\"\r") +
                            "AT+CMEE=1\rAT+CPIN?\rAT+CGMI\rAT+CSQ\rAT+CREG?\r" + kInitString +
                            ";+VGR?;+VGT?\r&REQ TM\r");
}

TEST(ModuleInit, PinDialogueCancelledClosesThePortAndEnds) {
  sim::ModemConfig c;
  c.sim = sim::SimCard::PinRequired;
  Rig rig(c);
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.app->activate();
  rig.runUntil([&] { return rig.ended(); });
  ASSERT_TRUE(rig.ended());
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.dialogs.messageTexts(), std::vector<std::string>{"PIN incorrect, exit program"});
  EXPECT_EQ(rig.dialogs.shown.back().title, "E r r o r");
}

TEST(ModuleInit, PortStaysUnreadWhileThePinDialogueIsOpen) {
  sim::ModemConfig c;
  c.sim = sim::SimCard::PinRequired;
  Rig rig(c);
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  std::size_t waiting = 0;
  rig.dialogs.whileOpen = [&] {
    rig.fromModem("RING\r\n");  // arrives while the box is open
    rig.run(Millis(500));
    waiting = rig.port.bytesAvailable();
  };
  rig.dialogs.answerInput("5937");
  rig.app->activate();
  rig.runUntil([&] { return rig.state().link.pinSentAwaitingOk; });
  EXPECT_GE(waiting, 6u) << "nothing was read while the box was open";
  rig.run(Millis(500));
  EXPECT_EQ(rig.port.bytesAvailable(), 0u) << "and it is read afterwards";
}

TEST(ModuleInit, WrongPinDrawsTheModemsErrorAndReenablesTheButtons) {
  sim::ModemConfig c;
  c.sim = sim::SimCard::PinRequired;
  Rig rig(c);
  rig.dialogs.answerInput("1111");
  EXPECT_FALSE(rig.bringUp(Millis(40000)));
  EXPECT_FALSE(rig.modem.simUnlocked());
  EXPECT_TRUE(rig.main().Command1.enabled());
  EXPECT_TRUE(rig.main().Command2.enabled());
  const auto lines = rig.terminal();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "+CME ERROR: 16  "), lines.end());
  EXPECT_FALSE(rig.ended());
}

TEST(ModuleInit, NoRegistrationInThreePollsIsANetworkError) {
  sim::ModemConfig c;
  c.pollsUntilRegistered = -1;
  Rig rig(c);
  EXPECT_FALSE(rig.bringUp(Millis(40000)));
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].title, "Network-Error");
  EXPECT_EQ(rig.dialogs.shown[0].text,
            "no Service.....check the Hardware-Components \nand push the <INIT> - Button !!!");
  EXPECT_EQ(rig.main().Label2.backColor(), colors::kRed);
  EXPECT_FALSE(rig.main().Timer1.enabled());
  EXPECT_TRUE(rig.main().Command1.enabled());
  EXPECT_EQ(rig.main().caption(), forms::kStandardTitle);
  EXPECT_EQ(rig.wire(), "AT\rAT+CMEE=1\rAT+CPIN?\rAT+CGMI\rAT+CSQ\rAT+CREG?\rAT+CSQ\r");
}

TEST(ModuleInit, ModuleSwitchedOffCountsDownToModuleError) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.app->activate();
  rig.modem.config().powered = false;  // found, then switched off
  std::vector<std::string> countdown;
  rig.main().Label25.Change.connect([&] {
    const std::string& c = rig.main().Label25.caption();
    if (c.rfind("wait for connect", 0) == 0) countdown.push_back(c);
  });
  rig.runUntil([&] { return !rig.dialogs.shown.empty(); }, Millis(300000));
  ASSERT_EQ(countdown.size(), 30u);
  EXPECT_EQ(countdown.front(), "wait for connect - 29 sec.");
  EXPECT_EQ(countdown.back(), "wait for connect - 0 sec.");
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].title, "Module - Error");
  EXPECT_EQ(rig.dialogs.shown[0].text, "D7O not available, check all connections !!!");
  EXPECT_FALSE(rig.main().Timer2.enabled());
  EXPECT_TRUE(rig.main().Command1.enabled());
  EXPECT_TRUE(rig.main().Command2.enabled());
  EXPECT_EQ(rig.state().link.initTickCount, 0);
}

TEST(ModuleInit, SimErrors) {
  struct Case {
    const char* name;
    sim::SimCard sim;
    const char* status;
  };
  const Case cases[] = {{"unreadable", sim::SimCard::Unreadable, "...can't read SIM card"},
                        {"missing", sim::SimCard::Missing, "...no SIM card inserted..."}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ModemConfig config;
    config.sim = c.sim;
    Rig rig(config);
    rig.writeDefaultIni();
    ASSERT_TRUE(rig.start());
    rig.app->activate();
    rig.runUntil([&] { return !rig.dialogs.shown.empty(); });
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "SIM card Error, please check");
    EXPECT_EQ(rig.dialogs.shown[0].title, "E r r o r");
    EXPECT_EQ(rig.dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(rig.main().Label25.caption(), c.status);
    EXPECT_EQ(rig.main().caption(), forms::kStandardTitle);
    EXPECT_TRUE(rig.main().Command1.enabled()) << "ERROR re-enables INIT";
  }
}

TEST(ModuleInit, InitButtonRestartsTheSequenceOnlyOnceAModemAnswered) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.main().Command1.click();
  EXPECT_FALSE(rig.main().Timer2.enabled()) << "no modem yet: INIT does nothing";
  ASSERT_TRUE(rig.bringUp());
  rig.wire();
  rig.main().List3.addItem("old");
  rig.main().Command1.click();
  EXPECT_TRUE(rig.main().List3.empty());
  EXPECT_FALSE(rig.main().Command1.enabled());
  EXPECT_EQ(rig.main().Label2.backColor(), colors::kRed);
  EXPECT_TRUE(rig.main().Timer2.enabled());
  ASSERT_TRUE(rig.runUntil([&] { return rig.main().Label2.backColor() == colors::kGreen; }))
      << rig.wire();
}

TEST(ModuleInit, EnterPinSendsWhatWasTyped) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  rig.run(Millis(1000));
  rig.wire();
  rig.dialogs.answerInput("1234");
  rig.main().Command2.click();
  EXPECT_EQ(rig.dialogs.shown.back().text, "Enter PIN");
  EXPECT_EQ(rig.dialogs.shown.back().defaultText, "5937");
  EXPECT_EQ(rig.wire(), "AT+CPIN=1234\r");
  rig.main().Command2.click();  // cancelled
  EXPECT_EQ(rig.wire(), "");
}

TEST(FieldStrength, ReadingsInDbmAndOnTheGauge) {
  struct Case {
    const char* reply;
    const char* label;
    int gauge;
    forms::Color lamp;
  };
  const Case cases[] = {
      {"+CSQ: 17,99", "-79 dbm", 51, colors::kRed},
      {"+CSQ: 31,99", "-51 dbm", 93, colors::kRed},
      {"+CSQ: 0,99", "-113 dbm", 0, colors::kRed},
      {"+CSQ: 7,99", "-99 dbm", 21, colors::kRed},
      {"+CSQ: 99,99", "RSSI not detectable", 0, colors::kLightRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    Rig rig;
    rig.startWithOpenPort();
    rig.main().Gauge1.setValue(40);
    rig.fromModem(std::string(c.reply) + "\r\n");
    rig.run(Millis(100));
    EXPECT_EQ(rig.main().Label25.caption(), c.label);
    EXPECT_EQ(rig.main().Gauge1.value(), c.gauge);
    EXPECT_EQ(rig.main().Label2.backColor(), c.lamp);
  }
}

TEST(Firmware, VersionDecidesTheAlarmAndGpsTabs) {
  struct Case {
    const char* name;
    const char* firmware;
    bool supported;
  };
  const Case cases[] = {{"V1.63", "V1.63", true},
                        {"V1.50", "V1.50", true},
                        {"V1.51", "V1.51", false},
                        {"none", "", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ModemConfig config;
    config.firmware = c.firmware;
    Rig rig(config);
    ASSERT_TRUE(rig.bringUp());
    rig.run(Millis(1000));
    EXPECT_EQ(rig.state().link.firmwareSupported, c.supported);
    auto& tab = rig.main().Tab1;
    tab.setTab(forms::tabs::kAlarm);
    if (c.supported) {
      EXPECT_EQ(tab.tab(), forms::tabs::kAlarm);
      EXPECT_TRUE(rig.dialogs.shown.empty());
    } else {
      EXPECT_EQ(tab.tab(), forms::tabs::kTerminal);
      ASSERT_EQ(rig.dialogs.shown.size(), 1u);
      EXPECT_EQ(rig.dialogs.shown[0].title, "Firmware ERROR ");
      EXPECT_EQ(rig.dialogs.shown[0].text,
                "Firmware revision incorrect or\ndevice is not a R7O-3 Alarm/GPS\nplease install "
                "the newest Firmware");
    }
  }
}

TEST(TabGating, WithoutAModemOnlyTheTerminalVoiceAndAboutTabsOpen) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  auto& tab = rig.main().Tab1;
  for (int t : {forms::tabs::kSms, forms::tabs::kOptions, forms::tabs::kAlarm, forms::tabs::kGps}) {
    SCOPED_TRACE(t);
    tab.setTab(forms::tabs::kTerminal);
    tab.setTab(t);
    EXPECT_EQ(tab.tab(), forms::tabs::kVoiceCall);
  }
  tab.setTab(forms::tabs::kAbout);
  EXPECT_EQ(tab.tab(), forms::tabs::kAbout);
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(TabGating, TabChangeStopsTheIncomingCallBlink) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  rig.main().Timer3.setEnabled(true);
  rig.run(Millis(600));
  EXPECT_TRUE(rig.main().Label1.visible());
  rig.main().Tab1.setTab(forms::tabs::kVoiceCall);
  EXPECT_FALSE(rig.main().Timer3.enabled());
}

TEST(Firmware, ManufacturerReplyNamingTarvikClearsTheFlagUntilAVersionComes) {
  Rig rig;
  rig.startWithOpenPort();
  rig.fromModem("$TARVIK R7O-3 V1.62\r\n");
  rig.run(Millis(100));
  EXPECT_TRUE(rig.state().link.firmwareSupported);
  rig.fromModem("Tarvik GmbH\r\n");
  rig.run(Millis(100));
  EXPECT_FALSE(rig.state().link.firmwareSupported);
}

TEST(IChip, AnswerShowsTheLabelAndInitAddsItsLines) {
  sim::ModemConfig c;
  c.iChip = true;
  Rig rig(c);
  rig.writeDefaultIni();
  std::string ini = readFile(rig.folder.path() / "TARVIK.INI") + "\"AT+iChip\"\r\n";
  writeFile(rig.folder.path() / "TARVIK.INI", ini);
  ASSERT_TRUE(rig.start());
  EXPECT_TRUE(rig.state().link.iChipPresent);
  rig.app->activate();
  rig.runUntil([&] { return rig.main().Label2.backColor() == colors::kGreen; });
  rig.run(Millis(2000));
  const std::string wire = rig.wire();
  EXPECT_NE(wire.find("&REQ TM\rAT+iRP1\r"), std::string::npos);
  EXPECT_TRUE(rig.main().Label53.visible());
  rig.main().Command1.click();
  EXPECT_FALSE(rig.main().Label53.visible());
  EXPECT_EQ(rig.terminal(), (std::vector<std::string>{"---> iChip test funtionality activated",
                                                      "---> wait while initialization the modem"}));
}

TEST(NetworkPoll, PortClosedUnderThePollStopsItWithoutEndingTheProgram) {
  sim::ModemConfig c;
  c.pollsUntilRegistered = -1;
  Rig rig(c);
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.app->activate();
  rig.runUntil([&] { return rig.state().link.manufacturer == "Tarvik"; });
  rig.main().CTS.MouseUp.emit(forms::MouseButton::Right);  // the technician closes the port
  ASSERT_FALSE(rig.port.isOpen());
  rig.run(Millis(4000));
  EXPECT_FALSE(rig.ended());
  EXPECT_FALSE(rig.main().Timer1.enabled());
  EXPECT_TRUE(rig.main().Command1.enabled());
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

}  // namespace
}  // namespace d7o::test
