// Bring-up against a modem still reading its SIM (d7o-sim --sim-busy): the program's SIM
// query meets "+CME ERROR: 14", and INIT brings the module up once the SIM is read.
#include "support/rig.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;

TEST(SimBusyBringUp, TheErrorShowsAndInitLaterSucceeds) {
  sim::ModemConfig config;
  config.simBusyTime = Millis(30000);
  Rig rig(config);
  EXPECT_FALSE(rig.bringUp(Millis(25000)));
  const auto lines = rig.terminal();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "+CME ERROR: 14  "), lines.end());
  EXPECT_EQ(rig.wire().find("AT+CGMI"), std::string::npos) << "no further than the SIM";
  EXPECT_TRUE(rig.main().Command1.enabled()) << "INIT can try again";
  EXPECT_TRUE(rig.dialogs.shown.empty());

  rig.run(Millis(10000));  // the SIM is read by now
  rig.main().Command1.click();
  EXPECT_TRUE(rig.runUntil([&] { return rig.main().Label2.backColor() == forms::colors::kGreen; },
                           Millis(60000)));
  EXPECT_EQ(rig.main().Label25.caption(), "-79 dbm");
}

}  // namespace
}  // namespace d7o::test
