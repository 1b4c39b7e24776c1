// The gain text of the "+VGR: " and "+VGT: " replies, as the receive path hands them over
// (line ends already blanks): from the character after the colon to one before the end,
// so the blank of the line feed goes and the slider reads the number that is left.
#include "app/text.h"
#include "console/voice_call.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::test {
namespace {

using console::VoiceCall;

TEST(GainText, FromAfterTheColonToOneBeforeTheEnd) {
  struct Case {
    std::string_view name;
    std::string_view reply;
    std::string_view text;
    int slider;  // the value the speaker or microphone slider takes from the text
  };
  static const Case cases[] = {
      {"maker_d7o_receive", "+VGR: 64  ", " 64 ", 64},
      {"maker_d7o_transmit", "+VGT: 100  ", " 100 ", 100},
      {"maker_d7o_whole_answer", "+VGR: 64    OK  ", " 64    OK ", 64},
      {"maker_d7o_echo_and_answer_in_one_buffer", "AT+VGR? +VGR: 64  ", " 64 ", 64},
      {"brellstowen_full_range", "+VGR: 255  ", " 255 ", 255},
      {"brellstowen_muted", "+VGT: 0  ", " 0 ", 0},
      {"wavecom", "+VGR: 128  ", " 128 ", 128},
      // Cut off: what is left before the last character.
      {"cut_off_in_value", "+VGR: 6", " ", 0},
      {"cut_off_after_blank", "+VGR: ", "", 0},
      // Without ": " there is no gain text.
      {"cut_off_at_colon", "+VGR:", "", 0},
      {"no_blank_after_colon", "+VGR:64  ", "", 0},
      {"echo_only", "AT+VGR?   ", "", 0},
      // A gain the modem could not report.
      {"non_digits", "+VGR: x  ", " x ", 0},
      {"line_noise_at_wrong_baud_rate", "\x86\xf8\x80~\x9e\xe0  ", "", 0},
      {"empty", "", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = VoiceCall::gainText(std::string(c.reply));
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(app::wholeNumberOf(text), c.slider);
  }
}

}  // namespace
}  // namespace d7o::test
