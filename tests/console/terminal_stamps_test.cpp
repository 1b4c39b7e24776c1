// The terminal's time stamps: every row carries the PC's local time of its arrival and the
// echoes of the program's own lines a "sent" mark, beside the row, never in its text; the
// rows the program matches, sends again and logs stay as the modem sent them.
#include "console/terminal.h"
#include "link/serial_link.h"
#include "support/rig.h"

#include <gtest/gtest.h>
#include <map>

namespace d7o::test {
namespace {

using forms::RowStamp;
using platform::Millis;
using Lines = std::vector<std::string>;

// 09:30:00.000, the test host's clock when virtual time starts.
constexpr int kStartOfRun = (9 * 60 + 30) * 60 * 1000;

// The virtual time each row was added at, as the rig's clock tells it.
struct Arrivals {
  explicit Arrivals(Rig& rig) {
    rig.main().List3.itemsChanged.connect([&rig, this](forms::ListChange change) {
      if (change.kind == forms::ListChange::Kind::Added) {
        at.push_back(kStartOfRun + static_cast<int>(rig.scheduler.now().count()));
      }
    });
  }
  std::vector<int> at;
};

std::vector<bool> sentMarks(const forms::ListBox& list) {
  std::vector<bool> marks;
  for (int i = 0; i < list.count(); ++i) marks.push_back(list.stamp(i).sent);
  return marks;
}

int rowOf(const forms::ListBox& list, const std::string& text) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.item(i) == text) return i;
  }
  return -1;
}

TEST(TerminalStamps, EveryRowCarriesItsTimeOfArrivalAndTheEchoItsSentMark) {
  Rig rig;
  rig.startAnswered();
  Arrivals arrivals(rig);
  rig.run(Millis(1234));
  rig.send("AT+CSQ");
  rig.run(Millis(2000));
  rig.send("AT+CREG?");

  auto& list = rig.main().List3;
  ASSERT_GE(list.count(), 6);
  EXPECT_EQ(list.item(0), "AT+CSQ   ");
  EXPECT_EQ(list.item(3), "AT+CREG?   ");
  ASSERT_EQ(arrivals.at.size(), rig.terminal().size());
  for (int i = 0; i < list.count(); ++i) {
    SCOPED_TRACE(list.item(i));
    EXPECT_EQ(list.stamp(i).timeOfDay, arrivals.at[static_cast<std::size_t>(i)]);
    // Here every echo is of a command ("AT..."), and no reply starts like one.
    EXPECT_EQ(list.stamp(i).sent, list.item(i).starts_with("AT"));
  }
  EXPECT_GT(list.stamp(3).timeOfDay, list.stamp(0).timeOfDay + 2000);
}

TEST(TerminalStamps, ShownWithTheirTimeOnlyWhileTheBoxIsTicked) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  EXPECT_FALSE(w.CheckTimeStamps.checked()) << "off at start";
  rig.run(Millis(250));
  rig.send("AT");
  ASSERT_EQ(rig.terminal(), (Lines{"AT   ", "OK  "}));
  const std::string arrived = forms::timeOfDayText(w.List3.stamp(0).timeOfDay);
  EXPECT_EQ(arrived.substr(0, 10), "09:30:00.2");
  EXPECT_EQ(w.List3.shownText(0), "AT   ");

  w.CheckTimeStamps.setChecked(true);
  EXPECT_TRUE(w.List3.showStamps());
  EXPECT_EQ(w.List3.shownText(0), arrived + " > AT   ");
  EXPECT_EQ(w.List3.shownText(1), forms::timeOfDayText(w.List3.stamp(1).timeOfDay) + "   OK  ");
  EXPECT_EQ(rig.terminal(), (Lines{"AT   ", "OK  "})) << "the rows themselves stay";

  w.CheckTimeStamps.setChecked(false);
  EXPECT_EQ(w.List3.shownText(0), "AT   ");
}

TEST(TerminalStamps, TimeOfDayReadsHoursMinutesSecondsAndMilliseconds) {
  struct Case {
    const char* name;
    int timeOfDay;
    const char* text;
  };
  const Case cases[] = {
      {"midnight", 0, "00:00:00.000"},
      {"last millisecond of the day", 24 * 3600 * 1000 - 1, "23:59:59.999"},
      {"leading zeros of the milliseconds", ((12 * 60 + 34) * 60 + 56) * 1000 + 7, "12:34:56.007"},
      {"none", RowStamp::kNoTime, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(forms::timeOfDayText(c.timeOfDay), c.text);
  }
}

TEST(TerminalStamps, TheClockPassesMidnight) {
  Rig rig;
  rig.host.clock = {2026, 12, 8, 23, 59, 59};
  rig.startAnswered();
  rig.run(Millis(1500));
  rig.send("AT");
  ASSERT_FALSE(rig.terminal().empty());
  EXPECT_EQ(forms::timeOfDayText(rig.main().List3.stamp(0).timeOfDay).substr(0, 8), "00:00:00");
}

TEST(TerminalStamps, TheUsersCommandsAreMarkedWhicheverWayTheyGoOut) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  // The command line under the terminal.
  w.CommandLine.setText("AT+CGMI");
  w.CommandLine.KeyUp.emit(forms::TextBox::kEnterKey);
  rig.run(Millis(500));
  // A terminal line sent again by a double click.
  w.List3.setListIndex(rowOf(w.List3, "AT+CGMI   "));
  w.List3.DblClick.emit();
  rig.run(Millis(500));
  std::vector<int> echoes;
  for (int i = 0; i < w.List3.count(); ++i) {
    if (w.List3.stamp(i).sent) echoes.push_back(i);
  }
  ASSERT_EQ(echoes.size(), 2u) << "one echo each";
  EXPECT_EQ(w.List3.item(echoes[0]), "AT+CGMI   ");
  EXPECT_EQ(w.List3.item(echoes[1]), "AT+CGMI   ");
  EXPECT_GT(echoes[1], echoes[0] + 1) << "the manufacturer's reply between them is no echo";
}

TEST(TerminalStamps, ALongEchoCutIntoRowsIsMarkedInEveryRow) {
  Rig rig;
  rig.startAnswered();
  const std::string command = "AT+CPBW=7,\"0123456789\",129,\"a name longer than the row\"";
  ASSERT_GT(command.size(), 50u);
  rig.send(command);
  auto& list = rig.main().List3;
  ASSERT_GE(list.count(), 3);
  EXPECT_EQ(list.item(0) + list.item(1), command + "   ");
  EXPECT_TRUE(list.stamp(0).sent);
  EXPECT_TRUE(list.stamp(1).sent);
  for (int i = 2; i < list.count(); ++i) {
    SCOPED_TRACE(list.item(i));
    EXPECT_FALSE(list.stamp(i).sent);
  }
}

// Bytes written as they are ("AT+CMGS=16\r\r" before a PDU) hold lines too: each ended by
// a carriage return.
TEST(TerminalStamps, LinesWrittenAsRawBytesAreMarkedByTheirCarriageReturns) {
  Rig rig;
  rig.startAnswered();
  rig.app->link().sendRaw("AT\rAT+CSQ\r\r");
  rig.run(Millis(500));
  auto& list = rig.main().List3;
  Lines marked;
  for (int i = 0; i < list.count(); ++i) {
    if (list.stamp(i).sent) marked.push_back(list.item(i));
  }
  EXPECT_EQ(marked, (Lines{"AT   ", "AT+CSQ   "})) << ::testing::PrintToString(rig.terminal());
}

// With the echo off nothing comes back to mark, and nothing is added in its place: the
// rows stay one for one with what the modem sent.
TEST(TerminalStamps, WithoutEchoNothingIsMarkedAndNoRowIsAdded) {
  sim::ModemConfig config;
  config.echo = false;
  Rig rig(config);
  rig.startAnswered();
  rig.send("AT+CSQ");
  EXPECT_EQ(rig.terminal(), (Lines{" +CSQ: 17,99  ", " OK  "}));
  EXPECT_EQ(sentMarks(rig.main().List3), (std::vector<bool>{false, false}));
}

TEST(TerminalStamps, ALineLikeACommandSentLongAgoIsNoEcho) {
  sim::ModemConfig config;
  config.echo = false;
  Rig rig(config);
  rig.startAnswered();
  rig.send("&REQ TM");
  rig.run(Millis(10000));
  rig.fromModem("&REQ TM\r\n");
  rig.run(Millis(100));
  const int row = rowOf(rig.main().List3, "&REQ TM  ");
  ASSERT_GE(row, 0);
  EXPECT_FALSE(rig.main().List3.stamp(row).sent);
}

// An echo that never came (the echo switched off for one command) does not hold up those
// after it: echoes come in the order the lines went, and only echoes are marked.
TEST(TerminalStamps, AnEchoThatNeverCameDoesNotHoldUpTheNext) {
  Rig rig;
  rig.startAnswered();
  for (const char* command : {"ATE0", "AT+CSQ", "ATE1", "AT+CREG?"}) rig.send(command, Millis(100));
  auto& list = rig.main().List3;
  Lines marked;
  for (int i = 0; i < list.count(); ++i) {
    if (list.stamp(i).sent) marked.push_back(list.item(i));
  }
  EXPECT_EQ(marked, (Lines{"ATE0   ", "AT+CREG?   "})) << ::testing::PrintToString(rig.terminal());
  const int reply = rowOf(list, " +CSQ: 17,99  ");
  ASSERT_GE(reply, 0) << "the reply without its echo";
}

// Rows taken away or emptied take their stamps with them: each row keeps its own time.
TEST(TerminalStamps, StampsStayWithTheirRowsWhenRowsGo) {
  Rig rig;
  rig.startAnswered();
  auto& list = rig.main().List3;
  for (const char* command : {"AT", "AT+CSQ", "AT+CREG?"}) {
    rig.send(command);
    rig.run(Millis(700));
  }
  // The rows that read alike ("OK") are left out: a row is known by its text.
  std::map<std::string, RowStamp> byText;
  std::map<std::string, int> times;
  for (int i = 0; i < list.count(); ++i) {
    byText[list.item(i)] = list.stamp(i);
    ++times[list.item(i)];
  }
  const auto expectInStep = [&] {
    for (int i = 0; i < list.count(); ++i) {
      SCOPED_TRACE(list.item(i));
      if (times[list.item(i)] == 1) {
        EXPECT_EQ(list.stamp(i), byText[list.item(i)]);
      }
    }
  };
  ASSERT_GE(list.count(), 7);
  list.removeItem(0);
  expectInStep();
  list.removeItem(list.count() - 1);
  expectInStep();
  list.removeItem(2);
  expectInStep();

  list.clear();
  rig.run(Millis(300));
  rig.send("AT+CSQ");
  ASSERT_EQ(rig.terminal().front(), "AT+CSQ   ");
  EXPECT_GT(list.stamp(0).timeOfDay, byText["AT+CSQ   "].timeOfDay);
  EXPECT_TRUE(list.stamp(0).sent);
}

TEST(TerminalStamps, AReplacedRowCarriesTheTimeOfItsNewText) {
  Rig rig;
  rig.startAnswered();
  auto& list = rig.main().List3;
  list.addItem("+CSQ: 99,99  ");
  const RowStamp first = list.stamp(0);
  rig.run(Millis(800));
  list.replaceItem(0, "+CSQ: 17,99  ");
  EXPECT_EQ(list.stamp(0).timeOfDay, first.timeOfDay + 800);
}

// The log keeps its form: the rows as the modem sent them, with stamps shown or not.
TEST(TerminalStamps, TheLogAndTheRowsStayAsTheModemSentThem) {
  std::string logs[2];
  Lines rows[2];
  for (const bool stamps : {false, true}) {
    Rig rig;
    rig.startAnswered();
    rig.main().Check1.setChecked(true);
    rig.main().CheckTimeStamps.setChecked(stamps);
    rig.send("AT+CSQ");
    rig.send("ATI");
    logs[stamps] = readFile(rig.folder.path() / "Log.txt");
    rows[stamps] = rig.terminal();
  }
  EXPECT_EQ(logs[1], logs[0]);
  EXPECT_EQ(rows[1], rows[0]);
  EXPECT_EQ(logs[1].substr(0, 24), "AT+CSQ   \r\n+CSQ: 17,99  ");
}

}  // namespace
}  // namespace d7o::test
