// Golden logs: each data/NAME.nmea is fed line by line through the step d7o-tool's "nmea"
// command takes, and the JSON lines must equal data/NAME.jsonl. Logs named *_knots run
// with the speed in knots (d7o-tool nmea --knots), all others in km/h.
#include "cli/nmea_to_json.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path logFolder() {
  return fs::path(D7O_TEST_DATA_DIR).parent_path() / "gps" / "data";
}

std::vector<std::string> readLines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << file;
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<fs::path> logs() {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(logFolder())) {
    if (entry.path().extension() == ".nmea") found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

TEST(NmeaGolden, EveryLogGivesItsExpectedJsonLines) {
  const auto inputs = logs();
  ASSERT_FALSE(inputs.empty()) << "no logs in " << logFolder();
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    const bool knots = input.stem().string().ends_with("_knots");
    d7o::cli::NmeaToJson analyzer(!knots);
    const auto lines = readLines(input);
    auto expectedFile = input;
    expectedFile.replace_extension(".jsonl");
    const auto expected = readLines(expectedFile);

    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string actual = analyzer.line(lines[i]);
      if (i >= expected.size() || actual != expected[i]) {
        ADD_FAILURE() << input.filename().string() << " line " << i + 1 << ": " << lines[i]
                      << "\n  expected: " << (i < expected.size() ? expected[i] : "(no line)")
                      << "\n  actual:   " << actual;
        break;  // the first difference is the one to look at; later lines follow from it
      }
    }
    EXPECT_EQ(lines.size(), expected.size()) << "input and expected lines differ in number";
  }
}

}  // namespace
