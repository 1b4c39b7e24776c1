// The serial device pulled out under an open port and put back in.
#include "link/port_watch.h"

#include "support/rig.h"

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
