#include "gps/nmea_fields.h"

#include "cli/nmea_to_json.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace {

using namespace d7o::gps::nmea;

TEST(NmeaFields, GeneralTextIsPercentG15) {
  struct Case {
    double value;
    std::string_view text;
  };
  const Case cases[] = {
      {22.4 * 1.852, "41.4848"},
      {84.4, "84.4"},
      {0.0, "0"},
      {360.0, "360"},
      {1.0 / 3, "0.333333333333333"},
      {-12.5, "-12.5"},
      {1e20, "1e+20"},
      {123456789012345.0, "123456789012345"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(generalText(c.value), c.text);
  }
}

TEST(NmeaFields, CommaTableKeepsTheFirst101Commas) {
  const std::string text = "$GPXXX" + std::string(120, ',');
  const CommaTable commas(text);
  EXPECT_EQ(commas.count(), 101u);
  EXPECT_EQ(commas.field(100), "");
  EXPECT_EQ(commas.field(101), std::nullopt);
  EXPECT_EQ(commas.comma(0), 7u);
}

TEST(NmeaFields, FieldsBetweenCommas) {
  const CommaTable commas("$GPGSA,A,3,04*39");
  EXPECT_EQ(commas.field(0), std::nullopt);
  EXPECT_EQ(commas.field(1), "A");
  EXPECT_EQ(commas.field(2), "3");
  EXPECT_EQ(commas.field(3), std::nullopt) << "no comma after the last field";
}

TEST(NmeaJson, Latin1BecomesUtf8) {
  EXPECT_EQ(d7o::cli::latin1ToUtf8("545.4\xb0"), "545.4\xc2\xb0");
  EXPECT_EQ(d7o::cli::latin1ToUtf8("\xff\x7f"), "\xc3\xbf\x7f");
}

TEST(NmeaJson, LineEndsBecomeBlanksAsInTheReceivePath) {
  d7o::cli::NmeaToJson withCr(true);
  d7o::cli::NmeaToJson withoutCr(true);
  const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  EXPECT_EQ(withCr.line(gga + "\r"), withoutCr.line(gga));
  EXPECT_EQ(withCr.fix().gpsString, gga + "  ");
  withCr.line("$GPRMC,0915\r");
  EXPECT_EQ(withCr.fix().utc, "09:15:  ");
}

}  // namespace
