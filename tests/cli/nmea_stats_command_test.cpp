// d7o-tool nmea-stats: the counters of a plain log (no times: rates and ages null) and of
// a capture (rates over its length, ages to its end), and its usage errors.
#include "cli/nmea_stats_command.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace d7o::cli {
namespace {

using nlohmann::json;

struct ToolRun {
  int status = -1;
  std::string out, err;
};

ToolRun runTool(const std::vector<std::string>& args, const std::string& standardIn = {}) {
  std::istringstream in(standardIn);
  std::ostringstream out, err;
  ToolRun r;
  r.status = nmeaStatsCommand(args, in, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

const std::string kLog = std::string(D7O_TEST_DATA_DIR) + "/../gps/data/stream_statistics.log";

std::string rx(std::int64_t t, std::string bytes) {
  capture::Record r;
  r.time = capture::Millis(t);
  r.direction = capture::Direction::Received;
  r.bytes = std::move(bytes);
  return capture::recordLine(r);
}

TEST(NmeaStatsCommand, APlainLogHasItsCountsAndNoTimes) {
  std::ifstream file(kLog, std::ios::binary);
  const std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  for (const ToolRun& r : {runTool({kLog}), runTool({}, log), runTool({"-"}, log)}) {
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(r.out.back(), '\n');
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one object on one line";
    const json j = json::parse(r.out);
    struct Row {
      const char* name;
      int count, bad;
    };
    for (const Row& row : {Row{"GGA", 2, 0}, Row{"RMC", 2, 1}, Row{"GSA", 2, 0}, Row{"GSV", 2, 0},
                           Row{"other", 5, 1}}) {
      SCOPED_TRACE(row.name);
      EXPECT_EQ(j[row.name]["count"], row.count);
      EXPECT_EQ(j[row.name]["badChecksum"], row.bad);
      EXPECT_TRUE(j[row.name]["perSecond"].is_null());
      EXPECT_TRUE(j[row.name]["age"].is_null());
    }
    EXPECT_EQ(j["bytes"], 777);
    EXPECT_EQ(j["withoutChecksum"], 2);
    EXPECT_EQ(j["noNmea"], 4);
    EXPECT_TRUE(j["seconds"].is_null());
  }
}

TEST(NmeaStatsCommand, ACaptureHasRatesOverItsLengthAndAgesToItsEnd) {
  capture::Header h;
  h.program = "rezedev7 8.0.7";
  h.startUtc = "2026-12-09T18:22:20.123Z";
  std::string capture = capture::headerLine(h);
  const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
  const std::string gsv = "$GPGSV,1,1,00*79\r\n";
  // GGA once a second for ten seconds, split across reads, GSV twice a second.
  for (int s = 0; s <= 10; ++s) {
    capture += rx(s * 1000, gga.substr(0, 20));
    capture += rx(s * 1000 + 5, gga.substr(20) + gsv);
    capture += rx(s * 1000 + 500, gsv);
  }
  capture += rx(10'800, "OK\r\n");
  const ToolRun r = runTool({}, capture);
  ASSERT_EQ(r.status, 0) << r.err;
  const json j = json::parse(r.out);
  EXPECT_EQ(j["GGA"]["count"], 11);
  EXPECT_DOUBLE_EQ(j["GGA"]["perSecond"].get<double>(), 11 / 10.8);
  EXPECT_DOUBLE_EQ(j["GSV"]["perSecond"].get<double>(), 22 / 10.8);
  EXPECT_DOUBLE_EQ(j["GGA"]["age"].get<double>(), 0.795);
  EXPECT_DOUBLE_EQ(j["GSV"]["age"].get<double>(), 0.3);
  EXPECT_TRUE(j["RMC"]["age"].is_null()) << "none came";
  EXPECT_EQ(j["RMC"]["perSecond"], 0.0);
  EXPECT_EQ(j["noNmea"], 1);
  EXPECT_EQ(j["bytes"], 11 * (gga.size() + 2 * gsv.size()) + 4);
  EXPECT_DOUBLE_EQ(j["seconds"].get<double>(), 10.8);
}

TEST(NmeaStatsCommand, UsageErrorsAndUnreadableInputSaySo) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* err;
  };
  const Case cases[] = {
      {"unknown option", {"--fast"}, 2, "d7o-tool: unknown option --fast\n"},
      {"two files", {"a.log", "b.log"}, 2, "d7o-tool: only one input file\n"},
      {"missing file", {"/nonexistent/x.log"}, 1, "d7o-tool: cannot read /nonexistent/x.log"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun r = runTool(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST(NmeaStatsCommand, AMalformedCaptureLineStopsWithItsOffsetAfterPrintingWhatCameBefore) {
  capture::Header h;
  h.startUtc = "2026-12-09T18:22:20.123Z";
  const std::string head = capture::headerLine(h);
  const std::string first = rx(0, "$GPGSV,1,1,00*79\r\n");
  const ToolRun r = runTool({}, head + first + "{\"t\":5,\"rx\":\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(json::parse(r.out)["GSV"]["count"], 1);
  EXPECT_NE(r.err.find("byte " + std::to_string(head.size() + first.size())), std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace d7o::cli
