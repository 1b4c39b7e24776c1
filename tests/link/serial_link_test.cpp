// The serial link as the technician uses it: command lines on the wire, the handshake box
// and its test, the CTS lamp, switching ports, and waits in virtual time.
#include "link/serial_link.h"

#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using forms::MouseButton;
using platform::Handshaking;
using platform::Millis;
namespace colors = forms::colors;

TEST(SerialLink, CommandLineIsTheTextAndOneCarriageReturn) {
  Rig rig;
  rig.startWithOpenPort();
  rig.app->link().sendCommand("AT+CSQ");
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");
  const auto error = rig.app->link().sendCommand("");
  EXPECT_FALSE(error);
  EXPECT_EQ(rig.wire(), "\r");
}

TEST(SerialLink, WritingToAClosedPortIsAnErrorNotASilentLoss) {
  Rig rig;
  rig.writeDefaultIni();
  rig.start();
  const auto error = rig.app->link().sendCommand("AT");
  ASSERT_TRUE(error);
  EXPECT_EQ(link::SerialLink::errorText(*error),
            "Error No.: 8018 - Operation valid only when the port is open");
}

TEST(Handshake, ClearingTheBoxSendsZeroWithoutATest) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  ASSERT_TRUE(w.Check5.checked()) << "the box starts ticked";
  EXPECT_EQ(rig.wire(), "") << "nothing is sent for it at start";
  const Millis before = rig.scheduler.now();
  w.Check5.setChecked(false);
  EXPECT_EQ(rig.wire(), "AT+IFC=0,0\r");
  EXPECT_EQ(rig.scheduler.now(), before);
  EXPECT_FALSE(w.Label7.visible());
  EXPECT_FALSE(w.Label16.enabled());
  EXPECT_EQ(rig.port.handshaking(), Handshaking::None);
  rig.run(Millis(200));
  EXPECT_FALSE(rig.state().link.hwHandshakeReported);
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(Handshake, TickingWithAModemThatEchoesSucceeds) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  w.Check5.setChecked(false);
  rig.run(Millis(200));
  rig.wire();
  w.Check5.setChecked(true);
  EXPECT_EQ(rig.wire(), "AT+IFC=2,2\r");
  EXPECT_TRUE(rig.state().link.hwHandshakeReported);
  EXPECT_EQ(w.Check5.caption(), "Hardware Handshake");
  EXPECT_TRUE(w.Check5.checked());
  EXPECT_TRUE(w.Label7.visible());
  EXPECT_TRUE(w.Label16.enabled());
  EXPECT_EQ(rig.port.handshaking(), Handshaking::RtsCts);
  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_LT(rig.scheduler.now(), Millis(1000)) << "the echo ends the wait early";
}

TEST(Handshake, ModemWithoutEchoTimesOutAfterThreeSeconds) {
  sim::ModemConfig config;
  config.echo = false;
  Rig rig(config);
  rig.startWithOpenPort();
  auto& w = rig.main();
  w.Check5.setChecked(false);
  rig.run(Millis(200));
  rig.wire();
  const Millis start = rig.scheduler.now();
  // The caption says "please wait" while the test runs.
  std::vector<std::string> captions;
  w.Check5.changed.connect([&] {
    if (captions.empty() || captions.back() != w.Check5.caption())
      captions.push_back(w.Check5.caption());
  });
  w.Check5.setChecked(true);
  EXPECT_EQ(captions, (std::vector<std::string>{"Handshake RTS/CTS", "...please wait...",
                                                "Hardware Handshake"}));
  EXPECT_EQ(rig.scheduler.now() - start, Millis(3000));
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].text, "Handshake - Error, please check Connections");
  EXPECT_EQ(rig.dialogs.shown[0].title, "Error");
  EXPECT_EQ(rig.dialogs.shown[0].icon, platform::MessageIcon::Critical);
  EXPECT_EQ(w.Check5.caption(), "Hardware Handshake");
  EXPECT_FALSE(w.Check5.checked());
  EXPECT_EQ(rig.port.handshaking(), Handshaking::None);
  // The cleared box tells the modem to stop handshaking too.
  EXPECT_EQ(rig.wire(), "AT+IFC=2,2\rAT+IFC=0,0\r");
}

TEST(Handshake, TickingWithThePortClosedSaysWhyOnce) {
  Rig rig;
  rig.writeDefaultIni();
  rig.start();
  auto& w = rig.main();
  w.Check5.setChecked(false);
  rig.dialogs.shown.clear();
  w.Check5.setChecked(true);
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].text,
            "Error No.: 8018 - Operation valid only when the port is open");
  EXPECT_FALSE(w.Check5.checked());
  EXPECT_EQ(w.Check5.caption(), "Hardware Handshake");
}

TEST(CtsLamp, RightClickTogglesThePortAndThePollPaintsTheState) {
  Rig rig;
  rig.writeDefaultIni();
  rig.start();
  auto& w = rig.main();
  rig.run(Millis(150));
  EXPECT_EQ(w.CTS.fillColor(), colors::kRed);
  EXPECT_EQ(w.Text3.text(), "Port closed or modem not connected");

  w.CTS.MouseUp.emit(MouseButton::Left);
  EXPECT_FALSE(rig.port.isOpen()) << "a left click does nothing";

  w.CTS.MouseUp.emit(MouseButton::Right);
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_EQ(w.CTS.fillColor(), colors::kLightRed) << "light red until the next poll";
  rig.run(Millis(100));
  EXPECT_EQ(w.CTS.fillColor(), colors::kGreen);
  EXPECT_EQ(w.Text3.text(), "Port open");

  w.CTS.MouseUp.emit(MouseButton::Right);
  EXPECT_FALSE(rig.port.isOpen());
  rig.run(Millis(100));
  EXPECT_EQ(w.CTS.fillColor(), colors::kRed);
  EXPECT_EQ(w.Text3.text(), "Port closed or modem not connected");
}

TEST(CtsLamp, ModemSwitchedOffShowsRedOnAnOpenPort) {
  sim::ModemConfig config;
  config.powered = false;
  Rig rig(config);
  rig.startWithOpenPort();
  rig.run(Millis(100));
  EXPECT_EQ(rig.main().CTS.fillColor(), colors::kRed);
}

TEST(CtsLamp, PortThatCannotBeOpenedIsReported) {
  Rig rig;
  rig.writeDefaultIni("5");
  rig.start();
  rig.port.setMissingPorts({5});
  rig.main().CTS.MouseUp.emit(MouseButton::Right);
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.dialogs.messageTexts(),
            std::vector<std::string>{"Error No.: 8002 - Invalid Port Number"});
}

TEST(PortSwitch, ClosesTakesTheNumberOpensAndSaysSo) {
  Rig rig;
  rig.startWithOpenPort();
  rig.app->link().switchPort(3);
  EXPECT_EQ(rig.port.commPort(), 3);
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_EQ(rig.main().Text1.text(), "COM3:");
  EXPECT_EQ(rig.terminal(), std::vector<std::string>{"...COM port switched to COM3:"});

  rig.port.setMissingPorts({4});
  rig.app->link().switchPort(4);
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.terminal().size(), 1u) << "no success line for a port that did not open";
  EXPECT_EQ(rig.dialogs.messageTexts(),
            std::vector<std::string>{"Error No.: 8002 - Invalid Port Number"});
}

TEST(Waits, DelayPassesVirtualTimeWhileRepliesAreHandled) {
  Rig rig;
  rig.startWithOpenPort();
  rig.app->link().sendCommand("AT");
  const Millis start = rig.scheduler.now();
  rig.app->link().Delay(2);
  EXPECT_EQ(rig.scheduler.now() - start, Millis(2000));
  EXPECT_EQ(rig.terminal(), (std::vector<std::string>{"AT   ", "OK  "}));
}

TEST(Timers, ClockLabelShowsThePcTime) {
  Rig rig;
  rig.writeDefaultIni();
  rig.start();
  rig.host.clock = {2026, 12, 8, 7, 5, 3};
  rig.run(Millis(100));
  EXPECT_EQ(rig.main().Label48.caption(), "07:05:03");
}

}  // namespace
}  // namespace d7o::test
