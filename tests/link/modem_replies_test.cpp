// The readers of the modem's information replies, fed the replies as the receive path
// hands them over: every CR and LF already a blank, so "+CSQ: 17,99\r\n" arrives as
// "+CSQ: 17,99  ". Rows are named after the engine the reply was taken from; the rest are
// the broken replies a bench sees (cut off, line noise at a wrong baud rate, echoes only).
#include "link/modem_replies.h"

#include "app/text.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::test {
namespace {

using link::dbmOfRssi;
using link::firmwareVersionOf;
using link::isSupportedFirmware;
using link::registrationStatusOf;
using link::rssiOf;

TEST(ModemReplies, RssiIsTheNumberRightAfterTheMarker) {
  struct Case {
    std::string_view name;
    std::string_view reply;
    int rssi;
  };
  static const Case cases[] = {
      {"maker_d7o", "+CSQ: 17,99  ", 17},
      {"maker_d7o_echo_and_answer_in_one_buffer", "AT+CSQ +CSQ: 17,99    OK  ", 17},
      {"maker_d7o_bit_error_rate_known", "+CSQ: 14,3  ", 14},
      {"siemens_mc35", "+CSQ: 23,99  ", 23},
      {"siemens_mc35_single_digit", "+CSQ: 7,99  ", 7},
      {"brellstowen_strongest", "+CSQ: 31,0  ", 31},
      {"wavecom_weakest", "+CSQ: 0,0  ", 0},
      {"wavecom_not_detectable", "+CSQ: 99,99  ", 99},
      {"maker_d7o_not_detectable_whole_answer", "+CSQ: 99,99    OK  ", 99},
      // Cut off after the first digit: what is there is all there is to read.
      {"cut_off_after_first_digit", "+CSQ: 1", 1},
      // Failures read as 0.
      {"echo_only", "AT+CSQ   ", 0},
      {"missing_marker", "17,99  ", 0},
      {"lowercase_marker", "+csq: 17,99  ", 0},
      {"cut_off_after_marker", "+CSQ:", 0},
      {"cut_off_after_blank", "+CSQ: ", 0},
      {"non_digits", "+CSQ: xx,99  ", 0},
      {"first_value_missing", "+CSQ: ,99  ", 0},
      {"line_noise_at_wrong_baud_rate", "\x86\xf8\x80~\x9e\xe0  ", 0},
      {"empty", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(rssiOf(c.reply), c.rssi);
  }
}

// GSM 07.07: -113 + 2 x RSSI, so the bench tool reads what every other GSM tool reads on
// the same modem.
TEST(ModemReplies, DbmIsTwiceTheRssiLess113) {
  struct Case {
    std::string_view name;
    int rssi;
    int dbm;
  };
  static const Case cases[] = {
      {"weakest", 0, -113},   {"siemens_mc35_single_digit", 7, -99},
      {"maker_d7o", 17, -79}, {"siemens_mc35", 23, -67},
      {"strongest", 31, -51},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(dbmOfRssi(c.rssi), c.dbm);
  }
}

TEST(ModemReplies, RegistrationStatusIsTheSecondValue) {
  struct Case {
    std::string_view name;
    std::string_view reply;
    int status;
  };
  static const Case cases[] = {
      {"maker_d7o_home", "+CREG: 0,1  ", 1},
      {"maker_d7o_home_whole_answer", "+CREG: 0,1    OK  ", 1},
      {"siemens_mc35_roaming", "+CREG: 0,5  ", 5},
      {"siemens_mc35_denied", "+CREG: 0,3  ", 3},
      {"wavecom_searching", "+CREG: 0,2  ", 2},
      {"wavecom_unknown", "+CREG: 0,4  ", 4},
      {"brellstowen_not_registered", "+CREG: 0,0  ", 0},
      {"brellstowen_with_location", "+CREG: 2,1,\"1A2B\",\"3C4D\"  ", 1},
      {"maker_d7o_unsolicited_reporting_on", "+CREG: 1,5  ", 5},
      // Failures read as 0, "not registered": the poll goes on.
      {"echo_only", "AT+CREG?   ", 0},
      {"echo_without_line_end", "AT+CREG?", 0},
      {"missing_marker", "+CSQ: 17,99  ", 0},
      {"lowercase_marker", "+creg: 0,1  ", 0},
      {"cut_off_after_marker", "+CREG", 0},
      {"cut_off_before_status", "+CREG: 0,", 0},
      {"non_digit_status", "+CREG: 0,x  ", 0},
      {"line_noise_at_wrong_baud_rate", "\x86\xf8\x80~\x9e\xe0  ", 0},
      {"empty", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(registrationStatusOf(c.reply), c.status);
  }
}

// The echo "AT+CREG?" holds "+CREG" too: where the echo and the answer reach the reader
// in one buffer (a modem in numeric result mode, ATV0, ends its echo with a CR alone), the
// status is still the answer's.
TEST(ModemReplies, RegistrationStatusBehindTheEcho) {
  struct Case {
    std::string_view name;
    std::string_view reply;
    int status;
  };
  static const Case cases[] = {
      {"maker_d7o_echo_and_answer_in_one_buffer", "AT+CREG? +CREG: 0,1    OK  ", 1},
      {"siemens_mc35_echo_and_answer_in_one_buffer", "AT+CREG?   +CREG: 0,5    OK  ", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(registrationStatusOf(c.reply), c.status);
  }
}

// The pair as the identification row uses it: the version, then whether the alarm and
// GPS tabs may open.
TEST(ModemReplies, FirmwareVersionFromTheIdentification) {
  struct Case {
    std::string_view name;
    std::string_view reply;
    std::optional<std::string_view> version;
    bool supported;
  };
  static const Case cases[] = {
      {"maker_d7o_newest", "$TARVIK R7O-3 Alarm/GPS V1.63  ", "V1.63", true},
      {"maker_d7o_oldest_supported", "$TARVIK R7O-3 Alarm/GPS V1.50  ", "V1.50", true},
      {"maker_d7o_echo_and_answer_in_one_buffer", "&REQ TM   $TARVIK R7O-3 Alarm/GPS V1.62    OK  ",
       "V1.62", true},
      {"maker_d7o_mixed_case_name", "Tarvik R7O-3 Alarm/GPS V1.55  ", "V1.55", true},
      {"maker_d7o_withdrawn_v151", "$TARVIK R7O-3 Alarm/GPS V1.51  ", "V1.51", false},
      {"maker_d7o_withdrawn_v152", "$TARVIK R7O-3 Alarm/GPS V1.52  ", "V1.52", false},
      {"maker_d7o_too_old", "$TARVIK R7O-3 Alarm/GPS V1.49  ", "V1.49", false},
      {"maker_d7o_newer_than_known", "$TARVIK R7O-3 Alarm/GPS V1.64  ", "V1.64", false},
      // Cut off: the start of a version is no version the tabs support.
      {"cut_off_version", "$TARVIK R7O-3 Alarm/GPS V1.6", "V1.6", false},
      {"cut_off_after_marker", "$TARVIK R7O-3 Alarm/GPS V1.", "V1.", false},
      // No "V1.": no version.
      {"maker_d7o_manufacturer_reply", "Tarvik GmbH  ", std::nullopt, false},
      {"maker_d7o_without_version", "$TARVIK R7O-3 Alarm/GPS  ", std::nullopt, false},
      {"lowercase_version", "$tarvik r7o-3 alarm/gps v1.63  ", std::nullopt, false},
      {"second_generation_firmware", "$TARVIK R7O-3 Alarm/GPS V2.01  ", std::nullopt, false},
      {"siemens_mc35_revision", "REVISION 02.004  ", std::nullopt, false},
      {"line_noise_at_wrong_baud_rate", "\x86\xf8V1\x80~  ", std::nullopt, false},
      {"empty", "", std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto version = firmwareVersionOf(c.reply);
    EXPECT_EQ(version, c.version);
    EXPECT_EQ(version && isSupportedFirmware(*version), c.supported);
  }
}

TEST(ModemReplies, SupportedFirmwareVersions) {
  struct Case {
    std::string_view name;
    std::string_view version;
    bool supported;
  };
  static const Case cases[] = {
      {"newest", "V1.63", true},
      {"oldest", "V1.50", true},
      {"first_after_the_withdrawn", "V1.53", true},
      {"withdrawn_v151", "V1.51", false},
      {"withdrawn_v152", "V1.52", false},
      {"older_than_the_oldest", "V1.49", false},
      {"newer_than_the_newest", "V1.64", false},
      {"cut_off", "V1.6", false},
      {"cut_off_with_line_end", "V1.6 ", false},
      {"lowercase", "v1.63", false},
      {"two_versions", "V1.63;V1.62", false},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(isSupportedFirmware(c.version), c.supported);
  }
}

// Only whole entries of the list are versions: five characters across two are none.
TEST(ModemReplies, PiecesOfTheListAreNoSupportedVersion) {
  struct Case {
    std::string_view name;
    std::string_view version;
    bool supported;
  };
  static const Case cases[] = {
      {"end_of_one_start_of_next", "3;V1.", false},
      {"version_without_its_letter", "1.63;", false},
      {"separator_first", ";V1.6", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(isSupportedFirmware(c.version), c.supported);
  }
}

// The numeric reading under the readers above and under the gain sliders: leading blanks,
// a sign, digits and one decimal point, up to the first other character.
TEST(ModemRepliesNumericValue, LeadingNumberOfAReplyPiece) {
  struct Case {
    std::string_view name;
    std::string_view text;
    double value;
    int whole;
  };
  static const Case cases[] = {
      {"rssi_piece", "17,99", 17, 17},
      {"registration_piece", "1", 1, 1},
      {"gain_text", " 64 ", 64, 64},
      {"gain_text_with_ok", " 255    OK ", 255, 255},
      {"dbm_caption", "-78 dbm", -78, -78},
      {"plus_sign", "+5", 5, 5},
      {"leading_tab", "\t7", 7, 7},
      {"course_with_decimals", "054.7", 54.7, 54},
      {"negative_truncates_toward_zero", "-2.9", -2.9, -2},
      {"leading_point", ".5", 0.5, 0},
      {"second_point_stops", "1.2.3", 1.2, 1},
      {"too_big_for_a_whole_number", "99999999999", 99999999999.0, std::numeric_limits<int>::max()},
      {"too_small_for_a_whole_number", "-99999999999", -99999999999.0,
       std::numeric_limits<int>::min()},
      // No number reads as 0.
      {"port_word", "COM3", 0, 0},
      {"sign_only", "-", 0, 0},
      {"point_only", ".", 0, 0},
      {"blanks_only", "   ", 0, 0},
      {"line_noise_at_wrong_baud_rate", "\x86\xf8\x80~", 0, 0},
      {"empty", "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(app::numericValue(c.text), c.value);
    EXPECT_EQ(app::wholeNumberOf(c.text), c.whole);
  }
}

// The identification row looks for "TARVIK" in the upper-cased reply.
TEST(ModemRepliesUpperCased, MakersNameInAnyCase) {
  struct Case {
    std::string_view name;
    std::string_view reply;
    std::string_view upperPart;
    bool contains;
  };
  static const Case cases[] = {
      {"maker_d7o_identification", "$TARVIK R7O-3 Alarm/GPS V1.63  ", "TARVIK", true},
      {"maker_d7o_manufacturer_reply", "Tarvik GmbH  ", "TARVIK", true},
      {"maker_d7o_lowercase", "tarvik gmbh  ", "TARVIK", true},
      {"latin1_accented_letter", "M\xfcller  ", "M\xdcLLER", true},
      {"division_sign_is_no_letter", "\xf7  ", "\xd7", false},
      {"empty_part_is_always_there", "OK  ", "", true},
      {"siemens_mc35", "SIEMENS  ", "TARVIK", false},
      {"wavecom", "WAVECOM MODEM  ", "TARVIK", false},
      {"cut_off_name", "$TARVI", "TARVIK", false},
      {"empty", "", "TARVIK", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(app::containsUpperCased(c.reply, c.upperPart), c.contains);
  }
}

}  // namespace
}  // namespace d7o::test
