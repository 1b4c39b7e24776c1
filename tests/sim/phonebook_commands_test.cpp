// The simulated modem's SIM phone book: the storage, reading ranges, writing and clearing
// positions, and dialling a stored number from memory, byte for byte on the wire.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace d7o::sim {
namespace {

using platform::Millis;

constexpr const char* kFirst = "\r\n+CPBR: 1,\"0123456789\",129,\"Testnumber\"\r\n";
constexpr const char* kSecond = "\r\n+CPBR: 2,\"+491711234567\",145,\"Office\"\r\n";
constexpr const char* kFifth = "\r\n+CPBR: 5,\"0301234567\",129,\"Workshop\"\r\n";
constexpr const char* kOk = "\r\nOK\r\n";

struct Case {
  std::string_view name;
  std::string line;
  std::string answer;  // after the echo
};

void runCases(const ModemConfig& config, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b(config);
    EXPECT_EQ(b.say(c.line + "\r"), c.line + "\r" + c.answer);
  }
}

TEST(SimulatedPhonebook, StorageIsTheSimOnly) {
  runCases({}, {
                   {"query", "AT+CPBS?", "\r\n+CPBS: \"SM\",3,250\r\n" + std::string(kOk)},
                   {"test form", "AT+CPBS=?", "\r\n+CPBS: (\"SM\")\r\n" + std::string(kOk)},
                   {"select SM", "AT+CPBS=\"SM\"", kOk},
                   {"lower case", "at+cpbs=\"sm\"", kOk},
                   {"dialled calls", "AT+CPBS=\"LD\"", "\r\n+CME ERROR: 3\r\n"},
                   {"unquoted", "AT+CPBS=SM", "\r\nERROR\r\n"},
                   {"two storages", "AT+CPBS=\"SM\",\"ME\"", "\r\nERROR\r\n"},
               });
}

TEST(SimulatedPhonebook, ReadsTheStoredEntriesOfARange) {
  const std::string all = std::string(kFirst) + kSecond + kFifth + kOk;
  runCases({}, {
                   {"whole book", "AT+CPBR=1,250", all},
                   {"one position", "AT+CPBR=2", kSecond + std::string(kOk)},
                   {"empty position", "AT+CPBR=3", kOk},
                   {"part", "AT+CPBR=2,4", kSecond + std::string(kOk)},
                   {"beyond the size", "AT+CPBR=1,251", "\r\n+CME ERROR: 21\r\n"},
                   {"position 0", "AT+CPBR=0", "\r\n+CME ERROR: 21\r\n"},
                   {"backwards", "AT+CPBR=5,2", "\r\n+CME ERROR: 21\r\n"},
                   {"not a number", "AT+CPBR=X", "\r\nERROR\r\n"},
                   {"three parameters", "AT+CPBR=1,2,3", "\r\nERROR\r\n"},
                   {"test form", "AT+CPBR=?", "\r\n+CPBR: (1-250),20,16\r\n" + std::string(kOk)},
               });
}

TEST(SimulatedPhonebook, SizeAndEntriesAtStartAreConfigurable) {
  ModemConfig config;
  config.phonebookSize = 4;  // position 5 of the default entries lies beyond it
  ModemBench b(config);
  EXPECT_EQ(b.say("AT+CPBS?\r"), "AT+CPBS?\r\r\n+CPBS: \"SM\",2,4\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CPBR=?\r"), "AT+CPBR=?\r\r\n+CPBR: (1-4),20,16\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+CPBR=1,5\r"), "AT+CPBR=1,5\r\r\n+CME ERROR: 21\r\n");

  config.phonebookSize = 10;
  config.phonebookAtStart = {
      {3, "0171", 129, "Kept"},
      {4, "012345678901234567890", 129, "Too long number"},
      {6, "0172", 129, "Name of seventeen"},
      {3, "0173", 129, "Same position"},
  };
  ModemBench c(config);
  EXPECT_EQ(c.say("AT+CPBR=1,10\r"),
            "AT+CPBR=1,10\r\r\n+CPBR: 3,\"0171\",129,\"Kept\"\r\n\r\nOK\r\n")
      << "entries that do not fit the SIM are left out";
}

TEST(SimulatedPhonebook, WritesAndClearsPositions) {
  struct WriteCase {
    std::string_view name;
    std::string line;
    std::string answer;
    std::string readBack;  // AT+CPBR of the written position afterwards, after its echo
  };
  const WriteCase cases[] = {
      {"the program's write", "AT+CPBW=3,\"0123456789\",129,\"Testnumber\"", kOk,
       "\r\n+CPBR: 3,\"0123456789\",129,\"Testnumber\"\r\n" + std::string(kOk)},
      {"over an entry", "AT+CPBW=1,\"+49171234\",145,\"Mobile\"", kOk,
       "\r\n+CPBR: 1,\"+49171234\",145,\"Mobile\"\r\n" + std::string(kOk)},
      {"name keeps its case and blanks", "AT+CPBW=3,\"0171\",129,\"Mr Big\"", kOk,
       "\r\n+CPBR: 3,\"0171\",129,\"Mr Big\"\r\n" + std::string(kOk)},
      {"type from the plus", "AT+CPBW=3,\"+4930\"", kOk,
       "\r\n+CPBR: 3,\"+4930\",145,\"\"\r\n" + std::string(kOk)},
      {"twenty digits", "AT+CPBW=3,\"01234567890123456789\",129,\"Long\"", kOk,
       "\r\n+CPBR: 3,\"01234567890123456789\",129,\"Long\"\r\n" + std::string(kOk)},
      {"sixteen characters", "AT+CPBW=3,\"0171\",129,\"Sixteen letters!\"", kOk,
       "\r\n+CPBR: 3,\"0171\",129,\"Sixteen letters!\"\r\n" + std::string(kOk)},
      {"clear by position", "AT+CPBW=1", kOk, kOk},
      {"clear by empty number", "AT+CPBW=2,\"\",129,\"\"", kOk, kOk},
      {"clear an empty one", "AT+CPBW=3", kOk, kOk},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b;
    EXPECT_EQ(b.say(c.line + "\r"), c.line + "\r" + c.answer);
    const std::string index = c.line.substr(8, 1);
    EXPECT_EQ(b.say("AT+CPBR=" + index + "\r"), "AT+CPBR=" + index + "\r" + c.readBack);
  }
}

TEST(SimulatedPhonebook, RefusesWritesThatDoNotFit) {
  runCases(
      {},
      {
          {"beyond the size", "AT+CPBW=251,\"0123\",129,\"X\"", "\r\n+CME ERROR: 21\r\n"},
          {"position 0", "AT+CPBW=0,\"0123\",129,\"X\"", "\r\n+CME ERROR: 21\r\n"},
          {"clear beyond the size", "AT+CPBW=300", "\r\n+CME ERROR: 21\r\n"},
          {"21 digits", "AT+CPBW=3,\"012345678901234567890\",129,\"X\"", "\r\n+CME ERROR: 26\r\n"},
          {"letters in the number", "AT+CPBW=3,\"01?3\",129,\"X\"", "\r\n+CME ERROR: 27\r\n"},
          {"seventeen characters", "AT+CPBW=3,\"0171\",129,\"Seventeen letters\"",
           "\r\n+CME ERROR: 24\r\n"},
          {"quote in the name", "AT+CPBW=3,\"0171\",129,\"Te\"st\"", "\r\n+CME ERROR: 25\r\n"},
          {"no type of address", "AT+CPBW=3,\"0171\",300,\"X\"", "\r\n+CME ERROR: 3\r\n"},
          {"unquoted number", "AT+CPBW=3,0171,129,\"X\"", "\r\nERROR\r\n"},
          {"position not a number", "AT+CPBW=X,\"0171\"", "\r\nERROR\r\n"},
          {"nothing", "AT+CPBW=", "\r\nERROR\r\n"},
          {"clear without a position", "AT+CPBW=,\"\"", "\r\nERROR\r\n"},
          {"five parameters", "AT+CPBW=3,\"0171\",129,\"X\",1", "\r\nERROR\r\n"},
          {"test form", "AT+CPBW=?", "\r\n+CPBW: (1-250),20,(128-255),16\r\n" + std::string(kOk)},
      });
}

TEST(SimulatedPhonebook, WriteWithoutPositionTakesTheFirstFree) {
  ModemConfig config;
  config.phonebookSize = 3;
  ModemBench b(config);
  EXPECT_EQ(b.say("AT+CPBW=,\"0171\",129,\"Free\"\r"),
            "AT+CPBW=,\"0171\",129,\"Free\"\r\r\nOK\r\n");
  ASSERT_NE(b.modem.phonebook().at(3), nullptr);
  EXPECT_EQ(b.modem.phonebook().at(3)->name, "Free");
  EXPECT_EQ(b.say("AT+CPBW=,\"0172\"\r"), "AT+CPBW=,\"0172\"\r\r\n+CME ERROR: 20\r\n")
      << "the book is full";
}

TEST(SimulatedPhonebook, NeedsAnUnlockedSim) {
  struct SimCase {
    std::string_view name;
    SimCard sim;
    std::string answer;
  };
  const SimCase cases[] = {
      {"PIN not given", SimCard::PinRequired, "\r\n+CME ERROR: 11\r\n"},
      {"unreadable", SimCard::Unreadable, "\r\n+CME ERROR: 10\r\n"},
      {"none", SimCard::Missing, "\r\n+CME ERROR: 13\r\n"},
  };
  for (const SimCase& c : cases) {
    SCOPED_TRACE(c.name);
    ModemConfig config;
    config.sim = c.sim;
    for (const std::string line : {"AT+CPBS?", "AT+CPBR=1,250", "AT+CPBW=3,\"0171\"", "ATD>1;"}) {
      ModemBench b(config);
      EXPECT_EQ(b.say(line + "\r"), line + "\r" + c.answer) << line;
    }
  }
  ModemConfig locked;
  locked.sim = SimCard::PinRequired;
  ModemBench b(locked);
  b.say("AT+CPIN=\"5937\"\r");
  EXPECT_EQ(b.say("AT+CPBS?\r"), "AT+CPBS?\r\r\n+CPBS: \"SM\",3,250\r\n\r\nOK\r\n");
}

TEST(SimulatedPhonebook, DialFromMemoryCallsTheStoredNumber) {
  ModemBench b;
  EXPECT_EQ(b.say("ATD>2;\r", 9600, Millis(6000)), "ATD>2;\r\r\nOK\r\n");
  EXPECT_EQ(b.modem.callState(), CallState::Active);
  EXPECT_EQ(b.modem.dialledNumber(), ">2");
  EXPECT_EQ(b.modem.calledNumber(), "+491711234567");

  ModemBench d;
  d.say("ATD0301;\r", 9600, Millis(6000));
  EXPECT_EQ(d.modem.calledNumber(), "0301") << "a plain dial calls what it names";

  runCases({}, {
                   {"empty position", "ATD>3;", "\r\n+CME ERROR: 22\r\n"},
                   {"beyond the size", "ATD>251;", "\r\n+CME ERROR: 21\r\n"},
                   {"position 0", "ATD>0;", "\r\nERROR\r\n"},
               });
  ModemBench e;
  e.say("ATD>3;\r", 9600, Millis(6000));
  EXPECT_EQ(e.modem.callState(), CallState::Idle) << "no call to nobody";
}

TEST(SimulatedPhonebook, WrittenEntryIsDialledAndOutlivesARestart) {
  ModemBench b;
  b.say("AT+CPBW=7,\"0891234\",129,\"Garage\"\r");
  b.say("&RESET\r", 9600, Millis(5000));
  ASSERT_EQ(b.modem.restarts(), 1);
  EXPECT_EQ(b.say("AT+CPBR=7\r"),
            "AT+CPBR=7\r\r\n+CPBR: 7,\"0891234\",129,\"Garage\"\r\n\r\nOK\r\n");
  b.say("ATD>7;\r", 9600, Millis(6000));
  EXPECT_EQ(b.modem.calledNumber(), "0891234");
}

}  // namespace
}  // namespace d7o::sim
