#include "sim/pty_link.h"

#include "sim/modem_engine.h"

#include <array>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

namespace d7o::sim {
namespace {

using std::chrono::steady_clock;
using namespace std::chrono_literals;

// A program on the device side, the way a terminal program opens a serial port.
class Client {
 public:
  explicit Client(const std::string& path)
      : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
  ~Client() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool isOpen() const { return m_fd >= 0; }

  bool setRaw(speed_t speed) {
    termios settings{};
    if (::tcgetattr(m_fd, &settings) != 0) return false;
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0) {
      return false;
    }
    return ::tcsetattr(m_fd, TCSANOW, &settings) == 0;
  }

  bool write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  // Whatever has arrived so far, without waiting.
  std::string readAvailable() {
    std::string out;
    std::array<char, 4096> buffer{};
    for (;;) {
      const ssize_t n = ::read(m_fd, buffer.data(), buffer.size());
      if (n <= 0) break;
      out.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return out;
  }

 private:
  int m_fd;
};

class PtyLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    if (!link.open(error)) GTEST_SKIP() << "no pseudo-terminals here: " << error;
  }

  // Serves the modem and collects what the client receives until `done` says so or
  // `limit` passes.
  std::string exchange(Client& client, std::chrono::milliseconds limit,
                       const std::function<bool(const std::string&)>& done) {
    std::string received;
    const auto end = steady_clock::now() + limit;
    while (steady_clock::now() < end) {
      link.pollOnce(5ms);
      received += client.readAvailable();
      if (done && done(received)) break;
    }
    return received;
  }

  PtyClock clock;
  ModemEngine modem{clock, ModemConfig{}};
  PtyLink link{clock, modem};
};

TEST_F(PtyLinkTest, AnswersAtCommandAtItsRate) {
  Client client(link.devicePath());
  ASSERT_TRUE(client.isOpen());
  ASSERT_TRUE(client.setRaw(B9600));
  EXPECT_EQ(link.programBaud(), 9600);

  ASSERT_TRUE(client.write("AT\r"));
  std::string received = exchange(
      client, 2s, [](const std::string& r) { return r.find("OK\r\n") != std::string::npos; });
  // A little longer, so anything sent after the final result would show too.
  received += exchange(client, 50ms, nullptr);

  EXPECT_EQ(received, "AT\r\r\nOK\r\n");
}

TEST_F(PtyLinkTest, ProgramAtAnotherRateGetsNoReply) {
  Client client(link.devicePath());
  ASSERT_TRUE(client.isOpen());
  ASSERT_TRUE(client.setRaw(B115200));
  EXPECT_EQ(link.programBaud(), 115200);

  ASSERT_TRUE(client.write("AT\r"));
  const std::string received = exchange(client, 150ms, nullptr);

  EXPECT_EQ(received.find("OK"), std::string::npos);
  EXPECT_EQ(received.find('\n'), std::string::npos);

  // What the modem does send reaches it as noise, with no line end to complete.
  modem.sendUnsolicited("\r\nRING\r\n");
  const std::string noise =
      exchange(client, 100ms, [](const std::string& r) { return !r.empty(); });
  EXPECT_FALSE(noise.empty());
  EXPECT_EQ(noise.find("RING"), std::string::npos);
  EXPECT_EQ(noise.find_first_of("\r\n"), std::string::npos);
}

// gammu leaves the rate at 0 once the terminal refuses DTR; the line still works.
TEST_F(PtyLinkTest, ProgramThatSetsNoRateIsOnTheModems) {
  Client client(link.devicePath());
  ASSERT_TRUE(client.isOpen());
  ASSERT_TRUE(client.setRaw(B0));
  EXPECT_EQ(link.programBaud(), 9600);

  ASSERT_TRUE(client.write("AT\r"));
  const std::string received = exchange(
      client, 2s, [](const std::string& r) { return r.find("OK\r\n") != std::string::npos; });
  EXPECT_EQ(received, "AT\r\r\nOK\r\n");
}

TEST_F(PtyLinkTest, DeviceCanBeReopenedAfterTheProgramClosesIt) {
  {
    Client first(link.devicePath());
    ASSERT_TRUE(first.isOpen());
    ASSERT_TRUE(first.setRaw(B9600));
  }
  link.runFor(20ms);

  Client second(link.devicePath());
  ASSERT_TRUE(second.isOpen());
  ASSERT_TRUE(second.setRaw(B9600));
  ASSERT_TRUE(second.write("AT\r"));
  const std::string received = exchange(
      second, 2s, [](const std::string& r) { return r.find("OK\r\n") != std::string::npos; });

  EXPECT_EQ(received, "AT\r\r\nOK\r\n");
}

// A dialler that leaves without hanging up: closing the device is the DTR drop, so the
// call ends (AT&D2) and the next program finds the modem in command mode, with nothing
// stale waiting for it. With AT&D0 the call survives the close.
TEST_F(PtyLinkTest, ClosingTheDeviceDropsDtr) {
  modem.config().dataConnectDelay = Millis(100);
  for (const char* dtrMode : {"AT&D2\r", "AT&D0\r"}) {
    SCOPED_TRACE(dtrMode);
    const bool hangsUp = std::string_view(dtrMode) == "AT&D2\r";
    {
      Client dialler(link.devicePath());
      ASSERT_TRUE(dialler.setRaw(B9600));
      ASSERT_TRUE(dialler.write(std::string(dtrMode) + "ATD0301234\r"));
      const std::string received = exchange(dialler, 5s, [](const std::string& r) {
        return r.find("CONNECT 9600\r\n") != std::string::npos;
      });
      ASSERT_NE(received.find("CONNECT 9600"), std::string::npos) << received;
      ASSERT_TRUE(modem.onlineDataMode());
      EXPECT_EQ(link.openers(), 1);
    }
    link.runFor(50ms);
    EXPECT_EQ(link.openers(), 0);
    EXPECT_EQ(modem.dataCallState(), hangsUp ? DataCallState::Idle : DataCallState::Connected);
    if (!hangsUp) {
      modem.remoteHangUp();
      link.runFor(50ms);
      continue;
    }
    Client next(link.devicePath());
    ASSERT_TRUE(next.setRaw(B9600));
    ASSERT_TRUE(next.write("AT\r"));
    const std::string received = exchange(
        next, 2s, [](const std::string& r) { return r.find("OK\r\n") != std::string::npos; });
    EXPECT_EQ(received, "AT\r\r\nOK\r\n") << "no NO CARRIER left over";
  }
  EXPECT_EQ(modem.dtrPulses(), 3) << "each last close is one drop";
}

TEST_F(PtyLinkTest, OutputLargerThanTheTerminalBufferArrivesWhole) {
  Client client(link.devicePath());
  ASSERT_TRUE(client.isOpen());
  ASSERT_TRUE(client.setRaw(B9600));

  std::string payload;
  for (int i = 0; payload.size() < 300'000; ++i) payload += std::to_string(i) + ',';
  // The client reads nothing yet: the terminal fills and the rest must wait, not block.
  link.send(payload);
  EXPECT_GT(link.queuedBytes(), 0u);

  const std::string received =
      exchange(client, 2s, [&](const std::string& r) { return r.size() >= payload.size(); });

  EXPECT_EQ(received.size(), payload.size());
  EXPECT_TRUE(received == payload);
  EXPECT_EQ(link.queuedBytes(), 0u);
  EXPECT_EQ(link.droppedBytes(), 0u);
}

TEST_F(PtyLinkTest, ClockRunsActionsInTimeOrder) {
  std::string order;
  clock.after(20ms, [&] { order += 'b'; });
  clock.after(0ms, [&] { order += 'a'; });
  clock.after(20ms, [&] { order += 'c'; });
  EXPECT_EQ(clock.pending(), 3u);

  link.runFor(60ms);

  EXPECT_EQ(order, "abc");
  EXPECT_EQ(clock.pending(), 0u);
}

TEST(PtyBaud, MapsTerminalSpeeds) {
  EXPECT_EQ(baudOfSpeed(B2400), 2400);
  EXPECT_EQ(baudOfSpeed(B9600), 9600);
  EXPECT_EQ(baudOfSpeed(B115200), 115200);
  EXPECT_EQ(baudOfSpeed(B0), 0);
  EXPECT_EQ(speedOfBaud(57600), B57600);
  EXPECT_FALSE(speedOfBaud(9601).has_value());
}

}  // namespace
}  // namespace d7o::sim
