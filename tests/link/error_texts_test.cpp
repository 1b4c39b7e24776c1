// The meanings of the modem's numbered error reports.
#include "link/error_texts.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::link {
namespace {

struct Case {
  std::string_view name;
  std::string_view reply;  // as the receive buffer holds it: line ends are blanks
  std::optional<std::string_view> meaning;
};

void check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto e = explainError(c.reply);
    ASSERT_EQ(e.has_value(), c.meaning.has_value());
    if (e) {
      EXPECT_EQ(e->meaning, *c.meaning);
    }
  }
}

TEST(ErrorTexts, EquipmentGeneralErrors0To4) {
  check({
      {"0", "+CME ERROR: 0  ", "phone failure"},
      {"1", "+CME ERROR: 1  ", "no connection to phone"},
      {"2", "+CME ERROR: 2  ", "phone-adaptor link reserved"},
      {"3", "+CME ERROR: 3  ", "operation not allowed"},
      {"4", "+CME ERROR: 4  ", "operation not supported"},
      {"5", "+CME ERROR: 5  ", "PH-SIM PIN required"},
      {"8 is not listed", "+CME ERROR: 8  ", "unknown error"},
  });
}

TEST(ErrorTexts, EquipmentSimMemoryAndNetworkErrors10To32) {
  check({
      {"10", "+CME ERROR: 10  ", "SIM not inserted"},
      {"11", "+CME ERROR: 11  ", "SIM PIN required"},
      {"12", "+CME ERROR: 12  ", "SIM PUK required"},
      {"13", "+CME ERROR: 13  ", "SIM failure"},
      {"14", "+CME ERROR: 14  ", "SIM busy"},
      {"15", "+CME ERROR: 15  ", "SIM wrong"},
      {"16", "+CME ERROR: 16  ", "incorrect password"},
      {"17", "+CME ERROR: 17  ", "SIM PIN2 required"},
      {"18", "+CME ERROR: 18  ", "SIM PUK2 required"},
      {"19 is not listed", "+CME ERROR: 19  ", "unknown error"},
      {"20", "+CME ERROR: 20  ", "memory full"},
      {"21", "+CME ERROR: 21  ", "invalid index"},
      {"22", "+CME ERROR: 22  ", "not found"},
      {"23", "+CME ERROR: 23  ", "memory failure"},
      {"24", "+CME ERROR: 24  ", "text string too long"},
      {"25", "+CME ERROR: 25  ", "invalid characters in text string"},
      {"26", "+CME ERROR: 26  ", "dial string too long"},
      {"27", "+CME ERROR: 27  ", "invalid characters in dial string"},
      {"30", "+CME ERROR: 30  ", "no network service"},
      {"31", "+CME ERROR: 31  ", "network timeout"},
      {"32", "+CME ERROR: 32  ", "network not allowed - emergency calls only"},
  });
}

TEST(ErrorTexts, EquipmentPersonalisationErrors40To48) {
  check({
      {"40", "+CME ERROR: 40  ", "network personalization PIN required"},
      {"41", "+CME ERROR: 41  ", "network personalization PUK required"},
      {"42", "+CME ERROR: 42  ", "network subset personalization PIN required"},
      {"43", "+CME ERROR: 43  ", "network subset personalization PUK required"},
      {"44", "+CME ERROR: 44  ", "service provider personalization PIN required"},
      {"45", "+CME ERROR: 45  ", "service provider personalization PUK required"},
      {"46", "+CME ERROR: 46  ", "corporate personalization PIN required"},
      {"47", "+CME ERROR: 47  ", "corporate personalization PUK required"},
      {"48", "+CME ERROR: 48  ", "hidden key required"},
  });
}

TEST(ErrorTexts, EquipmentUnknownAndPacketDomainErrorsFrom100) {
  check({
      {"100", "+CME ERROR: 100  ", "unknown"},
      {"103", "+CME ERROR: 103  ", "illegal MS (#3)"},
      {"106", "+CME ERROR: 106  ", "illegal ME (#6)"},
      {"107", "+CME ERROR: 107  ", "GPRS services not allowed (#7)"},
      {"111", "+CME ERROR: 111  ", "PLMN not allowed (#11)"},
      {"112", "+CME ERROR: 112  ", "location area not allowed (#12)"},
      {"113", "+CME ERROR: 113  ", "roaming not allowed in this location area (#13)"},
      {"114", "+CME ERROR: 114  ", "GPRS services not allowed in this PLMN (#14)"},
      {"115", "+CME ERROR: 115  ", "no suitable cells in location area (#15)"},
      {"132", "+CME ERROR: 132  ", "service option not supported (#32)"},
      {"133", "+CME ERROR: 133  ", "requested service option not subscribed (#33)"},
      {"134", "+CME ERROR: 134  ", "service option temporarily out of order (#34)"},
      {"148", "+CME ERROR: 148  ", "unspecified GPRS error"},
      {"149", "+CME ERROR: 149  ", "PDP authentication failure"},
      {"150", "+CME ERROR: 150  ", "invalid mobile class"},
      {"151 is not listed", "+CME ERROR: 151  ", "unknown error"},
  });
}

TEST(ErrorTexts, MessageServiceNetworkAndCentreCausesBelow256) {
  check({
      {"0 is no cause", "+CMS ERROR: 0  ", "unknown error"},
      {"1", "+CMS ERROR: 1  ", "unassigned (unallocated) number"},
      {"8", "+CMS ERROR: 8  ", "operator determined barring"},
      {"21", "+CMS ERROR: 21  ", "short message transfer rejected"},
      {"38", "+CMS ERROR: 38  ", "network out of order"},
      {"42", "+CMS ERROR: 42  ", "congestion"},
      {"111", "+CMS ERROR: 111  ", "protocol error, unspecified"},
      {"127", "+CMS ERROR: 127  ", "interworking, unspecified"},
      {"128", "+CMS ERROR: 128  ", "telematic interworking not supported"},
      {"144", "+CMS ERROR: 144  ", "data coding scheme (alphabet) not supported"},
      {"176", "+CMS ERROR: 176  ", "TPDU not supported"},
      {"192", "+CMS ERROR: 192  ", "SC busy"},
      {"208", "+CMS ERROR: 208  ", "SIM SMS storage full"},
      {"213", "+CMS ERROR: 213  ", "SIM data download error"},
      {"224 for applications", "+CMS ERROR: 224  ", "error specific to an application"},
      {"255", "+CMS ERROR: 255  ", "unspecified error cause"},
      {"131 is reserved", "+CMS ERROR: 131  ", "unknown error"},
  });
}

TEST(ErrorTexts, MessageServiceEquipmentErrors300To340) {
  check({
      {"300", "+CMS ERROR: 300  ", "ME failure"},
      {"301", "+CMS ERROR: 301  ", "SMS service of ME reserved"},
      {"302", "+CMS ERROR: 302  ", "operation not allowed"},
      {"303", "+CMS ERROR: 303  ", "operation not supported"},
      {"304", "+CMS ERROR: 304  ", "invalid PDU mode parameter"},
      {"305", "+CMS ERROR: 305  ", "invalid text mode parameter"},
      {"310", "+CMS ERROR: 310  ", "SIM not inserted"},
      {"311", "+CMS ERROR: 311  ", "SIM PIN required"},
      {"312", "+CMS ERROR: 312  ", "PH-SIM PIN required"},
      {"313", "+CMS ERROR: 313  ", "SIM failure"},
      {"314", "+CMS ERROR: 314  ", "SIM busy"},
      {"315", "+CMS ERROR: 315  ", "SIM wrong"},
      {"316", "+CMS ERROR: 316  ", "SIM PUK required"},
      {"317", "+CMS ERROR: 317  ", "SIM PIN2 required"},
      {"318", "+CMS ERROR: 318  ", "SIM PUK2 required"},
      {"320", "+CMS ERROR: 320  ", "memory failure"},
      {"321", "+CMS ERROR: 321  ", "invalid memory index"},
      {"322", "+CMS ERROR: 322  ", "memory full"},
      {"330", "+CMS ERROR: 330  ", "SMSC address unknown"},
      {"331", "+CMS ERROR: 331  ", "no network service"},
      {"332", "+CMS ERROR: 332  ", "network timeout"},
      {"340", "+CMS ERROR: 340  ", "no +CNMA acknowledgement expected"},
      {"306 is reserved", "+CMS ERROR: 306  ", "unknown error"},
  });
}

TEST(ErrorTexts, MessageServiceUnknownError500AndMakersCodesFrom512) {
  check({
      {"500", "+CMS ERROR: 500  ", "unknown error"},
      {"511 is reserved", "+CMS ERROR: 511  ", "unknown error"},
      {"512", "+CMS ERROR: 512  ", "manufacturer specific error"},
      {"777", "+CMS ERROR: 777  ", "manufacturer specific error"},
  });
}

TEST(ErrorTexts, UnknownCodesSayUnknownError) {
  check({
      {"CME 9999", "+CME ERROR: 9999  ", "unknown error"},
      {"CME too long a number", "+CME ERROR: 12345678901234567890  ", "unknown error"},
      {"CMS too long a number", "+CMS ERROR: 12345678901234567890  ", "unknown error"},
      {"CME 777", "+CME ERROR: 777  ", "unknown error"},
  });
}

TEST(ErrorTexts, RepliesWithoutANumberedReportHaveNoExplanation) {
  check({
      {"empty", "", std::nullopt},
      {"OK", "  OK  ", std::nullopt},
      {"plain ERROR", "  ERROR  ", std::nullopt},
      {"device's own error", "$ERROR  ", std::nullopt},
      {"head without a number", "+CME ERROR:   ", std::nullopt},
      {"head cut off", "+CME ERR", std::nullopt},
      {"lower case is not the modem's", "+cme error: 10  ", std::nullopt},
  });
}

TEST(ErrorTexts, TheTextFormSaysItInWordsAlready) {
  check({
      {"CME text", "+CME ERROR: SIM not inserted  ", std::nullopt},
      {"CMS text", "+CMS ERROR: invalid memory index  ", std::nullopt},
  });
}

TEST(ErrorTexts, TheFirstReportCountsAndIsLocated) {
  struct Place {
    std::string_view name;
    std::string_view reply;
    std::size_t position;
    std::string_view report;
    std::string_view status;
  };
  const Place cases[] = {
      {"alone", "+CME ERROR: 10  ", 0, "+CME ERROR: 10", "+CME ERROR: 10: SIM not inserted"},
      {"after the echo", "AT+CPIN=0000   +CME ERROR: 3  ", 15, "+CME ERROR: 3",
       "+CME ERROR: 3: operation not allowed"},
      {"CMS before CME", "+CMS ERROR: 304  +CME ERROR: 10  ", 0, "+CMS ERROR: 304",
       "+CMS ERROR: 304: invalid PDU mode parameter"},
      {"CME before CMS", "x +CME ERROR: 16 +CMS ERROR: 304", 2, "+CME ERROR: 16",
       "+CME ERROR: 16: incorrect password"},
      {"number at the very end", "+CMS ERROR: 330", 0, "+CMS ERROR: 330",
       "+CMS ERROR: 330: SMSC address unknown"},
  };
  for (const Place& c : cases) {
    SCOPED_TRACE(c.name);
    const auto e = explainError(c.reply);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->position, c.position);
    EXPECT_EQ(e->length, c.report.size());
    EXPECT_EQ(e->report, c.report);
    EXPECT_EQ(statusText(*e), c.status);
  }
}

}  // namespace
}  // namespace d7o::link
