// The capture file on its own: every byte value survives, each line is whole JSON, a killed
// recording's half line is the end, a malformed line is named by its byte offset, and a
// plain log is paced at its byte rate.
#include "capture/capture_file.h"

#include "support/scripted_platform.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

namespace d7o::capture {
namespace {

std::vector<Record> readAll(Reader& reader) {
  std::vector<Record> records;
  while (auto r = reader.next()) records.push_back(std::move(*r));
  return records;
}

Record bytes(Direction direction, std::int64_t time, std::string text) {
  Record r;
  r.direction = direction;
  r.time = Millis(time);
  r.bytes = std::move(text);
  return r;
}

Record event(std::int64_t time, LineEvent e, bool on = false, std::string value = {}) {
  Record r;
  r.direction = Direction::Event;
  r.time = Millis(time);
  r.event = e;
  r.on = on;
  r.value = std::move(value);
  return r;
}

TEST(CaptureFile, EveryByteValueAndEveryEventComesBackAsItWasWritten) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::vector<Record> written = {
      event(0, LineEvent::Port, false, "COM3"),
      event(1, LineEvent::Settings, false, "115200,n,8,1"),
      event(2, LineEvent::Opened),
      bytes(Direction::Sent, 3, "AT+CMGS=\"0123\"\r"),
      bytes(Direction::Received, 40, all),
      bytes(Direction::Sent, 41, std::string("Test\x1a", 5)),
      event(50, LineEvent::Cts, false),
      event(51, LineEvent::Cd, true),
      event(52, LineEvent::Dtr, true),
      event(53, LineEvent::Rts, false),
      event(54, LineEvent::Break, true),
      event(55, LineEvent::Handshake, false, "rts/cts"),
      event(56, LineEvent::Vanished),
      event(57, LineEvent::Closed),
  };
  Header header;
  header.program = "rezedev7 test";
  header.port = "COM3";
  header.open = true;
  header.startUtc = "2026-12-09T18:22:20.123Z";
  std::string file = headerLine(header);
  for (const Record& r : written) file += recordLine(r);

  // Whole JSON a line, and the bytes readable as themselves.
  std::istringstream lines(file);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_FALSE(nlohmann::json::parse(line, nullptr, false).is_discarded()) << line;
  }
  EXPECT_NE(file.find(R"({"t":3,"tx":"AT+CMGS=\"0123\"\r"})"), std::string::npos);

  std::istringstream in(file);
  Reader reader(in);
  ASSERT_TRUE(reader.isCapture());
  EXPECT_EQ(reader.header().program, "rezedev7 test");
  EXPECT_EQ(reader.header().port, "COM3");
  EXPECT_TRUE(reader.header().open);
  EXPECT_EQ(reader.header().startUtc, "2026-12-09T18:22:20.123Z");
  const std::vector<Record> read = readAll(reader);
  EXPECT_EQ(reader.error(), "");
  ASSERT_EQ(read.size(), written.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(read[i].time, written[i].time);
    EXPECT_EQ(read[i].direction, written[i].direction);
    EXPECT_EQ(read[i].bytes, written[i].bytes);
    if (written[i].direction == Direction::Event) {
      EXPECT_EQ(read[i].event, written[i].event);
      EXPECT_EQ(read[i].on, written[i].on);
      EXPECT_EQ(read[i].value, written[i].value);
    }
  }
}

TEST(CaptureFile, AHalfWrittenLastLineIsTheEndAndAMalformedLineIsNamedByItsOffset) {
  const std::string head = headerLine(Header{}) + recordLine(bytes(Direction::Received, 5, "OK"));
  struct Case {
    const char* name;
    std::string tail;
    std::size_t records;
    std::string error;  // empty: a clean end
  };
  const Case cases[] = {
      {"killed mid-line", R"({"t":9,"rx":"$GPG)", 1, ""},
      {"blank line", "\n" + recordLine(bytes(Direction::Received, 6, "x")), 2, ""},
      {"not json", "{\"t\":9,\"rx\":\"OK\"\n", 1, "not a JSON object"},
      {"no time", "{\"rx\":\"OK\"}\n", 1, "no time \"t\" in milliseconds"},
      {"negative time", "{\"t\":-1,\"rx\":\"OK\"}\n", 1, "no time \"t\" in milliseconds"},
      {"time beyond any clock", "{\"t\":777777777777777777777777777,\"rx\":\"OK\"}\n", 1,
       "no time \"t\" in milliseconds"},
      {"two kinds", "{\"t\":9,\"rx\":\"a\",\"tx\":\"b\"}\n", 1,
       "not exactly one of \"rx\", \"tx\" and \"ev\""},
      {"beyond a byte", "{\"t\":9,\"rx\":\"\\u20ac\"}\n", 1,
       "\"rx\" is no byte text (characters up to U+00FF)"},
      {"unknown event", "{\"t\":9,\"ev\":\"ring\"}\n", 1, "unknown line event \"ring\""},
      {"time goes back", "{\"t\":4,\"rx\":\"a\"}\n", 1, "time 4 ms comes before 5 ms"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::istringstream in(head + c.tail);
    Reader reader(in);
    EXPECT_EQ(readAll(reader).size(), c.records);
    EXPECT_EQ(reader.error(), c.error);
    if (!c.error.empty()) {
      EXPECT_EQ(reader.errorOffset(), head.size());
    }
  }
}

TEST(CaptureFile, AHeaderWithoutAVersionThisProgramReadsIsRefused) {
  struct Case {
    const char* header;
    const char* error;
  };
  const Case cases[] = {
      {R"({"d7o_capture":2})", "capture format 2 is newer than this program reads (1)"},
      {R"({"d7o_capture":4294967297})",
       "capture format 4294967297 is newer than this program reads (1)"},
      {R"({"d7o_capture":-3})", "the header has no capture format version"},
      {R"({"d7o_capture":"1"})", "the header has no capture format version"},
      {R"({"d7o_capture":0})", "the header has no capture format version"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    std::istringstream in(std::string(c.header) + "\n");
    Reader reader(in);
    EXPECT_EQ(reader.error(), c.error);
    EXPECT_FALSE(reader.next());
  }
}

TEST(CaptureFile, APlainLogIsReceivedLineByLineAtItsByteRate) {
  const std::string log =
      "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
      "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
      "no line end";
  struct Case {
    const char* settings;
    std::int64_t firstMs;  // 70 bytes of the first line
  };
  for (const Case& c :
       {Case{"115200,n,8,1", 70 * 10 * 1000 / 115200}, Case{"9600,e,8,1", 70 * 11 * 1000 / 9600}}) {
    SCOPED_TRACE(c.settings);
    std::istringstream in(log);
    Reader reader(in, c.settings);
    EXPECT_FALSE(reader.isCapture());
    const auto records = readAll(reader);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].bytes.substr(0, 6), "$GPRMC");
    EXPECT_EQ(records[1].bytes.back(), '\n');
    EXPECT_EQ(records[2].bytes, "no line end");
    EXPECT_EQ(records[0].time, Millis(c.firstMs));
    EXPECT_LT(records[0].time, records[1].time);
  }
  // A dump without line ends still goes in pieces.
  std::istringstream raw(std::string(10000, '\x55'));
  Reader reader(raw);
  EXPECT_EQ(readAll(reader).size(), 3u);
}

TEST(CaptureFile, TheWriterLeavesOnlyWholeLinesAndTheLengthIsTheLastTime) {
  test::TempFolder folder;
  const auto path = folder.path() / "a.d7ocap";
  Writer writer;
  ASSERT_FALSE(writer.open(path, Header{}));
  writer.append(bytes(Direction::Received, 10, "OK\r\n"));
  writer.append(bytes(Direction::Received, 1234, "RING\r\n"));
  EXPECT_TRUE(writer.pending());
  // Nothing of a record reaches the file before a flush, so no half line can.
  std::ifstream before(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(before)), {});
  EXPECT_EQ(text, headerLine(Header{}));
  EXPECT_TRUE(writer.flush());
  EXPECT_EQ(captureLength(path, "115200,n,8,1"), Millis(1234));
  writer.close();

  Writer nowhere;
  const auto error = nowhere.open(folder.path() / "missing" / "b.d7ocap", Header{});
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("missing"), std::string::npos);
}

}  // namespace
}  // namespace d7o::capture
