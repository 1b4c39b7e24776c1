// QtSerialPort on a pseudo-terminal: the device side is the master end, the port under
// test opens the slave end through REZEDEV7_COM<n>.

#include "ui/qt_serial_port.h"

#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

#include <QTest>

namespace d7o::ui {
namespace {

namespace errors = platform::port_errors;

constexpr int kPort = 5;
constexpr int kWaitMs = 2000;

// The device's end of a pseudo-terminal.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return;
    if (const char* name = ::ptsname(m_master)) m_slavePath = name;
  }
  ~PseudoTerminal() { closeMaster(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool valid() const { return !m_slavePath.empty(); }
  const std::string& slavePath() const { return m_slavePath; }

  bool send(const std::string& bytes) {
    return ::write(m_master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // All of `bytes`, as fast as the other side takes them.
  bool flood(std::string bytes, int timeoutMs) {
    return QTest::qWaitFor(
        [&] {
          const ssize_t n = ::write(m_master, bytes.data(), bytes.size());
          if (n > 0) bytes.erase(0, static_cast<std::size_t>(n));
          return bytes.empty();
        },
        timeoutMs);
  }
  std::string received() {
    std::string out;
    std::array<char, 256> buffer{};
    for (ssize_t n; (n = ::read(m_master, buffer.data(), buffer.size())) > 0;) {
      out.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return out;
  }
  void closeMaster() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
  }

 private:
  int m_master = -1;
  std::string m_slavePath;
};

class QtSerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!pty.valid()) GTEST_SKIP() << "no pseudo-terminals here";
    qputenv("REZEDEV7_COM5", QByteArray::fromStdString(pty.slavePath()));
    ASSERT_FALSE(port.setCommPort(kPort).has_value());
  }
  void TearDown() override { qunsetenv("REZEDEV7_COM5"); }

  PseudoTerminal pty;
  QtSerialPort port;
};

TEST_F(QtSerialPortTest, PortNumbersNameTheirDevices) {
  EXPECT_EQ(QtSerialPort::deviceForPort(1), QStringLiteral("/dev/ttyS0"));
  EXPECT_EQ(QtSerialPort::deviceForPort(16), QStringLiteral("/dev/ttyS15"));
  EXPECT_EQ(QtSerialPort::deviceForPort(kPort), QString::fromStdString(pty.slavePath()));
  for (const int bad : {0, 17, -1}) {
    SCOPED_TRACE(bad);
    const auto error = port.setCommPort(bad);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, errors::kInvalidPortNumber);
    EXPECT_EQ(port.commPort(), kPort);
  }
}

TEST_F(QtSerialPortTest, AMissingDeviceIsAnInvalidPortNumberNamingTheDevice) {
  qputenv("REZEDEV7_COM5", "/dev/no-such-modem");
  const auto error = port.open();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, errors::kInvalidPortNumber);
  EXPECT_NE(error->description.find("/dev/no-such-modem"), std::string::npos);
  EXPECT_FALSE(port.isOpen());
}

TEST_F(QtSerialPortTest, ADeviceThatIsNoSerialLineIsNotAvailable) {
  qputenv("REZEDEV7_COM5", "/dev/null");
  const auto error = port.open();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, errors::kHardwareNotAvailable);
  EXPECT_NE(error->description.find("/dev/null"), std::string::npos) << error->description;
  EXPECT_FALSE(port.isOpen());
}

TEST_F(QtSerialPortTest, AClosedPortRefusesToWriteAndReadsLow) {
  const auto error = port.write("AT\r");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, errors::kPortNotOpen);
  EXPECT_FALSE(port.ctsHolding());
  EXPECT_FALSE(port.cdHolding());
  EXPECT_EQ(port.readAll(), "");
}

TEST_F(QtSerialPortTest, OpensOnceAndRefusesAnotherNumberWhileOpen) {
  ASSERT_FALSE(port.open().has_value());
  EXPECT_TRUE(port.isOpen());
  const auto again = port.open();
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->number, errors::kPortAlreadyOpen);
  const auto other = port.setCommPort(kPort + 1);
  ASSERT_TRUE(other.has_value());
  EXPECT_EQ(other->number, errors::kPortAlreadyOpen);
  port.close();
  EXPECT_FALSE(port.isOpen());
}

TEST_F(QtSerialPortTest, APseudoTerminalCountsAsCtsHighAndSkipsLineSignalsQuietly) {
  ASSERT_FALSE(port.open().has_value());
  port.setDtr(true);
  port.setRts(false);
  port.setBreak(true);
  port.setBreak(false);
  port.setHandshaking(platform::Handshaking::RtsCts);
  EXPECT_EQ(port.handshaking(), platform::Handshaking::RtsCts);
  EXPECT_TRUE(port.isOpen());
  EXPECT_TRUE(port.ctsHolding());
  EXPECT_FALSE(port.cdHolding());
}

TEST_F(QtSerialPortTest, SettingsAreCheckedAndAppliedToAnOpenPort) {
  ASSERT_FALSE(port.setSettings("115200,n,8,1").has_value());
  EXPECT_EQ(port.settings(), "115200,n,8,1");
  ASSERT_FALSE(port.open().has_value());
  ASSERT_FALSE(port.setSettings("19200,e,7,1").has_value());
  EXPECT_EQ(port.settings(), "19200,e,7,1");
  const auto bad = port.setSettings("19200,q,7,1");
  ASSERT_TRUE(bad.has_value());
  EXPECT_EQ(port.settings(), "19200,e,7,1");
}

TEST_F(QtSerialPortTest, BytesGoOutAsTheyAreAndArrivalsAreAnnouncedFromTheEventLoop) {
  int announcements = 0;
  std::string received;
  port.setReceiveHandler([&] {
    ++announcements;
    received += port.readAll();
  });
  ASSERT_FALSE(port.open().has_value());

  ASSERT_FALSE(port.write("AT+CSQ\r").has_value());
  std::string sent;
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        sent += pty.received();
        return sent == "AT+CSQ\r";
      },
      kWaitMs));

  ASSERT_TRUE(pty.send("\r\n+CSQ: 17,99\r\n"));
  ASSERT_TRUE(pty.send("\r\nOK\r\n"));
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return received == "\r\n+CSQ: 17,99\r\n\r\nOK\r\n"; }, kWaitMs));
  EXPECT_GE(announcements, 1);
}

// A streaming device arrives in pieces of a few dozen bytes every few milliseconds; the
// port rests a little after a small read and takes what came meanwhile together. Every
// byte still arrives once and in order, a piece that comes alone after a rest is read
// without anything more arriving, and a flood is read whole.
TEST_F(QtSerialPortTest, PiecesRestsAndAFloodAllArriveInOrder) {
  std::string received;
  port.setReceiveHandler([&] { received += port.readAll(); });
  ASSERT_FALSE(port.open().has_value());

  std::string expected;
  for (int i = 0; i < 60; ++i) {
    const std::string sentence = "$GPGGA," + std::to_string(i) + ",4807.038,N,01131.000,E*47\r\n";
    ASSERT_TRUE(pty.send(sentence));
    expected += sentence;
    QTest::qWait(2);
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return received == expected; }, kWaitMs));

  for (int quiet = 0; quiet < 3; ++quiet) {
    QTest::qWait(60);
    ASSERT_TRUE(pty.send("\r\nOK\r\n"));
    expected += "\r\nOK\r\n";
    EXPECT_TRUE(QTest::qWaitFor([&] { return received == expected; }, kWaitMs))
        << "a reply after a quiet spell was not read";
  }

  std::string flood;
  for (int i = 0; flood.size() < 256 * 1024; ++i) flood += "$GPGSV,3," + std::to_string(i) + "\r\n";
  ASSERT_TRUE(pty.flood(flood, 10 * kWaitMs));
  expected += flood;
  EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= expected.size(); }, kWaitMs));
  EXPECT_TRUE(received == expected) << "bytes lost or out of order";
}

// A port closed while it rests and opened again reads again.
TEST_F(QtSerialPortTest, APortReopenedDuringARestReads) {
  std::string received;
  port.setReceiveHandler([&] { received += port.readAll(); });
  ASSERT_FALSE(port.open().has_value());
  ASSERT_TRUE(pty.send("AT\r"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return received == "AT\r"; }, kWaitMs));
  port.close();
  ASSERT_FALSE(port.open().has_value());
  ASSERT_TRUE(pty.send("\r\nOK\r\n"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return received == "AT\r\r\nOK\r\n"; }, kWaitMs));
}

TEST_F(QtSerialPortTest, DiscardDropsWhatArrived) {
  ASSERT_FALSE(port.open().has_value());
  ASSERT_TRUE(pty.send("garbage"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return port.bytesAvailable() > 0; }, kWaitMs));
  port.discardInput();
  EXPECT_EQ(port.bytesAvailable(), 0u);
  EXPECT_EQ(port.readAll(), "");
}

TEST_F(QtSerialPortTest, APortWhoseDeviceGoesAwayCloses) {
  ASSERT_FALSE(port.open().has_value());
  pty.closeMaster();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !port.isOpen(); }, kWaitMs));
  EXPECT_FALSE(port.ctsHolding());
}

TEST_F(QtSerialPortTest, ADeviceThatVanishesClosesThePortAndSaysSo) {
  ASSERT_FALSE(port.open().has_value());
  EXPECT_FALSE(port.deviceLost());
  // The device side goes away, as an unplugged adapter does.
  pty.closeMaster();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !port.isOpen(); }, kWaitMs));
  EXPECT_TRUE(port.deviceLost());
  EXPECT_FALSE(port.ctsHolding());
}

}  // namespace
}  // namespace d7o::ui
