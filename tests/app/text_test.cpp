#include "app/text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::app {
namespace {

// The one leading-number reader under the analyzer's fields, the reply readers, the gain
// sliders and TARVIK.INI; "none" is what the GSA fix type tells apart from "0".
TEST(TextLeadingNumber, ReadsTheNumberAtTheStartOfAText) {
  struct Case {
    std::string_view name;
    std::string_view text;
    std::optional<double> value;
  };
  static const Case cases[] = {
      {"course_field", "022.4", 22.4},
      {"rssi_piece", "17,99", 17.0},
      {"leading_blank", " 7", 7.0},
      {"tab_and_plus", "\t+3.5", 3.5},
      {"minus", "-78 dbm", -78.0},
      {"second_point_stops", "-12.5.3", -12.5},
      {"letter_stops", "1x", 1.0},
      {"trailing_point", "5.", 5.0},
      {"leading_point", ".25", 0.25},
      {"no_exponent", "1e5", 1.0},
      {"no_exponent_upper", "2E3", 2.0},
      {"no_blank_inside", "1 2", 1.0},
      {"no_hex", "0x10", 0.0},
      {"minus_zero_is_zero", "-0", 0.0},
      {"minus_zero_point_zero_is_zero", "-0.0", 0.0},
      {"empty", "", std::nullopt},
      {"blanks_only", "   ", std::nullopt},
      {"word", "COM3", std::nullopt},
      {"plus_only", "+", std::nullopt},
      {"minus_only", "-", std::nullopt},
      {"point_only", ".", std::nullopt},
      {"signed_point", "-.", std::nullopt},
      {"sign_then_blank", "- 5", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(leadingNumber(c.text), c.value);
    EXPECT_EQ(numericValue(c.text), c.value.value_or(0.0));
  }
}

TEST(TextLeadingNumber, MinusZeroHasNoSign) {
  EXPECT_FALSE(std::signbit(numericValue("-0")));
  EXPECT_FALSE(std::signbit(numericValue("-")));
}

TEST(TextLeadingNumber, HugeDigitRunsGiveInfinityOrZero) {
  const std::string sevens(400, '7');
  EXPECT_TRUE(std::isinf(*leadingNumber(sevens)));
  EXPECT_LT(*leadingNumber("-" + sevens), 0);
  EXPECT_TRUE(std::isinf(*leadingNumber("-" + sevens)));
  EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(leadingNumber(std::string(400, '0') + "5"), 5.0);
  EXPECT_EQ(wholeNumberOf(sevens), std::numeric_limits<int>::max());
  EXPECT_EQ(wholeNumberOf("-" + sevens), std::numeric_limits<int>::min());
}

TEST(TextLeadingNumber, DecimalsRoundAsWritten) {
  EXPECT_EQ(numericValue("054.7"), 54.7);
  EXPECT_EQ(numericValue("4807.038"), 4807.038);
  EXPECT_EQ(wholeNumberOf("2.9"), 2);
}

// 1-based as the reply readers and the analyzer count their positions.
TEST(TextMid, ReadsFromAOneBasedPositionAndNeverPastTheEnd) {
  struct Case {
    std::string_view name;
    std::string_view text;
    std::size_t start;
    std::size_t length;
    std::string_view part;
  };
  static const Case cases[] = {
      {"rssi_after_csq", "+CSQ: 17,99", 7, 2, "17"},
      {"from_the_first", "abc", 1, 2, "ab"},
      {"cut_at_the_end", "abc", 2, 5, "bc"},
      {"last_character", "abc", 3, 1, "c"},
      {"just_past_the_end", "abc", 4, 2, ""},
      {"far_past_the_end", "abc", 99, 2, ""},
      {"position_zero_is_none", "abc", 0, 2, ""},
      {"zero_length", "abc", 2, 0, ""},
      {"empty_text", "", 1, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(mid(c.text, c.start, c.length), c.part);
  }
}

TEST(TextBlankLineEnds, EveryCarriageReturnAndLineFeedBecomesABlank) {
  struct Case {
    std::string_view name;
    std::string_view text;
    std::string_view blanked;
  };
  static const Case cases[] = {
      {"final_result", "OK\r\n", "OK  "},
      {"echo_with_bare_cr", "AT+CREG?\r\r\n+CREG: 0,1\r\n", "AT+CREG?   +CREG: 0,1  "},
      {"lone_line_feed", "\nRING", " RING"},
      {"sms_prompt_untouched", "> ", "> "},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text(c.text);
    blankLineEnds(text);
    EXPECT_EQ(text, c.blanked);
  }
}

}  // namespace
}  // namespace d7o::app
