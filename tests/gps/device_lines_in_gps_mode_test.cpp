// In GPS receive mode every reply goes to the analyzer. The device's own lines name the
// sentences too (the echo of "&CNF GPS,GPRMC,100", the "$CNF GPS,..." line of its
// configuration report) but carry none of their values: the analyzer keeps what it shows
// until the next real sentence.
#include "gps/analyzer.h"
#include "link/serial_link.h"
#include "support/rig.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;

constexpr const char* kRmc =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
constexpr const char* kGsv =
    "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n";

TEST(GpsReceiveMode, DeviceLinesLeaveTheAnalyzerAsItWas) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> act;
  };
  const Case cases[] = {
      {"a protocol box clicked",
       [](Rig& rig) { rig.app->context().gpsForm.Check3.setChecked(false); }},
      {"the configuration read", [](Rig& rig) { rig.app->link().sendCommand("&REQ CNF"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startWithOpenPort();
    rig.fromModem(kRmc);
    rig.fromModem(kGsv);
    rig.run(Millis(100));
    ASSERT_TRUE(rig.state().dispatch.gpsReceiveMode);
    const gps::Analyzer& analyzer = rig.app->gpsAnalyzer();
    c.act(rig);
    gps::GpsFix before = analyzer.fix();
    // The device's answer: its echo, any report lines, then "$CNFOK".
    ASSERT_TRUE(rig.runUntil([&] {
      const auto lines = rig.terminal();
      return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("$CNFOK") != std::string::npos;
      });
    }));
    gps::GpsFix after = analyzer.fix();
    // Only the last received text follows every reply.
    before.gpsString = after.gpsString;
    EXPECT_EQ(after, before);
    EXPECT_EQ(after.utc, before.utc);
    EXPECT_EQ(after.inView, before.inView);
  }
}

}  // namespace
}  // namespace d7o::test
