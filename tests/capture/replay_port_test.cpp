// The replay port on its own, in virtual time: bytes at their times and speeds, the
// recorded line states, a vanished device, a pause, and the rest at once.
#include "capture/replay_port.h"

#include "capture/capture_file.h"
#include "support/scripted_platform.h"
#include "support/virtual_scheduler.h"

#include <fstream>
#include <gtest/gtest.h>

namespace d7o::capture {
namespace {

using platform::Millis;

// Opens at 500 ms after the start of the recording; the device vanishes at 2500 ms and is
// back at 5500 ms.
const char* const kCapture =
    R"({"d7o_capture":1,"open":false,"port":"COM4","settings":"19200,n,8,1","start":""}
{"t":200,"ev":"settings","value":"19200,n,8,1"}
{"t":500,"ev":"open"}
{"t":500,"ev":"cts","on":true}
{"t":600,"tx":"AT\r"}
{"t":700,"rx":"OK\r\n"}
{"t":1500,"ev":"cts","on":false}
{"t":1500,"ev":"cd","on":true}
{"t":2500,"ev":"vanished"}
{"t":5500,"ev":"open"}
{"t":5600,"rx":"RING\r\n"}
{"t":6500,"rx":"NO CARRIER\r\n"}
)";

struct ReplayRig {
  ReplayRig() {
    std::ofstream(file, std::ios::binary) << kCapture;
    port = std::make_unique<ReplayPort>(scheduler, file);
    port->setReceiveHandler([this] { received += port->readAll(); });
  }
  test::TempFolder folder;
  std::filesystem::path file = folder.path() / "line.d7ocap";
  test::VirtualScheduler scheduler;
  std::unique_ptr<ReplayPort> port;
  std::string received;
};

TEST(ReplayPort, BytesAndLineStatesComeAtTheirTimesFromTheFirstOpening) {
  ReplayRig r;
  auto& port = *r.port;
  EXPECT_EQ(port.openError(), "");
  EXPECT_EQ(port.commPort(), 4);
  EXPECT_EQ(port.settings(), "19200,n,8,1");
  EXPECT_EQ(port.length(), Millis(6500));
  r.scheduler.runFor(Millis(3000));  // nothing plays before the program opens the port
  EXPECT_EQ(port.position(), Millis(0));

  ASSERT_FALSE(port.open());
  EXPECT_EQ(port.position(), Millis(500));
  EXPECT_FALSE(port.write("AT\r"));
  EXPECT_EQ(port.bytesDropped(), 3u);
  r.scheduler.runFor(Millis(199));
  EXPECT_EQ(r.received, "");
  r.scheduler.runFor(Millis(1));
  EXPECT_EQ(r.received, "OK\r\n");
  EXPECT_TRUE(port.ctsHolding());
  r.scheduler.runFor(Millis(800));  // 1500
  EXPECT_FALSE(port.ctsHolding());
  EXPECT_TRUE(port.cdHolding());

  r.scheduler.runFor(Millis(1000));  // 2500: the device goes
  EXPECT_FALSE(port.isOpen());
  EXPECT_TRUE(port.deviceLost());
  const auto refused = port.open();
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->number, platform::port_errors::kHardwareNotAvailable);
  r.scheduler.runFor(Millis(3050));  // 5550: back, not yet opened again
  EXPECT_FALSE(port.open());
  EXPECT_FALSE(port.deviceLost());
  r.scheduler.runFor(Millis(50));
  EXPECT_EQ(r.received, "OK\r\nRING\r\n");

  // Paused, the position stands; then the rest at once.
  port.setPaused(true);
  r.scheduler.runFor(Millis(5000));
  EXPECT_EQ(port.position(), Millis(5600));
  EXPECT_EQ(r.received, "OK\r\nRING\r\n");
  port.toEnd();
  r.scheduler.runFor(Millis(1));
  EXPECT_EQ(r.received, "OK\r\nRING\r\nNO CARRIER\r\n");
  EXPECT_TRUE(port.finished());
  EXPECT_EQ(port.position(), port.length());
}

TEST(ReplayPort, SpeedScalesTheWaitAndBytesDueWhileClosedWaitForTheNextOpening) {
  struct Case {
    double speed;
    Millis okAfter;  // from the opening
  };
  for (const Case& c : {Case{1, Millis(200)}, Case{4, Millis(50)}, Case{0.5, Millis(400)}}) {
    SCOPED_TRACE(c.speed);
    ReplayRig r;
    r.port->setSpeed(c.speed);
    ASSERT_FALSE(r.port->open());
    r.scheduler.runFor(c.okAfter - Millis(1));
    EXPECT_EQ(r.received, "");
    r.scheduler.runFor(Millis(1));
    EXPECT_EQ(r.received, "OK\r\n");
  }
  ReplayRig r;
  ASSERT_FALSE(r.port->open());
  r.port->close();
  r.scheduler.runFor(Millis(1000));
  EXPECT_EQ(r.received, "");
  ASSERT_FALSE(r.port->open());
  r.scheduler.runFor(Millis(0));
  EXPECT_EQ(r.received, "OK\r\n");
}

TEST(ReplayPort, AFileThatIsNoCaptureSaysWhyAndPlaysNothing) {
  test::TempFolder folder;
  test::VirtualScheduler scheduler;
  ReplayPort missing(scheduler, folder.path() / "none.d7ocap");
  EXPECT_NE(missing.openError().find("none.d7ocap"), std::string::npos);
  EXPECT_TRUE(missing.finished());

  const auto newer = folder.path() / "newer.d7ocap";
  std::ofstream(newer, std::ios::binary) << "{\"d7o_capture\":7}\n";
  ReplayPort future(scheduler, newer);
  EXPECT_NE(future.openError().find("byte 0: capture format 7 is newer"), std::string::npos)
      << future.openError();
}

}  // namespace
}  // namespace d7o::capture
