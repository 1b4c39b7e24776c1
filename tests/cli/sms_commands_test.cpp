// d7o-tool pdu, septets and decode, run through the functions the tool's main calls.
#include "cli/sms_commands.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::cli {
namespace {

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct Case {
  std::vector<std::string> args;
  int status;
  std::string_view out;       // exact
  std::string_view err = {};  // contained; empty: nothing on standard error
};

void run(Command command, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::string line;
    for (const auto& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    std::ostringstream out, err;
    EXPECT_EQ(command(c.args, out, err), c.status) << err.str();
    EXPECT_EQ(out.str(), c.out);
    if (c.err.empty()) {
      EXPECT_EQ(err.str(), "");
    } else {
      EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
    }
  }
}

const std::string kEuro = "\xE2\x82\xAC";

TEST(PduCommand, PrintsThePduAndItsLength) {
  run(pduCommand,
      {
          {{"--to", "0123456789", "--no-sca", "abc"},
           0,
           "0011010A81103254769800F6A703616263\n16\n"},
          {{"--to", "0123456789", "abc"}, 0, "0011010A81103254769800F6A703616263\n16\n"},
          {{"--sca", "491710760000", "--to", "0123456789", "abc"},
           0,
           "079194710167000011010A81103254769800F6A703616263\n16\n"},
          {{"--sca", "01710760", "--sca-national", "--to", "0123456789", "abc"},
           0,
           "05811017700611010A81103254769800F6A703616263\n16\n"},
          {{"--to", "+12345", "abc"}, 0, "00110105912143F500F6A703616263\n14\n"},
          {{"--to", "12345", "--intl", "abc"}, 0, "00110105912143F500F6A703616263\n14\n"},
          {{"--to", "0123456789", "--7bit", "--class", "0", "--vp", "0", "--mr", "255", "--pid",
            "3f", "Test-SMS"},
           0,
           "0011FF0A8110325476983FF00008D4F29CDE9A36A7\n20\n"},
          {{"--to", "0123456789", "caf\xC3\xA9"}, 0, "0011010A81103254769800F6A704636166E9\n17\n"},
          {{"--to", "0123456789", "--", "--x"}, 0, "0011010A81103254769800F6A7032D2D78\n16\n"},
          {{"--to", "0123456789", "--7bit", "a`"},
           0,
           "0011010A81103254769800F2A702E11F\n15\n",
           "1 character is not in the GSM alphabet"},
      });
}

TEST(PduCommand, RefusesBadInputAndBadUsage) {
  run(pduCommand,
      {
          {{"--to", "1", "a" + kEuro}, 1, "", "character 2 (U+20AC) does not fit in 8-bit"},
          {{"--to", "1", std::string(141, 'a')}, 1, "", "141 octets"},
          {{"--to", "1", "--7bit", std::string(159, 'a') + kEuro}, 1, "", "161 septets"},
          {{"--to", "1", "caf\xE9"}, 1, "", "not UTF-8"},
          {{"--to", "01234x", "abc"}, 1, "", "'01234x' is not 1 to 20 digits"},
          {{"--to", "1", "--sca", std::string(21, '1'), "abc"}, 1, "", "service-centre number"},
          {{"abc"}, 2, "", "--to NUMBER is missing"},
          {{"--to", "1"}, 2, "", "TEXT is missing"},
          {{"--to", "1", "a", "b"}, 2, "", "only one TEXT"},
          {{"--to", "1", "--sca", "49", "--no-sca", "a"}, 2, "", "exclude"},
          {{"--to", "1", "--7bit", "--8bit", "a"}, 2, "", "exclude"},
          {{"--to", "1", "--sca-national", "a"}, 2, "", "needs --sca"},
          {{"--to", "1", "--class", "4", "a"}, 2, "", "--class takes 0..3"},
          {{"--to", "1", "--vp", "256", "a"}, 2, "", "--vp takes 0..255"},
          {{"--to", "1", "--pid", "001", "a"}, 2, "", "--pid takes two hex"},
          {{"--to"}, 2, "", "--to needs a value"},
          {{"--to", "1", "--to", "2", "a"}, 2, "", "--to given twice"},
          {{"--to", "1", "--flash", "a"}, 2, "", "unknown option --flash"},
      });
}

TEST(SeptetsCommand, PrintsPackedSeptets) {
  run(septetsCommand, {
                          {{"abc"}, 0, "61F118\n"},
                          {{"Test-SMS"}, 0, "D4F29CDE9A36A7\n"},
                          {{kEuro}, 0, "9B32\n"},
                          {{"@\xC2\xA3_"}, 0, "804004\n"},
                          {{"--", "-a"}, 0, "AD30\n"},
                          {{"\xE4\xB8\xAD\xE4\xB8\xAD"}, 0, "BF1F\n", "2 characters are not"},
                          {{"\xFF"}, 1, "", "not UTF-8"},
                          {{}, 2, "", "TEXT is missing"},
                          {{"a", "b"}, 2, "", "only one TEXT"},
                      });
}

TEST(DecodeCommand, PrintsOneJsonLineOrTheFailingOctet) {
  run(decodeCommand,
      {
          {{"0001010A81103254769800F603616263"},
           0,
           R"({"sca":null,"type":"SMS-SUBMIT","first_octet":"01","flags":{"mti":1,"rd":false,)"
           R"("vpf":"none","srr":false,"udhi":false,"rp":false},"mr":"01","address":{"type":)"
           R"("81","number":"0123456789"},"pid":"00","dcs":{"value":"F6","coding":"8bit",)"
           R"("class":2,"compressed":false},"vp":null,"udl":3,"udh":null,"text":"abc"})"
           "\n"},
          {{"0011010A81103254769800F6A705616263"}, 1, "", "octet 15: user data ends after 3 of 5"},
          {{"--without-sca", "0011010A81103254769800F6A703616263"}, 1, "", "octet "},
          {{"XYZ"}, 1, "", "octet 1: 'X' is not a hex digit"},
          {{}, 2, "", "HEX is missing"},
          {{"--with-sca", "--without-sca", "00"}, 2, "", "exclude"},
      });
}

}  // namespace
}  // namespace d7o::cli
