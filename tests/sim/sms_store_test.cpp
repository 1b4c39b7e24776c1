// The simulated modem's message store: listing, reading and deleting in text and PDU
// mode, the positions and statuses the program and gammu rely on.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using platform::Millis;

// Positions 1 (unread, from +491711234567), 2 (read, national sender), 3 (stored to send).
ModemConfig threeMessages() {
  ModemConfig config;
  config.smsAtStart = {
      {SmsStatus::RecUnread, "+491711234567", "Hello", std::nullopt},
      {SmsStatus::RecRead, "0301234", "Second", std::nullopt},
      {SmsStatus::StoUnsent, "0123456789", "Draft", std::nullopt},
  };
  return config;
}

constexpr const char* kStamp = "\"26/12/09,14:05:00+04\"";
// The SMS-DELIVER of position 1: centre +491710760000, "Hello" in the default alphabet.
constexpr const char* kHelloPdu =
    "0791947101670000040C9194711132547600006221904150004005C8329BFD06";

std::vector<int> occupied(const ModemBench& b) {
  return b.modem.smsStore().occupied();
}

TEST(SimulatedSmsStore, TextModeListsByStatus) {
  const std::string first =
      std::string("\r\n+CMGL: 1,\"REC UNREAD\",\"+491711234567\",,") + kStamp + "\r\nHello\r\n";
  const std::string second =
      std::string("\r\n+CMGL: 2,\"REC READ\",\"0301234\",,") + kStamp + "\r\nSecond\r\n";
  const std::string third = "\r\n+CMGL: 3,\"STO UNSENT\",\"0123456789\",,\r\nDraft\r\n";
  struct Case {
    const char* line;
    std::string answer;
  };
  const Case cases[] = {
      {"AT+CMGL=\"ALL\"", first + second + third + "\r\nOK\r\n"},
      {"AT+CMGL=\"REC UNREAD\"", first + "\r\nOK\r\n"},
      {"AT+CMGL", first + "\r\nOK\r\n"},
      {"AT+CMGL=\"REC READ\"", second + "\r\nOK\r\n"},
      {"AT+CMGL=\"STO UNSENT\"", third + "\r\nOK\r\n"},
      {"AT+CMGL=\"STO SENT\"", "\r\nOK\r\n"},
      {"at+cmgl=\"all\"", first + second + third + "\r\nOK\r\n"},
      {"AT+CMGL=4", "\r\n+CMS ERROR: 305\r\n"},
      {"AT+CMGL=ALL", "\r\n+CMS ERROR: 305\r\n"},
      {"AT+CMGL=?",
       "\r\n+CMGL: (\"REC UNREAD\",\"REC READ\",\"STO UNSENT\",\"STO "
       "SENT\",\"ALL\")\r\n\r\nOK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemBench b(threeMessages());
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
}

TEST(SimulatedSmsStore, ListingAndReadingMarkUnreadAsRead) {
  ModemBench b(threeMessages());
  EXPECT_NE(b.say("AT+CMGL\r").find("Hello"), std::string::npos);
  EXPECT_EQ(b.say("AT+CMGL\r"), "AT+CMGL\r\r\nOK\r\n") << "no unread one is left";
  EXPECT_EQ(b.modem.smsStore().at(1)->status, SmsStatus::RecRead);

  ModemBench r(threeMessages());
  const std::string header =
      std::string("\"+491711234567\",,") + kStamp + "\r\nHello\r\n\r\nOK\r\n";
  EXPECT_EQ(r.say("AT+CMGR=1\r"), "AT+CMGR=1\r\r\n+CMGR: \"REC UNREAD\"," + header)
      << "the status as it was before this reading";
  EXPECT_EQ(r.say("AT+CMGR=1\r"), "AT+CMGR=1\r\r\n+CMGR: \"REC READ\"," + header);

  ModemBench k(threeMessages());
  k.say("AT+CMGF=0\r");
  EXPECT_NE(k.say("AT+CMGL=4,1\r").find("+CMGL: 1,0,,24"), std::string::npos);
  EXPECT_EQ(k.modem.smsStore().at(1)->status, SmsStatus::RecUnread) << "asked to keep it unread";
}

TEST(SimulatedSmsStore, HeaderValuesInTextMode) {
  ModemBench b(threeMessages());
  b.say("AT+CSDH=1\r");
  EXPECT_EQ(b.say("AT+CMGL=\"ALL\"\r"),
            std::string("AT+CMGL=\"ALL\"\r") + "\r\n+CMGL: 1,\"REC UNREAD\",\"+491711234567\",," +
                kStamp + ",145,5\r\nHello\r\n" + "\r\n+CMGL: 2,\"REC READ\",\"0301234\",," +
                kStamp + ",129,6\r\nSecond\r\n" +
                "\r\n+CMGL: 3,\"STO UNSENT\",\"0123456789\",,,129,5\r\nDraft\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGR=1\r"), std::string("AT+CMGR=1\r") +
                                      "\r\n+CMGR: \"REC READ\",\"+491711234567\",," + kStamp +
                                      ",145,4,0,0,\"+491710760000\",145,5\r\nHello\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGR=3\r"),
            "AT+CMGR=3\r\r\n+CMGR: \"STO UNSENT\",\"0123456789\",,129,17,0,0,167,"
            "\"+491710760000\",145,5\r\nDraft\r\n\r\nOK\r\n");
}

TEST(SimulatedSmsStore, PduModeGivesWholePdus) {
  ModemBench b(threeMessages());
  b.say("AT+CMGF=0\r");
  const std::string first = std::string("\r\n+CMGL: 1,0,,24\r\n") + kHelloPdu + "\r\n";
  const std::string all = b.say("AT+CMGL=4\r");
  ASSERT_EQ(all.substr(0, 10 + first.size()), "AT+CMGL=4\r" + first);
  EXPECT_NE(all.find("\r\n+CMGL: 2,1,,"), std::string::npos);
  EXPECT_NE(all.find("\r\n+CMGL: 3,2,,"), std::string::npos);
  EXPECT_EQ(all.substr(all.size() - 6), "\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGR=1\r"),
            std::string("AT+CMGR=1\r\r\n+CMGR: 1,,24\r\n") + kHelloPdu + "\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGL=0\r"), "AT+CMGL=0\r\r\nOK\r\n") << "none is unread any more";
  EXPECT_EQ(b.say("AT+CMGL=?\r"), "AT+CMGL=?\r\r\n+CMGL: (0-4)\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CMGL=\"ALL\"\r"), "AT+CMGL=\"ALL\"\r\r\n+CMS ERROR: 304\r\n");
  EXPECT_EQ(b.say("AT+CMGL=5\r"), "AT+CMGL=5\r\r\n+CMS ERROR: 304\r\n");
}

TEST(SimulatedSmsStore, MessagesBeyondTheDefaultAlphabetAreUcs2) {
  ModemConfig config;
  config.smsAtStart = {{SmsStatus::RecRead, "+7495", "Привет", std::nullopt}};
  ModemBench b(config);
  EXPECT_EQ(b.say("AT+CMGR=1\r"), std::string("AT+CMGR=1\r\r\n+CMGR: \"REC READ\",\"+7495\",,") +
                                      kStamp + "\r\n041F04400438043204350442\r\n\r\nOK\r\n");
  b.say("AT+CSCS=\"UCS2\"\r");
  EXPECT_EQ(b.say("AT+CMGL=\"ALL\"\r"),
            std::string("AT+CMGL=\"ALL\"\r\r\n+CMGL: 1,\"REC READ\",\"002B0037003400390035\",,") +
                kStamp + "\r\n041F04400438043204350442\r\n\r\nOK\r\n");
}

TEST(SimulatedSmsStore, ReadingPositions) {
  struct Case {
    const char* line;
    const char* answer;
  };
  const Case cases[] = {
      {"AT+CMGR=5", "\r\nOK\r\n"},  // empty, within the store
      {"AT+CMGR=20", "\r\nOK\r\n"},
      {"AT+CMGR=21", "\r\n+CMS ERROR: 321\r\n"},
      {"AT+CMGR=0", "\r\n+CMS ERROR: 321\r\n"},
      {"AT+CMGR=", "\r\nERROR\r\n"},
      {"AT+CMGR=x", "\r\nERROR\r\n"},
      {"AT+CMGR=?", "\r\nOK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemBench b(threeMessages());
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
  // After "+CMTI" the program reads the position with the former line end as two blanks.
  ModemBench b(threeMessages());
  EXPECT_NE(b.say("AT+CMGR=2  \r").find("\r\nSecond\r\n\r\nOK\r\n"), std::string::npos);
}

TEST(SimulatedSmsStore, Deleting) {
  struct Case {
    const char* line;
    const char* answer;
    std::vector<int> left;
  };
  const Case cases[] = {
      {"AT+CMGD=1", "\r\nOK\r\n", {2, 3}},
      {"AT+CMGD=5", "\r\nOK\r\n", {1, 2, 3}},  // empty already
      {"AT+CMGD=0", "\r\n+CMS ERROR: 321\r\n", {1, 2, 3}},
      {"AT+CMGD=21", "\r\n+CMS ERROR: 321\r\n", {1, 2, 3}},
      {"AT+CMGD=", "\r\nERROR\r\n", {1, 2, 3}},
      {"AT+CMGD=1,1", "\r\nOK\r\n", {1, 3}},  // the read ones, wherever they are
      {"AT+CMGD=0,3", "\r\nOK\r\n", {1}},     // also sent and unsent
      {"AT+CMGD=0,4", "\r\nOK\r\n", {}},
      {"AT+CMGD=1,5", "\r\nERROR\r\n", {1, 2, 3}},
      {"AT + CMGD = 3", "\r\nOK\r\n", {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemBench b(threeMessages());
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
    EXPECT_EQ(occupied(b), c.left);
  }
  ModemBench b(threeMessages());
  EXPECT_EQ(b.say("AT+CMGD=?\r"), "AT+CMGD=?\r\r\n+CMGD: (1,2,3),(0-4)\r\n\r\nOK\r\n");
}

TEST(SimulatedSmsStore, DeleteAllRunsThroughEveryPosition) {
  ModemConfig config = threeMessages();
  config.smsStoreSize = 5;
  ModemBench b(config);
  EXPECT_EQ(b.say("AT+CPMS?\r"),
            "AT+CPMS?\r\r\n+CPMS: \"SM\",3,5,\"SM\",3,5,\"SM\",3,5\r\n\r\nOK\r\n");
  for (int i = 1; i <= 5; ++i) {
    const std::string line = "AT+CMGD=" + std::to_string(i) + "\r";
    EXPECT_EQ(b.say(line), line + "\r\nOK\r\n");
  }
  EXPECT_EQ(b.modem.smsStore().used(), 0);
}

TEST(SimulatedSmsStore, ScenarioPresetsPositions) {
  ModemBench b;
  ASSERT_TRUE(b.modem.smsStore().put(7, {SmsStatus::RecRead, "0301234", "Seven", std::nullopt}));
  EXPECT_FALSE(b.modem.smsStore().put(21, {}));
  EXPECT_EQ(b.say("AT+CMGL=\"ALL\"\r"),
            std::string("AT+CMGL=\"ALL\"\r\r\n+CMGL: 7,\"REC READ\",\"0301234\",,") + kStamp +
                "\r\nSeven\r\n\r\nOK\r\n")
      << "without a time of its own it has the network's at power-on";
}

}  // namespace
}  // namespace d7o::sim
