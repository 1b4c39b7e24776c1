#include "sim/pty_replay.h"

#include "capture/capture_file.h"

#include <array>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace d7o::sim {
namespace {

using capture::Direction;
using capture::LineEvent;
using capture::Record;
using SteadyClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Far beyond what any case needs; only a broken replay runs into it.
constexpr auto kGiveUp = 20s;

// A terminal program on the device: raw, non-blocking.
class Client {
 public:
  explicit Client(const std::string& path)
      : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    termios settings{};
    if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0) {
      ::cfmakeraw(&settings);
      settings.c_cflag |= CLOCAL | CREAD;
      ::tcsetattr(m_fd, TCSANOW, &settings);
    }
  }
  ~Client() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool isOpen() const { return m_fd >= 0; }

  bool write(std::string_view bytes) {
    return ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Up to `most` bytes of what has arrived, without waiting.
  std::string read(std::size_t most = SIZE_MAX) {
    std::string out;
    std::array<char, 4096> buffer{};
    while (out.size() < most) {
      const ssize_t n = ::read(m_fd, buffer.data(), std::min(buffer.size(), most - out.size()));
      if (n <= 0) break;
      out.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return out;
  }

 private:
  int m_fd;
};

Record rx(std::int64_t t, std::string bytes) {
  Record r;
  r.time = capture::Millis(t);
  r.direction = Direction::Received;
  r.bytes = std::move(bytes);
  return r;
}

Record tx(std::int64_t t, std::string bytes) {
  Record r = rx(t, std::move(bytes));
  r.direction = Direction::Sent;
  return r;
}

Record event(std::int64_t t, LineEvent e, bool on = false) {
  Record r;
  r.time = capture::Millis(t);
  r.direction = Direction::Event;
  r.event = e;
  r.on = on;
  return r;
}

std::string captureText(const std::vector<Record>& records) {
  capture::Header header;
  header.program = "rezedev7 8.0.7";
  header.startUtc = "2026-12-09T18:22:20.123Z";
  std::string text = capture::headerLine(header);
  for (const Record& r : records) text += capture::recordLine(r);
  return text;
}

std::string allByteValues() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

class PtyReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir =
        std::filesystem::temp_directory_path() / ("pty_replay_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::filesystem::path path(const std::string& name) const { return m_dir / name; }

  std::filesystem::path file(const std::string& name, const std::string& content) {
    std::ofstream(path(name), std::ios::binary) << content;
    return path(name);
  }

  // A replay of `path`, its device created; skips the test where there are no
  // pseudo-terminals.
  std::unique_ptr<PtyReplay> start(const std::filesystem::path& path, double speed,
                                   bool loop = false) {
    ReplaySettings settings;
    settings.file = path;
    settings.speed = speed;
    settings.loop = loop;
    auto replay = std::make_unique<PtyReplay>(settings);
    replay->setLog([this](std::string_view m) { log.emplace_back(m); });
    std::string error;
    if (!replay->open(error)) {
      ADD_FAILURE() << error;
      return nullptr;
    }
    return replay;
  }

  // Serves the replay, reading what reaches `client`, until `done` says so.
  std::string serve(PtyReplay& replay, Client& client,
                    const std::function<bool(const std::string&)>& done,
                    std::size_t readPiece = SIZE_MAX) {
    std::string got;
    const auto end = SteadyClock::now() + kGiveUp;
    while (!done(got) && SteadyClock::now() < end) {
      replay.pollOnce(5ms);
      got += client.read(readPiece);
    }
    return got;
  }

  std::vector<std::string> log;

 private:
  std::filesystem::path m_dir;
};

// Every byte value reaches the program once, in order, whatever the pace and however the
// recording cut it; what the program sent, the line's events and the program's own
// writes meanwhile are not in it.
TEST_F(PtyReplayTest, EveryByteValueArrivesInOrderAndComplete) {
  struct Case {
    const char* name;
    double speed;
    std::size_t piece;  // bytes per received record
  };
  const Case cases[] = {
      {"one record, recorded pace", 1, 256},
      {"a byte a record, 50 times faster", 50, 1},
      {"32 a record, as fast as read", ReplaySettings::kMaxSpeed, 32},
  };
  const std::string bytes = allByteValues();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Record> records{event(0, LineEvent::Opened), tx(1, "AT\r")};
    for (std::size_t i = 0; i < bytes.size(); i += c.piece) {
      const auto t = 2 + static_cast<std::int64_t>(i / c.piece) * 2;
      records.push_back(rx(t, bytes.substr(i, c.piece)));
      records.push_back(event(t, LineEvent::Cts, i % 2 == 0));
      records.push_back(tx(t, "x"));
    }
    auto replay = start(file("bytes.d7ocap", captureText(records)), c.speed);
    if (!replay) return;
    ASSERT_TRUE(replay->isCapture());
    Client client(replay->devicePath());
    ASSERT_TRUE(client.isOpen());
    ASSERT_TRUE(client.write("AT+CSQ\r"));

    // The program's bytes are dropped as they come, in the same loop.
    const std::string got = serve(*replay, client, [&](const std::string& s) {
      return s.size() >= bytes.size() && replay->bytesDropped() >= 7;
    });
    EXPECT_EQ(got, bytes);
    EXPECT_TRUE(replay->finished());
    EXPECT_FALSE(replay->failed()) << replay->error();
    EXPECT_EQ(replay->bytesReplayed(), bytes.size());
    EXPECT_EQ(replay->bytesDropped(), 7u);
  }
}

// The later records come later: a record is never there before its time at the speed
// asked, counted from when the program opened the device.
TEST_F(PtyReplayTest, RecordsArriveInOrderNeverEarly) {
  const std::vector<std::pair<std::int64_t, std::string>> timeline = {
      {0, "$GPGGA,first\r\n"},
      {400, "$GPRMC,second\r\n"},
      {800, "$GPGSA,third\r\n"},
      {1200, "$GPGSV,fourth\r\n"},
  };
  std::vector<Record> records;
  std::string all;
  for (const auto& [t, text] : timeline) {
    records.push_back(rx(t, text));
    all += text;
  }
  constexpr double kSpeed = 8;
  auto replay = start(file("paced.d7ocap", captureText(records)), kSpeed);
  if (!replay) return;

  const auto opened = SteadyClock::now();
  Client client(replay->devicePath());
  ASSERT_TRUE(client.isOpen());
  std::string got;
  std::size_t seen = 0;  // records complete so far
  const auto end = SteadyClock::now() + kGiveUp;
  while (seen < timeline.size() && SteadyClock::now() < end) {
    replay->pollOnce(5ms);
    got += client.read();
    std::size_t length = 0;
    std::size_t complete = 0;
    for (const auto& [t, text] : timeline) {
      length += text.size();
      if (got.size() >= length) ++complete;
    }
    const auto elapsed = SteadyClock::now() - opened;
    for (; seen < complete; ++seen) {
      const auto due = std::chrono::duration<double, std::milli>(
          static_cast<double>(timeline[seen].first) / kSpeed);
      EXPECT_GE(elapsed, due) << "record " << seen << " came early";
    }
  }
  EXPECT_EQ(got, all);
}

// No program, no replay: the recording's clock stands until one opens the device, which
// then gets it from the start.
TEST_F(PtyReplayTest, WaitsForAProgramToOpenTheDevice) {
  auto replay =
      start(file("wait.d7ocap", captureText({rx(0, "first\r\n"), rx(5, "second\r\n")})), 1000);
  if (!replay) return;
  for (int i = 0; i < 4; ++i) replay->pollOnce(5ms);
  EXPECT_FALSE(replay->programPresent());
  EXPECT_EQ(replay->position(), capture::Millis(0));
  EXPECT_EQ(replay->bytesReplayed(), 0u);

  Client client(replay->devicePath());
  ASSERT_TRUE(client.isOpen());
  const std::string got =
      serve(*replay, client, [&](const std::string& s) { return s.size() >= 15; });
  EXPECT_EQ(got, "first\r\nsecond\r\n");
  EXPECT_TRUE(replay->finished());
  EXPECT_TRUE(replay->programPresent());
}

// The program closes the device between two records: the replay stands still and the
// next program to open it gets the rest.
TEST_F(PtyReplayTest, StandsStillWhileTheDeviceIsClosed) {
  auto replay =
      start(file("gap.d7ocap", captureText({rx(0, "before\r\n"), rx(3000, "after\r\n")})), 100);
  if (!replay) return;
  {
    Client first(replay->devicePath());
    ASSERT_TRUE(first.isOpen());
    EXPECT_EQ(serve(*replay, first, [](const std::string& s) { return s == "before\r\n"; }),
              "before\r\n");
  }
  // Whatever time has gone by, none goes by from here until a program is back.
  replay->pollOnce(5ms);
  EXPECT_FALSE(replay->programPresent());
  const capture::Millis stood = replay->position();
  for (int i = 0; i < 3; ++i) replay->pollOnce(5ms);
  EXPECT_EQ(replay->position(), stood);
  EXPECT_FALSE(replay->finished());

  Client second(replay->devicePath());
  ASSERT_TRUE(second.isOpen());
  EXPECT_EQ(serve(*replay, second, [](const std::string& s) { return s == "after\r\n"; }),
            "after\r\n");
}

// A plain log far larger than the line holds, as fast as a program that reads little at a
// time: nothing lost, nothing out of order.
TEST_F(PtyReplayTest, PlainLogAsFastAsReadLosesNothing) {
  std::string log;
  for (int i = 0; log.size() < 300'000; ++i) {
    log += "$GPGGA," + std::to_string(i) + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,*47\r\n";
  }
  auto replay = start(file("drive.nmea", log), ReplaySettings::kMaxSpeed);
  if (!replay) return;
  EXPECT_FALSE(replay->isCapture());
  Client client(replay->devicePath());
  ASSERT_TRUE(client.isOpen());
  const std::string got = serve(
      *replay, client, [&](const std::string& s) { return s.size() >= log.size(); }, 3000);
  EXPECT_EQ(got, log);
  EXPECT_TRUE(replay->finished());
}

// A malformed line ends the replay there: what came before is delivered, what comes after
// is not, and the report names the file and where the line begins.
TEST_F(PtyReplayTest, MalformedLineStopsTheReplayThere) {
  const std::string good = captureText({rx(0, "one\r\n"), rx(1, "two\r\n")});
  const std::string text = good + "{\"t\":2,\"rx\":\"th\n" + capture::recordLine(rx(3, "four\r\n"));
  const auto broken = file("broken.d7ocap", text);
  auto replay = start(broken, 1000);
  if (!replay) return;
  Client client(replay->devicePath());
  ASSERT_TRUE(client.isOpen());
  const std::string got = serve(
      *replay, client, [&](const std::string& s) { return replay->finished() && s.size() >= 10; });
  EXPECT_EQ(got, "one\r\ntwo\r\n");
  EXPECT_EQ(replay->bytesReplayed(), 10u);
  EXPECT_TRUE(replay->failed());
  EXPECT_NE(replay->error().find(broken.string() + ", byte " + std::to_string(good.size())),
            std::string::npos)
      << replay->error();
  ASSERT_FALSE(log.empty());
  EXPECT_NE(log.back().find(replay->error()), std::string::npos);
}

// With loop the recording starts over; a recording with nothing received ends at once
// instead of starting over for ever.
TEST_F(PtyReplayTest, LoopStartsOverAndAnEmptyRecordingEnds) {
  auto replay =
      start(file("loop.d7ocap", captureText({rx(0, "a"), tx(1, "AT\r"), rx(2, "bc")})), 1000, true);
  if (!replay) return;
  Client client(replay->devicePath());
  ASSERT_TRUE(client.isOpen());
  const std::string got =
      serve(*replay, client, [](const std::string& s) { return s.size() >= 9; });
  EXPECT_EQ(got.substr(0, 9), "abcabcabc");
  EXPECT_GE(replay->pass(), 3);
  EXPECT_FALSE(replay->finished());

  auto empty = start(
      file("quiet.d7ocap", captureText({tx(0, "AT\r"), event(5, LineEvent::Closed)})), 1, true);
  if (!empty) return;
  Client listener(empty->devicePath());
  ASSERT_TRUE(listener.isOpen());
  serve(*empty, listener, [&](const std::string&) { return empty->finished(); });
  EXPECT_TRUE(empty->finished());
  EXPECT_FALSE(empty->failed());
  EXPECT_EQ(empty->pass(), 1);
}

// What cannot be replayed at all is refused before a device is made, naming the file.
TEST_F(PtyReplayTest, UnreadableRecordingIsRefused) {
  struct Case {
    const char* name;
    std::optional<std::string> content;  // none: no such file
    const char* expected;
  };
  const Case cases[] = {
      {"missing", std::nullopt, "cannot read "},
      {"header cut off", std::string("{\"d7o_capture\":1,\"open\""), ", byte 0: "},
      {"header not JSON", std::string("{\"d7o_capture\":1,,}\n"), ", byte 0: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto where = c.content ? file("bad.d7ocap", *c.content) : path("absent.d7ocap");
    ReplaySettings settings;
    settings.file = where;
    PtyReplay replay(settings);
    std::string error;
    EXPECT_FALSE(replay.open(error));
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_NE(error.find(where.string()), std::string::npos) << error;
    EXPECT_TRUE(replay.devicePath().empty());
  }
}

}  // namespace
}  // namespace d7o::sim
