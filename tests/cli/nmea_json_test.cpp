// d7o-tool nmea's output: the JSON writer against nlohmann's dump() of the same values,
// and the line splitting of input that arrives in pieces.
#include "cli/nmea_to_json.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::cli {
namespace {

namespace fs = std::filesystem;

// How the tool built its lines before it wrote them itself: the reference for the writer.
nlohmann::ordered_json referenceJson(const gps::GpsFix& fix) {
  const auto text = [](const std::string& s) { return latin1ToUtf8(s); };
  nlohmann::ordered_json prn = nlohmann::ordered_json::array();
  for (const auto& p : fix.prn) prn.push_back(text(p));
  nlohmann::ordered_json satellites = nlohmann::ordered_json::array();
  for (const auto& row : fix.satellites) {
    satellites.push_back(
        {{"nr", text(row.nr)}, {"el", text(row.el)}, {"az", text(row.az)}, {"lev", text(row.lev)}});
  }
  nlohmann::ordered_json j;
  j["utc"] = text(fix.utc);
  j["date"] = text(fix.date);
  j["lat"] = text(fix.lat);
  j["ns"] = text(fix.ns);
  j["lon"] = text(fix.lon);
  j["ew"] = text(fix.ew);
  j["inUse"] = text(fix.inUse);
  j["quality"] = text(fix.quality);
  j["altitude"] = text(fix.altitude);
  j["speed"] = text(fix.speed);
  j["speedUnit"] = text(fix.speedUnit);
  j["course"] = text(fix.course);
  j["validity"] = text(fix.validity);
  j["mode"] = text(fix.mode);
  j["fixType"] = text(fix.fixType);
  j["prn"] = std::move(prn);
  j["pdop"] = text(fix.pdop);
  j["hdop"] = text(fix.hdop);
  j["vdop"] = text(fix.vdop);
  j["inView"] = text(fix.inView);
  j["satellites"] = std::move(satellites);
  return j;
}

std::string written(const gps::GpsFix& fix) {
  std::string out;
  appendFixJson(out, fix);
  return out;
}

std::string escaped(std::string_view bytes) {
  std::string out;
  appendJsonText(out, bytes);
  return out;
}

TEST(NmeaJsonWriter, EscapesAsNlohmannDoes) {
  EXPECT_EQ(escaped(""), "");
  EXPECT_EQ(escaped("48.1173"), "48.1173");
  EXPECT_EQ(escaped("a\"b\\c"), "a\\\"b\\\\c");
  EXPECT_EQ(escaped("\b\t\n\f\r"), "\\b\\t\\n\\f\\r");
  EXPECT_EQ(escaped(std::string_view("\x00\x01\x1f\x7f", 4)), "\\u0000\\u0001\\u001f\x7f");
  EXPECT_EQ(escaped("545.4\xb0"), "545.4\xc2\xb0");
  EXPECT_EQ(escaped("\xff\x80x"), "\xc3\xbf\xc2\x80x");
}

TEST(NmeaJsonWriter, EveryByteAsTheReference) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string quoted = '"' + escaped(all) + '"';
  EXPECT_EQ(quoted, nlohmann::json(latin1ToUtf8(all)).dump());
}

TEST(NmeaJsonWriter, FixesAsTheReference) {
  gps::GpsFix fix;
  EXPECT_EQ(written(fix), referenceJson(fix).dump());
  gps::GPSformRefresh(fix);
  EXPECT_EQ(written(fix), referenceJson(fix).dump());

  // Random texts in every value, any byte in them, often empty as the analyzer leaves them.
  std::mt19937 random(17);
  const auto text = [&random] {
    std::string s(random() % 3 == 0 ? 0 : random() % 12, ' ');
    for (auto& c : s)
      c = static_cast<char>(random() % 4 == 0 ? random() % 256 : 'a' + random() % 26);
    return s;
  };
  for (int round = 0; round < 500; ++round) {
    for (std::string* value :
         {&fix.utc, &fix.date, &fix.lat, &fix.ns, &fix.lon, &fix.ew, &fix.inUse, &fix.quality,
          &fix.altitude, &fix.speed, &fix.speedUnit, &fix.course, &fix.validity, &fix.mode,
          &fix.fixType, &fix.pdop, &fix.hdop, &fix.vdop, &fix.inView}) {
      *value = text();
    }
    for (auto& prn : fix.prn) prn = text();
    for (auto& row : fix.satellites) {
      row.nr = text();
      row.el = text();
      row.az = text();
      row.lev = text();
    }
    ASSERT_EQ(written(fix), referenceJson(fix).dump()) << "round " << round;
  }
}

// Feeds `input` in pieces of `piece` bytes and returns all output.
std::string fed(std::string_view input, std::size_t piece, bool speedInKmh = true) {
  NmeaLines lines(speedInKmh);
  std::string out;
  for (std::size_t at = 0; at < input.size(); at += piece) lines.feed(input.substr(at, piece), out);
  lines.finish(out);
  return out;
}

// The same input taken line by line as std::getline reads it.
std::string lineByLine(const std::string& input, bool speedInKmh = true) {
  NmeaToJson analyzer(speedInKmh);
  std::string out;
  std::size_t at = 0;
  while (at < input.size()) {
    auto lf = input.find('\n', at);
    if (lf == std::string::npos) lf = input.size();
    out += analyzer.line(std::string_view(input).substr(at, lf - at)) + "\n";
    at = lf + 1;
  }
  return out;
}

TEST(NmeaLines, LinesEndAtEachLf) {
  const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  const std::string rmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
  EXPECT_EQ(fed("", 7), "") << "an empty input has no line";
  for (const std::string& input :
       {gga, gga + "\n", gga + "\r\n" + rmc + "\r\n", gga + "\n\n" + rmc, std::string("\n"),
        std::string("\n\n"), std::string("\r"), rmc + "\n" + gga + "\r"}) {
    SCOPED_TRACE(input);
    const std::string expected = lineByLine(input);
    for (std::size_t piece = 1; piece <= input.size() + 1; ++piece) {
      EXPECT_EQ(fed(input, piece), expected) << "pieces of " << piece;
    }
  }
  EXPECT_EQ(fed(gga + "\n", 5), NmeaToJson(true).line(gga) + "\n");
  const std::string twoLines = fed(gga + "\n\n", 3);
  EXPECT_EQ(std::count(twoLines.begin(), twoLines.end(), '\n'), 2) << "the empty line counts";
}

TEST(NmeaLines, GoldenLogsInAnyPieces) {
  const fs::path folder = fs::path(D7O_TEST_DATA_DIR).parent_path() / "gps" / "data";
  std::size_t logs = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".nmea") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++logs;
    const bool knots = entry.path().stem().string().ends_with("_knots");
    const auto read = [](const fs::path& file) {
      std::ifstream in(file, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string input = read(entry.path());
    auto expectedFile = entry.path();
    expectedFile.replace_extension(".jsonl");
    const std::string expected = read(expectedFile);
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{2}, std::size_t{13}, std::size_t{4096}}) {
      EXPECT_EQ(fed(input, piece, !knots), expected) << "pieces of " << piece;
    }
  }
  EXPECT_GT(logs, 0u);
}

}  // namespace
}  // namespace d7o::cli
