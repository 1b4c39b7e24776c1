// Exports of captures and plain logs: the transcript, the NMEA log, the GPX track and the
// CSV table, and d7o-tool's capture command around them.
#include "capture/capture_export.h"

#include "cli/capture_command.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::capture {
namespace {

constexpr const char* kStart = "2026-12-09T18:22:20.123Z";

std::string header(const std::string& start = kStart) {
  Header h;
  h.program = "rezedev7 8.0.7";
  h.startUtc = start;
  return headerLine(h);
}

std::string rx(std::int64_t t, std::string bytes) {
  Record r;
  r.time = Millis(t);
  r.direction = Direction::Received;
  r.bytes = std::move(bytes);
  return recordLine(r);
}

std::string tx(std::int64_t t, std::string bytes) {
  Record r;
  r.time = Millis(t);
  r.direction = Direction::Sent;
  r.bytes = std::move(bytes);
  return recordLine(r);
}

std::string ev(std::int64_t t, LineEvent event, bool on = false, std::string value = {}) {
  Record r;
  r.time = Millis(t);
  r.direction = Direction::Event;
  r.event = event;
  r.on = on;
  r.value = std::move(value);
  return recordLine(r);
}

std::string exported(ExportFormat format, const std::string& input,
                     ExportResult* result = nullptr) {
  std::istringstream in(input);
  std::ostringstream out;
  const ExportResult r = exportCapture(in, format, out);
  if (result != nullptr) *result = r;
  return out.str();
}

// NMEA lines received one a record, a second apart.
std::string receivedLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string capture = header();
  std::int64_t t = 0;
  for (const auto& line : lines) capture += rx(t += 1000, line + end);
  return capture;
}

struct Case {
  const char* name;
  std::string input;
  std::string expected;
};

void expectExports(ExportFormat format, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExportResult result;
    EXPECT_EQ(exported(format, c.input, &result), c.expected);
    EXPECT_TRUE(result.ok()) << result.error;
  }
}

// --- text ---

TEST(CaptureExportText, LinesPerDirectionAtTheTimeTheirEndArrived) {
  expectExports(
      ExportFormat::Text,
      {
          {"a line split over two records", header() + rx(100, "+CSQ: 1") + rx(150, "7,99\r\n"),
           "18:22:20.273 < +CSQ: 17,99\n"},
          {"CR LF, LF and a bare CR each end a line; empty lines go",
           header() + rx(0, "OK\r\n") + rx(1, "ERROR\n") + rx(2, "RING\r\r\n\n") + rx(3, "\r\n"),
           "18:22:20.123 < OK\n18:22:20.124 < ERROR\n18:22:20.125 < RING\n"},
          {"sent and received interleaved, each its own line",
           header() + tx(0, "AT+CSQ\r") + rx(40, "AT+CSQ\r\r\n+CSQ: 1") + tx(45, "AT\r") +
               rx(60, "7,99\r\n\r\nOK\r\n"),
           "18:22:20.123 > AT+CSQ\n"
           "18:22:20.163 < AT+CSQ\n"
           "18:22:20.168 > AT\n"
           "18:22:20.183 < +CSQ: 17,99\n"
           "18:22:20.183 < OK\n"},
          {"line events",
           header() + ev(5012, LineEvent::Opened) +
               ev(5012, LineEvent::Settings, false, "115200,n,8,1") +
               ev(9000, LineEvent::Cts, false) + ev(9001, LineEvent::Dtr, true) +
               ev(9002, LineEvent::Port, false, "COM3") + ev(9003, LineEvent::Vanished),
           "18:22:25.135 * open\n"
           "18:22:25.135 * settings 115200,n,8,1\n"
           "18:22:29.123 * cts off\n"
           "18:22:29.124 * dtr on\n"
           "18:22:29.125 * port COM3\n"
           "18:22:29.126 * vanished\n"},
          {"bytes other than printable ASCII in hex, and '<' so the text reads one way",
           header() + tx(0, "Hello\x1a") + tx(1, "\x1b<b>\xe4\xff\t \r"),
           "18:22:20.124 > Hello<1A><1B><3C>b><E4><FF><09> \n"},
          {"a line without its end at the end of the file, at the time of its last bytes",
           header() + rx(10, "OK\r\n+CM") + rx(20, "TI: \"SM\",3") + tx(30, "AT"),
           "18:22:20.133 < OK\n18:22:20.143 < +CMTI: \"SM\",3\n18:22:20.153 > AT\n"},
          {"a closed port ends the line that was open",
           header() + rx(10, "+CS") + ev(20, LineEvent::Closed) + ev(30, LineEvent::Opened) +
               rx(40, "OK\r\n"),
           "18:22:20.133 < +CS\n18:22:20.143 * close\n18:22:20.153 * open\n"
           "18:22:20.163 < OK\n"},
          {"over midnight", header("2026-12-09T23:59:59.900Z") + rx(200, "OK\r\n"),
           "00:00:00.100 < OK\n"},
          {"a plain log counts from 00:00:00.000", "OK\r\nRING\r\n",
           "00:00:00.000 < OK\n00:00:00.000 < RING\n"},
      });
}

TEST(CaptureExportText, APlainLogIsPacedAt115200Baud) {
  // 11520 bytes take a second at 115200 baud, 8N1.
  std::string log;
  for (int i = 0; i < 1152; ++i) log += "ABCDEFGHI\n";
  const std::string text = exported(ExportFormat::Text, log);
  EXPECT_TRUE(text.starts_with("00:00:00.000 < ABCDEFGHI\n")) << text.substr(0, 100);
  EXPECT_NE(text.find("\n00:00:00.086 < ABCDEFGHI\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("\n00:00:01.000 < ABCDEFGHI\n"));
}

TEST(CaptureExportText, ALongRunWithoutLineEndsComesInPieces) {
  const std::string dump(10000, '\x55');
  const std::string text = exported(ExportFormat::Text, header() + rx(0, dump));
  EXPECT_EQ(text, "18:22:20.123 < " + std::string(4096, 'U') + "\n18:22:20.123 < " +
                      std::string(4096, 'U') + "\n18:22:20.123 < " + std::string(1808, 'U') + "\n");
}

// --- nmea ---

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
const std::string kRmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
const std::string kRmcVoid = "$GPRMC,123521,V,4807.038,N,01131.000,E,000.0,000.0,230394,003.1,W*7A";
const std::string kRmcBadSum =
    "$GPRMC,123522,A,4807.038,N,01131.000,E,000.0,000.0,230394,003.1,W*6F";
const std::string kRmcNoSum = "$GPRMC,000001,A,4042.768,N,07400.360,W,000.0,360.0,010100,,";

TEST(CaptureExportNmea, TheReceivedSentencesWithCrLf) {
  expectExports(
      ExportFormat::Nmea,
      {
          {"LF or CR LF in, CR LF out", receivedLines({kGga}, "\n") + rx(5000, kRmc + "\r\n"),
           kGga + "\r\n" + kRmc + "\r\n"},
          {"a sentence split over records",
           header() + rx(0, kRmc.substr(0, 20)) + rx(10, kRmc.substr(20) + "\r\n"), kRmc + "\r\n"},
          {"the device's own lines, replies and what was sent are no NMEA",
           receivedLines({"$TARVIK R7O-3 Alarm/GPS V1.63", "$CNFOK", "OK", "+CSQ: 17,99", "$GPGGA",
                          "$,x*00", kRmcVoid}) +
               tx(9000, kGga + "\r\n"),
           kRmcVoid + "\r\n"},
          {"without a checksum a sentence stays", receivedLines({kRmcNoSum}), kRmcNoSum + "\r\n"},
          {"a last sentence cut off without a checksum goes; with its checksum it stays",
           header() + rx(0, kRmc) + rx(10, "\r\n" + kRmcNoSum), kRmc + "\r\n"},
          {"a last sentence whose checksum vouches for it", header() + rx(0, kRmc), kRmc + "\r\n"},
      });
}

TEST(CaptureExportNmea, AWrongChecksumLeavesTheSentenceOutAndIsCounted) {
  ExportResult result;
  EXPECT_EQ(exported(ExportFormat::Nmea, receivedLines({kGga, kRmcBadSum, kRmc}), &result),
            kGga + "\r\n" + kRmc + "\r\n");
  EXPECT_EQ(result.counts.badChecksums, 1u);
  EXPECT_TRUE(result.ok());
}

// --- gpx ---

// The lines of a GPX document between <trk> and </trk>, without their indent.
std::vector<std::string> trackLines(const std::string& gpx) {
  std::vector<std::string> lines;
  std::istringstream in(gpx);
  bool inTrack = false;
  for (std::string line; std::getline(in, line);) {
    line.erase(0, line.find_first_not_of(' '));
    if (line == "</trk>") inTrack = false;
    if (inTrack) lines.push_back(line);
    if (line == "<trk>") inTrack = true;
  }
  return lines;
}

TEST(CaptureExportGpx, ADocumentOfGpx11) {
  const std::string gpx = exported(ExportFormat::Gpx, receivedLines({kGga, kRmc}));
  EXPECT_EQ(gpx,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<gpx version=\"1.1\" creator=\"d7o-tool " D7O_VERSION
            "\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
            "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
            " <metadata><time>2026-12-09T18:22:20.123Z</time></metadata>\n"
            " <trk>\n"
            "  <trkseg>\n"
            "   <trkpt lat=\"48.1173\" lon=\"11.51666667\"><ele>545.4</ele>"
            "<time>1994-03-23T12:35:19Z</time></trkpt>\n"
            "  </trkseg>\n"
            " </trk>\n"
            "</gpx>\n");
}

TEST(CaptureExportGpx, APointPerValidRmcFix) {
  const std::string seg = "<trkseg>", end = "</trkseg>";
  const std::vector<std::pair<Case, std::vector<std::string>>> cases = {
      {{"nothing received: an empty track", header(), ""}, {}},
      {{"status V is no fix", receivedLines({kRmcVoid}), ""}, {}},
      {{"a lost fix ends the segment", receivedLines({kRmc, kRmcVoid, kRmc}), ""},
       {seg, R"(<trkpt lat="48.1173" lon="11.51666667"><time>1994-03-23T12:35:19Z</time></trkpt>)",
        end, seg,
        R"(<trkpt lat="48.1173" lon="11.51666667"><time>1994-03-23T12:35:19Z</time></trkpt>)",
        end}},
      {{"southern and eastern",
        receivedLines({"$GPRMC,081836.00,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E,A*21"}),
        ""},
       {seg,
        R"(<trkpt lat="-37.86083333" lon="145.12266667"><time>1998-09-13T08:18:36Z</time></trkpt>)",
        end}},
      {{"northern and western, no checksum, year 2000", receivedLines({kRmcNoSum}), ""},
       {seg, R"(<trkpt lat="40.7128" lon="-74.006"><time>2000-01-01T00:00:01Z</time></trkpt>)",
        end}},
      {{"southern and western, GNSS talker, fraction of a second, GGA before",
        receivedLines({"$GNGGA,120001.50,2254.000,S,04310.000,W,1,08,0.9,12.0,M,-5.1,M,,*56",
                       "$GNRMC,120001.50,A,2254.000,S,04310.000,W,010.0,054.7,311299,,,A*49"}),
        ""},
       {seg,
        R"(<trkpt lat="-22.9" lon="-43.16666667"><ele>12.0</ele><time>1999-12-31T12:00:01.500Z</time></trkpt>)",
        end}},
      {{"the GGA of the same time after the RMC; one without a fix gives no altitude",
        receivedLines({"$GPRMC,120002,A,2254.100,S,04310.000,W,010.0,054.7,311299,,,A*7E",
                       "$GPGGA,120002,2254.000,S,04310.000,W,1,08,0.9,-12.5,M,-5.1,M,,*48",
                       "$GPGGA,120003,2254.000,S,04310.000,W,0,00,,,M,,M,,*55",
                       "$GPRMC,120003,A,2254.200,S,04310.000,W,010.0,054.7,311299,,,A*7C"}),
        ""},
       {seg,
        R"(<trkpt lat="-22.90166667" lon="-43.16666667"><ele>-12.5</ele><time>1999-12-31T12:00:02Z</time></trkpt>)",
        R"(<trkpt lat="-22.90333333" lon="-43.16666667"><time>1999-12-31T12:00:03Z</time></trkpt>)",
        end}},
      {{"a GGA of another time gives no altitude", receivedLines({kGga, kRmcNoSum}), ""},
       {seg, R"(<trkpt lat="40.7128" lon="-74.006"><time>2000-01-01T00:00:01Z</time></trkpt>)",
        end}},
      {{"a wrong checksum leaves the fix out", receivedLines({kRmcBadSum}), ""}, {}},
      {{"the poles, the date line and the zero point are angles; beyond them none",
        receivedLines({"$GPRMC,120004,A,0000.000,N,00000.000,E,0.0,0.0,010180,,,A*7F",
                       "$GPRMC,120004,A,9000.000,S,18000.000,W,0.0,0.0,290224,,,A*77",
                       "$GPRMC,120004,A,9000.001,S,18000.000,W,0.0,0.0,290224,,,A*76"}),
        ""},
       {seg, R"(<trkpt lat="0.0" lon="0.0"><time>1980-01-01T12:00:04Z</time></trkpt>)",
        R"(<trkpt lat="-90.0" lon="-180.0"><time>2024-02-29T12:00:04Z</time></trkpt>)", end}},
      {{"no such day, no date: no point",
        receivedLines({"$GPRMC,120004,A,4807.038,N,01131.000,E,0.0,0.0,290223,,,A*7D",
                       "$GPRMC,120004,A,4807.038,N,01131.000,E,0.0,0.0,,,,A*75"}),
        ""},
       {}},
      {{"a port closed ends the segment",
        receivedLines({kRmc}) + ev(1500, LineEvent::Closed) + ev(1600, LineEvent::Opened) +
            rx(2000, kRmc + "\n"),
        ""},
       {seg, R"(<trkpt lat="48.1173" lon="11.51666667"><time>1994-03-23T12:35:19Z</time></trkpt>)",
        end, seg,
        R"(<trkpt lat="48.1173" lon="11.51666667"><time>1994-03-23T12:35:19Z</time></trkpt>)",
        end}},
  };
  for (const auto& [c, lines] : cases) {
    SCOPED_TRACE(c.name);
    ExportResult result;
    EXPECT_EQ(trackLines(exported(ExportFormat::Gpx, c.input, &result)), lines);
    EXPECT_TRUE(result.ok());
  }
}

// --- csv ---

TEST(CaptureExportCsv, ARowPerSignalAndRegistrationReply) {
  const std::string head = "time,rssi,dbm,ber,registration\n";
  expectExports(
      ExportFormat::Csv,
      {
          {"signal quality in dBm; 99 unknown",
           receivedLines({"AT+CSQ", "+CSQ: 17,99", "OK", "+CSQ: 99,99", "+CSQ: 0,0", "+CSQ: 31,7"}),
           head + "2026-12-09T18:22:22.123Z,17,-79,,\n" + "2026-12-09T18:22:24.123Z,99,,,\n" +
               "2026-12-09T18:22:25.123Z,0,-113,0,\n" + "2026-12-09T18:22:26.123Z,31,-51,7,\n"},
          {"registration: the query's answer with n first, the report without it",
           receivedLines({"+CREG: 1,5", "+CREG: 5", "+CREG: 2,1,\"00C3\",\"0010\"",
                          "+CREG: 1,\"00C3\",\"0010\"", "+CREG: 0,2", "+CREG: 3"}),
           head + "2026-12-09T18:22:21.123Z,,,,5\n" + "2026-12-09T18:22:22.123Z,,,,5\n" +
               "2026-12-09T18:22:23.123Z,,,,1\n" + "2026-12-09T18:22:24.123Z,,,,1\n" +
               "2026-12-09T18:22:25.123Z,,,,2\n" + "2026-12-09T18:22:26.123Z,,,,3\n"},
          {"ranges, test answers and sent lines are no replies",
           receivedLines({"+CSQ: (0-31,99),(0-7,99)", "+CREG: (0-2)", "+CSQ: 32,99", "+CSQ: 17",
                          "+CSQ: 17,8", "+CREG: 4,1", "+CREG:", "+CREG: 1,2,3"}) +
               tx(9000, "+CSQ: 17,99\r"),
           head},
          {"a reply cut off at the end of the file is no reply", header() + rx(0, "+CREG: 0"),
           head},
          {"a plain log's time since its start", "\r\n+CSQ: 20,0\r\n",
           head + "00:00:00.001,20,-73,0,\n"},
      });
}

// --- the readers of single lines ---

TEST(CaptureExportReaders, UtcStart) {
  const std::vector<std::pair<std::string_view, std::optional<std::int64_t>>> cases = {
      {"1970-01-01T00:00:00.000Z", 0},
      {"2026-12-09T18:22:20.123Z", 1796840540123},
      {"2026-12-09T18:22:20Z", 1796840540000},
      {"2026-12-09T18:22:20.1Z", 1796840540100},
      {"", std::nullopt},
      {"2026-02-30T18:22:20.123Z", std::nullopt},
      {"2026-12-09 18:22:20.123Z", std::nullopt},
      {"2026-12-09T24:00:00.000Z", std::nullopt},
      {"2026-12-09T18:22:20.123", std::nullopt},
      {"2026-12-09T18:22:20.Z", std::nullopt},
      {"2026-12-09T18:22:20.1x3Z", std::nullopt},
  };
  for (const auto& [text, millis] : cases) EXPECT_EQ(utcMillisOf(text), millis) << text;
}

TEST(CaptureExportReaders, NmeaSentences) {
  struct Sentence {
    std::string line;
    bool sentence;
    bool badChecksum;
  };
  const std::vector<Sentence> cases = {
      {kRmc, true, false},
      {kRmcNoSum, true, false},
      {"$GPGSV,1,1,00*79", true, false},
      {"$gpgsv,1,1,00*79", false, false},
      {"$GPGSV,1,1,00*79 ", false, false},
      {"$GPGSV,1,1,00*7", false, false},
      {"$GPGSV,1,1,00*7G", false, false},
      {"$GPGSV,1,1,00*7a", false, true},
      {"$GPGSV,1,1,01*79", false, true},
      {"$GPGSV,1,\xe4,00*79", false, false},
      {"$TARVIK R7O-3 Alarm/GPS V1.63", false, false},
      {"$CNFOK", false, false},
      {"GPGSV,1,1,00*79", false, false},
  };
  for (const auto& c : cases) {
    bool badChecksum = !c.badChecksum;
    EXPECT_EQ(isNmeaSentence(c.line, &badChecksum), c.sentence) << c.line;
    EXPECT_EQ(badChecksum, c.badChecksum) << c.line;
  }
}

// --- reading record lines ---

TEST(CaptureExportReading, EveryFormOfARecordLineReadsAsTheCaptureReaderHasIt) {
  const std::vector<std::string> lines = {
      R"({"t":5,"rx":"OK\r\n"})",
      R"({"t":0,"tx":"AT\r"})",
      R"({"t":5,"rx":"\u001a\u001B\u00e4\"\\\t\/"})",
      "{\"t\":5,\"rx\":\"\xc3\xa4\xc2\x80\"}",
      R"({"t": 5, "rx": "OK"})",
      R"({"rx":"OK","t":5})",
      R"({"t":5,"rx":"OK","on":true})",
      R"({"t":5,"ev":"cts","on":true})",
      R"({"t":123456789012345678,"rx":"OK"})",
      R"({"t":1234567890123456789,"rx":"OK"})",
      // malformed, each in its own way
      R"({"t":05,"rx":"OK"})",
      R"({"t":-5,"rx":"OK"})",
      R"({"t":5.5,"rx":"OK"})",
      R"({"t":5,"rx":"\u0100"})",
      R"({"t":5,"rx":"\ud83d\ude00"})",
      "{\"t\":5,\"rx\":\"\xe2\x82\xac\"}",
      "{\"t\":5,\"rx\":\"\xc3\"}",
      "{\"t\":5,\"rx\":\"a\x01\"}",
      R"({"t":5,"rx":"OK"}x)",
      R"({"t":5,"rx":"OK")",
      R"({"t":5,"rx":"OK\x"})",
      R"({"t":5,"rx":"OK","tx":"AT"})",
      R"({"t":5})",
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    ExportResult result;
    const std::string text = exported(ExportFormat::Text, header() + line + "\n", &result);

    std::string error;
    const std::optional<Record> record = parseRecordLine(line, error);
    std::ostringstream expected;
    Header h;
    h.startUtc = kStart;
    Exporter exporter(ExportFormat::Text, h, expected);
    if (record) exporter.add(*record);
    exporter.finish();
    EXPECT_EQ(text, expected.str());
    EXPECT_EQ(result.error, error);
    if (!record) {
      EXPECT_EQ(result.errorOffset, header().size());
    }
  }
}

// --- malformed captures ---

TEST(CaptureExportErrors, AMalformedLineStopsWithItsOffsetAfterWhatCameBefore) {
  const std::string good = header() + rx(0, kRmc + "\r\n");
  const std::string input = good + "{\"t\":1,\"rx\":\"$GP\"\n";
  ExportResult result;
  const std::string nmea = exported(ExportFormat::Nmea, input, &result);
  EXPECT_EQ(nmea, kRmc + "\r\n");
  EXPECT_EQ(result.error, "not a JSON object");
  EXPECT_EQ(result.errorOffset, good.size());
  EXPECT_FALSE(result.ok());

  // The track so far is a whole document.
  const std::string gpx = exported(ExportFormat::Gpx, input, &result);
  EXPECT_EQ(trackLines(gpx).size(), 3u);
  EXPECT_TRUE(gpx.ends_with("</trk>\n</gpx>\n"));
  EXPECT_EQ(result.errorOffset, good.size());
}

TEST(CaptureExportErrors, TimeGoingBackwardsIsMalformed) {
  const std::string good = header() + rx(50, "OK\r\n");
  ExportResult result;
  exported(ExportFormat::Text, good + rx(40, "OK\r\n"), &result);
  EXPECT_EQ(result.errorOffset, good.size());
  EXPECT_NE(result.error.find("comes before"), std::string::npos) << result.error;
}

// --- d7o-tool capture ---

struct CommandCase {
  std::vector<std::string> args;
  std::string input;  // standard input
  int status;
  std::string out;  // exact
  std::string err;  // contained; empty: nothing on standard error
};

class CaptureCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::path(::testing::TempDir()) /
            (std::string("capture_command_") +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::string file(const std::string& name, const std::string& content) {
    const auto path = m_dir / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

  void run(const std::vector<CommandCase>& cases) {
    for (const auto& c : cases) {
      std::string line;
      for (const auto& a : c.args) line += a + " ";
      SCOPED_TRACE(line);
      std::istringstream in(c.input);
      std::ostringstream out, err;
      EXPECT_EQ(cli::captureCommand(c.args, in, out, err), c.status) << err.str();
      EXPECT_EQ(out.str(), c.out);
      if (c.err.empty()) {
        EXPECT_EQ(err.str(), "");
      } else {
        EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
      }
    }
  }

  std::filesystem::path m_dir;
};

TEST_F(CaptureCommand, ExportsAFileOrStandardInput) {
  const std::string capture = header() + tx(0, "AT\r") + rx(20, "AT\r\r\nOK\r\n");
  const std::string path = file("a.d7ocap", capture);
  const std::string text = "18:22:20.123 > AT\n18:22:20.143 < AT\n18:22:20.143 < OK\n";
  run({
      {{path, "--to", "text"}, "", 0, text, ""},
      {{"--to=text", path}, "", 0, text, ""},
      {{"-", "--to", "text"}, capture, 0, text, ""},
      {{"-", "--to", "nmea"},
       receivedLines({kRmc, kRmcBadSum}),
       0,
       kRmc + "\r\n",
       "d7o-tool: 1 sentence with a wrong checksum left out\n"},
  });
}

TEST_F(CaptureCommand, MalformedInputAndBadUsage) {
  const std::string good = header() + rx(0, "OK\r\n");
  const std::string path = file("broken.d7ocap", good + "[1,2]\n" + rx(10, "ERROR\r\n"));
  const std::string missing = (m_dir / "missing.d7ocap").string();
  run({
      {{path, "--to", "text"},
       "",
       1,
       "18:22:20.123 < OK\n",
       "d7o-tool: " + path + ", byte " + std::to_string(good.size()) + ": not a JSON object\n"},
      {{"-", "--to", "csv"},
       header().substr(0, 30),
       1,
       "time,rssi,dbm,ber,registration\n",
       "d7o-tool: standard input, byte 0: the header line is cut off\n"},
      {{missing, "--to", "text"}, "", 1, "", "d7o-tool: cannot read " + missing},
      {{m_dir.string(), "--to", "text"}, "", 1, "", "d7o-tool: cannot read " + m_dir.string()},
      {{path}, "", 2, "", "no format"},
      {{"--to", "text"}, "", 2, "", "no capture file"},
      {{path, "--to", "kml"}, "", 2, "", "unknown format 'kml'"},
      {{path, "--to"}, "", 2, "", "--to needs a format"},
      {{path, path, "--to", "gpx"}, "", 2, "", "only one capture file"},
      {{path, "--from", "gpx"}, "", 2, "", "unknown option --from"},
  });
}

}  // namespace
}  // namespace d7o::capture
