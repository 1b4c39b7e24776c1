#include "ui/line_settings.h"

#include <gtest/gtest.h>
#include <string_view>

namespace d7o::ui {
namespace {

using Parity = LineSettings::Parity;
using StopBits = LineSettings::StopBits;

struct Good {
  std::string_view text;
  int baud;
  Parity parity;
  int dataBits;
  StopBits stopBits;
};

TEST(LineSettings, ReadsEveryFieldOfAValidText) {
  const Good cases[] = {
      {"9600,n,8,1", 9600, Parity::None, 8, StopBits::One},
      {"115200,N,8,1", 115200, Parity::None, 8, StopBits::One},
      {"2400,e,7,2", 2400, Parity::Even, 7, StopBits::Two},
      {"300,O,5,1.5", 300, Parity::Odd, 5, StopBits::OneAndHalf},
      {" 19200 , m , 6 , 1 ", 19200, Parity::Mark, 6, StopBits::One},
      {"57600,s,8,1", 57600, Parity::Space, 8, StopBits::One},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    LineSettings s;
    ASSERT_FALSE(parseLineSettings(c.text, s).has_value());
    EXPECT_EQ(s.baud, c.baud);
    EXPECT_EQ(s.parity, c.parity);
    EXPECT_EQ(s.dataBits, c.dataBits);
    EXPECT_EQ(s.stopBits, c.stopBits);
  }
}

TEST(LineSettings, RefusesABrokenTextAndKeepsWhatItHad) {
  const std::string_view cases[] = {
      "",           "9600",        "9600,n,8",   "9600,n,8,1,1", "96O0,n,8,1",
      "0,n,8,1",    "-9600,n,8,1", "9600,x,8,1", "9600,no,8,1",  "9600,n,9,1",
      "9600,n,4,1", "9600,n,8,3",
  };
  for (const auto text : cases) {
    SCOPED_TRACE(text);
    LineSettings s;
    s.baud = 4800;
    const auto error = parseLineSettings(text, s);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, kInvalidPropertyValue);
    EXPECT_EQ(s.baud, 4800);
  }
}

}  // namespace
}  // namespace d7o::ui
