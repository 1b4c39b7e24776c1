// The serial device pulled out under an open port and put back in.
#include "link/port_watch.h"

#include "support/rig.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;

TEST(PortWatch, AGoneDeviceIsToldOnceAndReopenedWhenItIsBack) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  rig.port.unplug();
  rig.run(Millis(300));
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_NE(rig.dialogs.shown[0].text.find("COM1: is gone"), std::string::npos);
  EXPECT_EQ(w.List3.items().back(),
            "...the serial device of COM1: is gone; waiting for it to return");
  EXPECT_EQ(w.Text3.text(), "Port closed or modem not connected");

  rig.run(Millis(10000));
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.dialogs.shown.size(), 1u) << "told once, not every second";

  rig.port.replug();
  rig.run(Millis(1500));
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_EQ(w.List3.items().back(), "...the serial device of COM1: is back: port open again");
  EXPECT_EQ(w.Text3.text(), "Port open");
  rig.wire();
  rig.send("AT");
  EXPECT_EQ(rig.modem.commandLog().back(), "AT") << "the modem hears the program again";
}

// Nobody at the bench: the notice waits for no OK, the clock goes on, the port comes back
// by itself, and what the modem said before it went shows as unknown.
TEST(PortWatch, TheNoticeWaitsForNobodyAndStaleReadingsShowAsUnknown) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  auto& w = rig.main();
  ASSERT_EQ(w.Label2.backColor(), forms::colors::kGreen);
  rig.port.unplug();
  rig.run(Millis(300));
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].kind, ScriptedDialogs::Shown::Kind::Notice)
      << "a box that blocks holds the reopening until someone presses OK";
  EXPECT_NE(w.Label2.backColor(), forms::colors::kGreen) << "registration unknown";
  EXPECT_EQ(w.Gauge1.value(), 0);
  EXPECT_EQ(w.Label25.caption(), "field strength unknown");

  rig.port.replug();
  rig.run(Millis(2000));
  EXPECT_TRUE(rig.port.isOpen()) << "reopened within 2 s, nobody pressing anything";
  EXPECT_EQ(w.List3.items().back(), "...the serial device of COM1: is back: port open again");
}

// The adapter pulled out while the module wakes up or is polled: no blame on TARVIK.INI,
// no end; the initialisation goes on once the device is back.
TEST(PortWatch, ADeviceGoneDuringTheInitialisationIsWaitedFor) {
  struct Case {
    const char* name;
    Millis after;
  };
  for (const Case c : {Case{"wake-up", Millis(0)}, Case{"network poll", Millis(2500)}}) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startAnswered();
    auto& w = rig.main();
    w.Command1.click();  // INIT
    rig.run(c.after);
    rig.port.unplug();
    rig.run(Millis(5000));
    EXPECT_FALSE(rig.ended());
    for (const std::string& text : rig.dialogs.messageTexts()) {
      EXPECT_EQ(text.find("check INI-File"), std::string::npos) << text;
    }
    EXPECT_EQ(w.List3.items().back(),
              "...the serial device of COM1: is gone; waiting for it to return");
    rig.port.replug();
    EXPECT_TRUE(
        rig.runUntil([&] { return w.Label2.backColor() == forms::colors::kGreen; }, Millis(60000)))
        << "the initialisation ends as if nothing happened: " << w.Text3.text();
    EXPECT_FALSE(rig.ended());
  }
}

// Where the system tells who the device is, only the one that went is opened again:
// another adapter at the same place is named in the terminal and left alone.
TEST(PortWatch, AnotherDeviceAtThePlaceIsNamedAndNotOpened) {
  Rig rig;
  rig.port.setIdentity("0403:6001 A10K5JX4");
  rig.startAnswered();
  ASSERT_TRUE(rig.port.isOpen());
  ASSERT_EQ(rig.port.openedIdentity(), "0403:6001 A10K5JX4");
  auto& w = rig.main();
  rig.port.unplug();
  rig.run(Millis(300));
  rig.port.replug("067b:2303 OTHER1");
  rig.run(Millis(5000));
  EXPECT_FALSE(rig.port.isOpen());
  const auto& lines = w.List3.items();
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "...another device is at COM1: (067b:2303 OTHER1, not 0403:6001 "
                       "A10K5JX4): not opened; waiting for the one that was there"),
            1)
      << "named once";

  // A send meanwhile says the device is gone, not that the port number is wrong.
  rig.dialogs.shown.clear();
  w.CommandLine.setText("AT");
  w.CommandLine.KeyUp.emit(forms::TextBox::kEnterKey);
  EXPECT_FALSE(rig.port.isOpen()) << "a send opens no other device";
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].text.find("Error No.: 8002"), std::string::npos);
  EXPECT_NE(rig.dialogs.shown[0].text.find("COM1: is gone"), std::string::npos)
      << rig.dialogs.shown[0].text;

  // The one that went is back.
  rig.port.unplug();
  rig.port.replug("0403:6001 A10K5JX4");
  rig.run(Millis(1500));
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_EQ(w.List3.items().back(), "...the serial device of COM1: is back: port open again");
}

TEST(PortWatch, APortTheUserClosesIsNotReopened) {
  Rig rig;
  rig.startAnswered();
  rig.port.close();
  rig.run(Millis(3000));
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

}  // namespace
}  // namespace d7o::test
