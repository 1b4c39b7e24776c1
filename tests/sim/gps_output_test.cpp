// The simulated device's GPS: once-a-second sentences from a vehicle on a drive, chosen by
// "&CNF GPS", started by "&REQ INT" or from power-on, a position on "&REQ POS".
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"
#include "sim/nmea_check.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace d7o::sim {
namespace {

using platform::Millis;
using test_nmea::checksumValid;
using test_nmea::fieldsOf;
using test_nmea::linesOf;
using test_nmea::sentences;

ModemConfig streaming() {
  ModemConfig c;
  c.nmeaFromPowerOn = true;
  return c;
}

TEST(SimulatedGps, LongDriveKeepsEverySentenceWellFormed) {
  ModemConfig config = streaming();
  config.baud = 115200;
  ModemBench b(config);
  b.say("&CNF GPS,GPGGA;GPGSV;GPRMC;GPGSA;GPGLL;GPVTG,100\r", 115200);
  const std::string drive = b.during(Millis(3600 * 1000));
  const std::vector<std::string> lines = linesOf(drive);
  ASSERT_GT(lines.size(), 3600u * 7);
  std::map<std::string, int> counts;
  for (const std::string& line : lines) {
    ASSERT_TRUE(checksumValid(line)) << line;
    ++counts[line.substr(0, 6)];
  }
  EXPECT_EQ(drive.find("\n\n"), std::string::npos);
  for (const char* type : {"$GPGGA", "$GPRMC", "$GPGSA", "$GPGLL", "$GPVTG"}) {
    EXPECT_NEAR(counts[type], 3600, 2) << type << ": once a second";
  }
  EXPECT_GE(counts["$GPGSV"], 3600 * 2) << "several GSV a second";
}

TEST(SimulatedGps, GsvKeepsItsFixedWidthsAsTheSkyTurns) {
  ModemBench b(streaming());
  const std::string drive = b.during(Millis(3600 * 1000));
  std::set<std::string> seen;
  std::set<std::string> views;
  std::map<std::string, std::set<std::string>> levels;
  int untracked = 0;
  std::string view;
  for (const std::string& line : sentences(drive, "$GPGSV")) {
    const std::vector<std::string> f = fieldsOf(line);
    ASSERT_EQ(f[1].size(), 1u) << line;
    ASSERT_EQ(f[2].size(), 1u) << line;
    ASSERT_EQ(f[3].size(), 2u) << line;
    ASSERT_EQ(line.substr(11, 2), f[3]) << "satellites in view at character 12";
    ASSERT_EQ((f.size() - 4) % 4, 0u) << line;
    ASSERT_LE(f.size() - 4, 16u) << "at most four satellites a sentence";
    if (f[2] == "1") view.clear();
    for (std::size_t i = 4; i + 3 < f.size(); i += 4) {
      ASSERT_EQ(f[i].size(), 2u) << line;
      ASSERT_EQ(f[i + 1].size(), 2u) << line;
      ASSERT_EQ(f[i + 2].size(), 3u) << line;
      ASSERT_TRUE(f[i + 3].empty() || f[i + 3].size() == 2u) << line;
      ASSERT_NE(f[i + 3], "00") << "a level of 0 would drop the satellite";
      seen.insert(f[i]);
      view += f[i] + " ";
      if (f[i + 3].empty()) {
        ++untracked;
      } else {
        levels[f[i]].insert(f[i + 3]);
      }
    }
    if (f[1] == f[2]) views.insert(view);
  }
  EXPECT_GE(seen.size(), 12u) << "satellites rise and set over the drive";
  EXPECT_GE(views.size(), 20u) << "the set in view changes";
  EXPECT_GT(untracked, 0) << "now and then a satellite without a level";
  for (const auto& [prn, values] : levels) EXPECT_GE(values.size(), 3u) << "levels change";
}

TEST(SimulatedGps, DriveCoversEveryCourseAndSpeedsUpToTheMotorway) {
  ModemBench b(streaming());
  const std::string drive = b.during(Millis(1200 * 1000));
  std::set<int> tensOfDegrees;
  double fastest = 0;
  int standing = 0;
  int town = 0;
  for (const std::string& rmc : sentences(drive, "$GPRMC")) {
    const std::vector<std::string> f = fieldsOf(rmc);
    if (f[2] != "A") continue;
    ASSERT_EQ(f[7].size(), 5u) << rmc;
    ASSERT_EQ(f[8].size(), 5u) << rmc;
    const double kmh = std::stod(f[7]) * 1.852;
    const double course = std::stod(f[8]);
    ASSERT_LT(course, 360);
    if (kmh > 1) tensOfDegrees.insert(static_cast<int>(course) / 10);
    fastest = std::max(fastest, kmh);
    if (f[7] == "000.0") ++standing;
    if (kmh > 30 && kmh < 60) ++town;
  }
  EXPECT_EQ(tensOfDegrees.size(), 36u);
  EXPECT_GE(fastest, 125);
  EXPECT_LE(fastest, 135);
  EXPECT_GT(standing, 10);
  EXPECT_GT(town, 60);
}

TEST(SimulatedGps, NoFixForTheFirstSecondsThenTheConfiguredStart) {
  struct Case {
    double lat;
    double lon;
    const char* latText;
    const char* ns;
    const char* lonText;
    const char* ew;
  };
  const Case cases[] = {
      {48.1173, 11.51667, "4807.0380", "N", "01131.0002", "E"},
      {-33.8568, 151.2153, "3351.4080", "S", "15112.9180", "E"},
      {40.6892, -74.0445, "4041.3520", "N", "07402.6700", "W"},
      {-22.9519, -43.2105, "2257.1140", "S", "04312.6300", "W"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.latText);
    ModemConfig config = streaming();
    config.gpsLatitude = c.lat;
    config.gpsLongitude = c.lon;
    ModemBench b(config);
    const std::string first = b.during(Millis(2500));
    for (const std::string& rmc : sentences(first, "$GPRMC")) EXPECT_EQ(fieldsOf(rmc)[2], "V");
    for (const std::string& gga : sentences(first, "$GPGGA")) EXPECT_EQ(fieldsOf(gga)[6], "0");
    ASSERT_EQ(sentences(first, "$GPRMC").size(), 2u);
    // Parked for the first seconds: the position is the start itself.
    const std::string fixed = b.during(Millis(2000));
    const std::vector<std::string> rmc = sentences(fixed, "$GPRMC");
    ASSERT_EQ(rmc.size(), 2u);
    const std::vector<std::string> f = fieldsOf(rmc[0]);
    EXPECT_EQ(f[1], "123503");
    EXPECT_EQ(f[2], "A");
    EXPECT_EQ(f[3], c.latText);
    EXPECT_EQ(f[4], c.ns);
    EXPECT_EQ(f[5], c.lonText);
    EXPECT_EQ(f[6], c.ew);
    EXPECT_EQ(f[9], "230324");
    const std::vector<std::string> g = fieldsOf(sentences(fixed, "$GPGGA")[0]);
    EXPECT_EQ(g[2], c.latText);
    EXPECT_EQ(g[3], c.ns);
    EXPECT_EQ(g[4], c.lonText);
    EXPECT_EQ(g[5], c.ew);
    EXPECT_EQ(g[6], "1");
    EXPECT_EQ(g[7].size(), 2u);
    const std::vector<std::string> gsa = fieldsOf(sentences(fixed, "$GPGSA")[0]);
    EXPECT_EQ(gsa[2], "3");
    EXPECT_EQ(std::to_string(std::stoi(g[7])),
              std::to_string(12 - std::count(gsa.begin() + 3, gsa.begin() + 15, std::string())))
        << "GGA counts the satellites GSA lists";
  }
}

TEST(SimulatedGps, TimeAndDateRunOnFromTheConfiguredStart) {
  ModemConfig config = streaming();
  config.gpsStartUtc = std::chrono::sys_days{std::chrono::year{2026} / 12 / 31} +
                       std::chrono::hours{23} + std::chrono::minutes{59} + std::chrono::seconds{58};
  ModemBench b(config);
  const std::vector<std::string> rmc = sentences(b.during(Millis(3600)), "$GPRMC");
  ASSERT_EQ(rmc.size(), 3u);
  EXPECT_EQ(fieldsOf(rmc[0])[1], "235959");
  EXPECT_EQ(fieldsOf(rmc[0])[9], "311226");
  EXPECT_EQ(fieldsOf(rmc[1])[1], "000000");
  EXPECT_EQ(fieldsOf(rmc[1])[9], "010127");
}

TEST(SimulatedGps, SelectionFiltersWhatIsSent) {
  ModemBench b(streaming());
  const auto types = [](const std::string& out) {
    std::set<std::string> t;
    for (const std::string& line : linesOf(out)) {
      if (line.starts_with("$GP")) t.insert(line.substr(1, 5));
    }
    return t;
  };
  EXPECT_EQ(types(b.during(Millis(5000))),
            (std::set<std::string>{"GPGGA", "GPGSV", "GPRMC", "GPGSA"}));
  b.say("&CNF GPS,GPRMC,100\r");
  EXPECT_EQ(types(b.during(Millis(5000))), (std::set<std::string>{"GPRMC"}));
  b.say("&CNF GPS,GPVTG;GPGLL,100\r");
  EXPECT_EQ(types(b.during(Millis(5000))), (std::set<std::string>{"GPGLL", "GPVTG"}));
  b.say("&CNF GPS,,100\r");
  EXPECT_EQ(b.during(Millis(5000)), "");
}

TEST(SimulatedGps, PositionRequestAnswersOnePositionAtOnce) {
  ModemBench b;
  b.during(Millis(10000));
  const std::string got = b.say("&REQ POS\r", 9600, Millis(5000));
  const std::vector<std::string> rmc = sentences(got, "$GPRMC");
  ASSERT_EQ(rmc.size(), 1u);
  EXPECT_TRUE(checksumValid(rmc[0]));
  EXPECT_EQ(fieldsOf(rmc[0])[1], "123510");
  EXPECT_EQ(fieldsOf(rmc[0])[2], "A");
  EXPECT_EQ(got, "&REQ POS\r\r\n" + rmc[0] + "\r\n\r\n$CNFOK\r\n");
  EXPECT_EQ(b.modem.device().positionRequests, 1);
  EXPECT_EQ(b.during(Millis(5000)), "") << "one position, no stream";
}

TEST(SimulatedGps, IntervalRequestStartsOutputOnceASecond) {
  ModemBench b;
  EXPECT_FALSE(b.modem.gpsStreaming());
  EXPECT_EQ(b.during(Millis(5000)), "") << "silent until asked";
  const std::string got = b.say("&REQ INT\r", 9600, Millis(100));
  EXPECT_EQ(got, "&REQ INT\r\r\n$CNFOK\r\n");
  EXPECT_TRUE(b.modem.gpsStreaming());
  // A second's sentences take a while on the line: the tenth arrives after the ten seconds.
  const std::string out = b.during(Millis(10600));
  EXPECT_EQ(sentences(out, "$GPGGA").size(), 10u);
  EXPECT_EQ(sentences(out, "$GPRMC").size(), 10u);
  EXPECT_EQ(sentences(out, "$GPGSA").size(), 10u);
  EXPECT_GE(sentences(out, "$GPGSV").size(), 20u);
  // The device still answers between the sentences.
  EXPECT_NE(b.say("AT\r").find("\r\nOK\r\n"), std::string::npos);
}

TEST(SimulatedGps, RestartStopsTheOutputUntilAskedAgain) {
  ModemBench b;
  b.say("&REQ INT\r");
  b.during(Millis(3000));
  b.say("&RESET\r", 9600, Millis(100));
  EXPECT_FALSE(b.modem.device().intervalRequested);
  EXPECT_EQ(b.during(Millis(10000)), "");
  b.say("&REQ INT\r");
  EXPECT_EQ(sentences(b.during(Millis(5000)), "$GPRMC").size(), 5u);

  b.modem.setBreak(true);
  b.during(Millis(300));
  b.modem.setBreak(false);
  EXPECT_EQ(b.during(Millis(10000)), "") << "a long BREAK restarts it too";
}

TEST(SimulatedGps, StreamingFromPowerOnResumesAfterARestartWithoutAFixAtFirst) {
  ModemBench b(streaming());
  b.during(Millis(10000));
  b.say("&RESET\r", 9600, Millis(100));
  EXPECT_EQ(b.during(Millis(2900)), "");
  const std::vector<std::string> rmc = sentences(b.during(Millis(10600)), "$GPRMC");
  ASSERT_EQ(rmc.size(), 10u);
  EXPECT_EQ(fieldsOf(rmc.front())[2], "V") << "the receiver starts over with the device";
  EXPECT_EQ(fieldsOf(rmc.back())[2], "A");
}

TEST(SimulatedGps, SwitchedOffSaysNothingAndForgetsTheRequest) {
  ModemBench b;
  b.say("&REQ INT\r");
  b.modem.config().powered = false;
  EXPECT_EQ(b.during(Millis(5000)), "");
  b.modem.config().powered = true;
  EXPECT_EQ(b.during(Millis(5000)), "") << "switched on again, it waits to be asked";
  EXPECT_FALSE(b.modem.device().intervalRequested);

  ModemConfig off = streaming();
  off.powered = false;
  ModemBench later(off);
  EXPECT_EQ(later.during(Millis(5000)), "");
  later.modem.config().powered = true;
  const std::vector<std::string> rmc = sentences(later.during(Millis(5600)), "$GPRMC");
  ASSERT_EQ(rmc.size(), 5u);
  EXPECT_EQ(fieldsOf(rmc.front())[2], "V") << "its receiver starts when the power comes";
  EXPECT_EQ(fieldsOf(rmc.back())[2], "A");
}

}  // namespace
}  // namespace d7o::sim
