#include "gps/nmea_evaluation.h"

#include <gtest/gtest.h>
#include <string_view>

namespace {

using d7o::gps::ConvertToDegrees;

struct Case {
  std::string_view name;
  std::string_view coordinate;
  std::string_view degrees;
};

constexpr Case kCases[] = {
    {"latitude of the GGA example", "4807.038", "48.1173"},
    {"longitude with leading zero", "01131.000", "11.5166666666667"},
    {"three-digit longitude", "15112.300", "151.205"},
    {"whole minutes", "2254.000", "22.9"},
    {"zero", "0000.000", "0"},
    {"empty reads as zero", "", "0"},
    {"minutes only", "0030.000", "0.5"},
    {"just under a degree", "0059.999", "0.999983333333333"},
    {"no fraction", "4807", "48.1166666666667"},
    {"leading blanks", "  4807.038", "48.1173"},
    {"plus sign", "+4807.038", "48.1173"},
    // floor(-48.07) is -49: the minutes then count up from -49 degrees.
    {"minus sign", "-4807.038", "-47.4506333333333"},
    {"stops at the first other character", "4807.038N", "48.1173"},
    {"second point ends the number", "4807.03.8", "48.1171666666667"},
    {"no digits reads as zero", "N", "0"},
    {"point only", ".", "0"},
    {"leading point", ".5", "0.00833333333333333"},
    {"comma is no decimal separator", "4807,038", "48.1166666666667"},
    {"no exponent read", "48e2", "0.8"},
    {"large value", "18000.000", "180"},
};

TEST(NmeaConvertToDegrees, Cases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ConvertToDegrees(c.coordinate), c.degrees);
  }
}

TEST(NmeaConvertToDegrees, OverlongNumberGivesTextNotACrash) {
  const std::string huge(400, '9');
  EXPECT_EQ(ConvertToDegrees(huge), "inf");
  EXPECT_EQ(ConvertToDegrees("-" + huge), "-inf");
  EXPECT_EQ(ConvertToDegrees("0." + std::string(400, '0') + "1"), "0");
}

}  // namespace
