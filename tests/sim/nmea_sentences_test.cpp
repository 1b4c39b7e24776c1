// The simulated receiver's sentences and the drive behind them.
#include "sim/nmea_sentences.h"

#include "sim/gps_route.h"
#include "sim/gps_sky.h"
#include "sim/nmea_check.h"

#include <array>
#include <gtest/gtest.h>
#include <set>

namespace d7o::sim {
namespace {

using namespace std::chrono;

GpsReading fixedReading() {
  GpsReading r;
  r.utc = sys_days{year{1994} / 3 / 23} + hours{12} + minutes{35} + seconds{19};
  r.fix = true;
  r.vehicle.latitude = 48.1173;
  r.vehicle.longitude = 11.51667;
  r.vehicle.speedKmh = 22.4 * 1.852;
  r.vehicle.course = 84.4;
  r.vehicle.altitude = 545.4;
  r.sky = {
      {3, 5, 7, std::nullopt}, {4, 40, 83, 46}, {9, 17, 308, 41},  {12, 7, 344, 39},
      {14, 22, 228, 45},       {22, 90, 0, 50}, {25, 33, 159, 12}, {31, 61, 270, std::nullopt}};
  return r;
}

TEST(NmeaSentences, ChecksumIsTheXorOfTheBody) {
  EXPECT_EQ(nmeaChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), "47");
  EXPECT_EQ(nmeaChecksum("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"), "6A");
  EXPECT_EQ(nmeaSentence("GPGSV,1,1,00"), "$GPGSV,1,1,00*79\r\n");
}

TEST(NmeaSentences, CoordinatesInEveryHemisphere) {
  EXPECT_EQ(latitudeField(48.1173, 3), "4807.038,N");
  EXPECT_EQ(longitudeField(11.51667, 3), "01131.000,E");
  EXPECT_EQ(latitudeField(48.1173), "4807.0380,N");
  EXPECT_EQ(longitudeField(11.51667), "01131.0002,E");
  EXPECT_EQ(latitudeField(-33.8568), "3351.4080,S");
  EXPECT_EQ(longitudeField(-70.25), "07015.0000,W");
  EXPECT_EQ(longitudeField(-151.2153, 3), "15112.918,W");
  EXPECT_EQ(latitudeField(-0.5, 3), "0030.000,S");
  EXPECT_EQ(latitudeField(0), "0000.0000,N");
  EXPECT_EQ(longitudeField(-0.0000001), "00000.0000,E") << "what rounds to zero has no side";
  EXPECT_EQ(latitudeField(48.99999999, 3), "4900.000,N") << "rounding carries into degrees";
  EXPECT_EQ(longitudeField(179.999999999, 2), "18000.00,E");
  EXPECT_EQ(latitudeField(-90), "9000.0000,S");
}

TEST(NmeaSentences, GgaAndRmcWithAFix) {
  const GpsReading r = fixedReading();
  EXPECT_EQ(ggaSentence(r), nmeaSentence("GPGGA,123519,4807.0380,N,01131.0002,E,1,05,1.4,545.4,M,"
                                         "46.9,M,,"))
      << "five of the eight satellites are tracked strongly enough";
  EXPECT_EQ(rmcSentence(r), nmeaSentence("GPRMC,123519,A,4807.0380,N,01131.0002,E,022.4,084.4,"
                                         "230394,003.1,W"));
}

TEST(NmeaSentences, CourseAndSpeedKeepTheirForm) {
  GpsReading r = fixedReading();
  const auto field = [&r](std::size_t i) { return test_nmea::fieldsOf(rmcSentence(r))[i]; };
  r.vehicle.course = 359.97;
  EXPECT_EQ(field(8), "000.0") << "never 360.0";
  r.vehicle.course = 0.04;
  EXPECT_EQ(field(8), "000.0");
  r.vehicle.course = 271.24;
  EXPECT_EQ(field(8), "271.2");
  r.vehicle.course = 9.96;
  EXPECT_EQ(field(8), "010.0");
  r.vehicle.speedKmh = 0;
  EXPECT_EQ(field(7), "000.0");
  r.vehicle.speedKmh = 130;
  EXPECT_EQ(field(7), "070.2");
}

TEST(NmeaSentences, WithoutAFix) {
  GpsReading r = fixedReading();
  r.fix = false;
  EXPECT_EQ(ggaSentence(r), nmeaSentence("GPGGA,123519,,,,,0,00,,,M,,M,,"));
  EXPECT_EQ(rmcSentence(r), nmeaSentence("GPRMC,123519,V,,,,,,,230394,,"));
  EXPECT_EQ(gsaSentence(r), nmeaSentence("GPGSA,A,1,,,,,,,,,,,,,,,"));
  EXPECT_EQ(gllSentence(r), nmeaSentence("GPGLL,,,,,123519,V"));
  EXPECT_EQ(vtgSentence(r), nmeaSentence("GPVTG,,T,,M,,N,,K"));
}

TEST(NmeaSentences, GsaListsTheSatellitesInUse) {
  EXPECT_EQ(gsaSentence(fixedReading()),
            nmeaSentence("GPGSA,A,3,04,09,12,14,22,,,,,,,,2.4,1.4,1.9"));
}

TEST(NmeaSentences, GsvFieldsHaveTheirFixedWidths) {
  EXPECT_EQ(gsvSentences(fixedReading()),
            nmeaSentence("GPGSV,2,1,08,03,05,007,,04,40,083,46,09,17,308,41,12,07,344,39") +
                nmeaSentence("GPGSV,2,2,08,14,22,228,45,22,90,000,50,25,33,159,12,31,61,270,"));
  GpsReading none = fixedReading();
  none.sky.clear();
  EXPECT_EQ(gsvSentences(none), "$GPGSV,1,1,00*79\r\n");
}

TEST(NmeaSentences, GllAndVtg) {
  const GpsReading r = fixedReading();
  EXPECT_EQ(gllSentence(r), nmeaSentence("GPGLL,4807.0380,N,01131.0002,E,123519,A"));
  EXPECT_EQ(vtgSentence(r), nmeaSentence("GPVTG,084.4,T,087.5,M,022.4,N,041.5,K"));
}

TEST(NmeaSentences, ASecondHoldsTheChosenInTheReceiversOrder) {
  const GpsReading r = fixedReading();
  EXPECT_EQ(nmeaSecond(r, {"GPRMC", "GPGGA"}), ggaSentence(r) + rmcSentence(r));
  EXPECT_EQ(nmeaSecond(r, {"GPVTG", "GPGSV", "GPGLL", "GPGSA"}),
            gllSentence(r) + gsaSentence(r) + gsvSentences(r) + vtgSentence(r));
  EXPECT_EQ(nmeaSecond(r, {}), "");
}

TEST(GpsRoute, DrivesFromStandstillToTheMotorwayThroughEveryCourse) {
  GpsRoute route(48.1173, 11.5167, 1);
  std::set<int> tensOfDegrees;
  std::set<int> tenths;
  double fastest = 0;
  int parked = 0;
  int town = 0;
  for (long long s = 0; s <= GpsRoute::lapSeconds(); ++s) {
    const Vehicle& v = route.at(s);
    ASSERT_GE(v.course, 0);
    ASSERT_LT(v.course, 360);
    ASSERT_GE(v.speedKmh, 0);
    if (v.speedKmh > 1) tensOfDegrees.insert(static_cast<int>(v.course) / 10);
    tenths.insert(static_cast<int>(v.course * 10) % 10);
    fastest = std::max(fastest, v.speedKmh);
    if (v.speedKmh == 0) ++parked;
    if (v.speedKmh > 30 && v.speedKmh < 60) ++town;
  }
  EXPECT_EQ(tensOfDegrees.size(), 36u) << "every course from 0 to 360 is driven";
  EXPECT_GE(tenths.size(), 8u) << "courses come with tenths";
  EXPECT_GE(fastest, 125);
  EXPECT_LE(fastest, 135);
  EXPECT_GE(parked, 15) << "at a standstill the speed is exactly 0";
  EXPECT_GE(town, 60);
}

TEST(GpsRoute, SameSeedSameDriveAskedInAnyOrder) {
  GpsRoute a(-33.8568, 151.2153, 7);
  GpsRoute b(-33.8568, 151.2153, 7);
  const Vehicle later = a.at(400);
  b.at(900);
  const Vehicle again = b.at(400);
  EXPECT_EQ(later.latitude, again.latitude);
  EXPECT_EQ(later.longitude, again.longitude);
  EXPECT_EQ(later.course, again.course);
  EXPECT_EQ(a.at(0).latitude, -33.8568) << "it starts where it was placed";
  EXPECT_GT(later.distance, 3000);
}

TEST(GpsRoute, CrossesTheDateLineWithoutLeavingTheRange) {
  GpsRoute route(0.001, 179.999, 3);
  for (long long s = 0; s < GpsRoute::lapSeconds() * 2; s += 7) {
    const Vehicle& v = route.at(s);
    ASSERT_GE(v.longitude, -180);
    ASSERT_LT(v.longitude, 180);
    ASSERT_LE(std::abs(v.latitude), 1);
  }
}

TEST(GpsSky, SatellitesRiseAndSet) {
  const GpsSky sky(1);
  std::set<int> seen;
  std::set<std::set<int>> sets;
  for (long long s = 0; s < 3600; s += 10) {
    const std::vector<Satellite> view = sky.inView(s);
    ASSERT_GE(view.size(), 8u);
    ASSERT_LE(view.size(), static_cast<std::size_t>(GpsSky::kMaxInView));
    ASSERT_GE(satellitesInUse(view).size(), 4u) << "at " << s << " s";
    std::set<int> now;
    for (const Satellite& sat : view) {
      ASSERT_GE(sat.elevation, 0);
      ASSERT_LE(sat.elevation, 90);
      ASSERT_GE(sat.azimuth, 0);
      ASSERT_LT(sat.azimuth, 360);
      if (sat.snr) {
        ASSERT_GE(*sat.snr, 10);
        ASSERT_LE(*sat.snr, 99);
      }
      now.insert(sat.prn);
      seen.insert(sat.prn);
    }
    sets.insert(now);
  }
  EXPECT_GE(seen.size(), 20u) << "an hour sees the constellation come and go";
  EXPECT_GE(sets.size(), 20u);
}

}  // namespace
}  // namespace d7o::sim
