// The terminal as a technician uses it: prepared commands, free rows, lines sent again or
// edited, and the words the program handles itself.
#include "console/terminal.h"

#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using forms::MouseButton;
using platform::Millis;
using Lines = std::vector<std::string>;

int rowOf(forms::ListBox& list, const std::string& text) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.item(i) == text) return i;
  }
  return -1;
}

void doubleClick(forms::ListBox& list, int row) {
  list.setListIndex(row);
  list.DblClick.emit();
}

int firstFreeRow(forms::ListBox& list) {
  return rowOf(list, "");
}

TEST(Terminal, PreparedCommandGoesOutAndItsEchoLineCanBeSentAgain) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  doubleClick(w.List1, rowOf(w.List1, "AT+CSQ"));
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");
  rig.run(Millis(500));
  // The echo line "AT+CSQ   " sent again is the command alone.
  doubleClick(w.List3, rowOf(w.List3, "AT+CSQ   "));
  EXPECT_EQ(rig.wire(), "AT+CSQ\r");
  EXPECT_TRUE(rig.terminal().size() >= 2u) << "nothing is added for a sent command";
}

TEST(Terminal, LinesSentAgain) {
  struct Case {
    const char* name;
    const char* line;
    const char* sent;
  };
  const Case cases[] = {
      {"echo with its line end", "AT+CREG?   ", "AT+CREG?\r"},
      {"at inside a word of a reply", "Chat room  ", "at room\r"},  // from the first "at" on
      {"device line", "&REQ TM   ", "&REQ TM\r"},
      {"reply without a command", "+CSQ: 17,99  ", ""},
      {"one blank at the end", "ATZ ", "ATZ\r"},
      {"empty line", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startWithOpenPort();
    auto& w = rig.main();
    w.List3.addItem(c.line);
    doubleClick(w.List3, 0);
    EXPECT_EQ(rig.wire(), c.sent);
  }
}

TEST(Terminal, IntervalRequestSentAgainShowsTheGpsButton) {
  Rig rig;
  rig.startWithOpenPort();
  rig.main().List3.addItem("&REQ INT   ");
  doubleClick(rig.main().List3, 0);
  EXPECT_EQ(rig.wire(), "&REQ INT\r");
  EXPECT_TRUE(rig.main().Command31.visible());
}

TEST(Terminal, FreeRowAsksForACommand) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  rig.dialogs.answerInput("at+cgmi");
  doubleClick(w.List1, firstFreeRow(w.List1));
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].text, "Enter AT-Command: ");
  EXPECT_EQ(rig.dialogs.shown[0].title, "AT-Commands");
  EXPECT_EQ(rig.dialogs.shown[0].defaultText, "AT");
  EXPECT_EQ(rig.wire(), "at+cgmi\r") << "typed text goes out as typed";
  // Cancelled: a bare carriage return.
  doubleClick(w.List1, firstFreeRow(w.List1));
  EXPECT_EQ(rig.wire(), "\r");
}

TEST(Terminal, PortWordSwitchesThePortAndIsNotSent) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  rig.dialogs.answerInput("&port,3");
  doubleClick(w.List1, firstFreeRow(w.List1));
  EXPECT_EQ(rig.wire(), "");
  EXPECT_EQ(rig.port.commPort(), 3);
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_EQ(w.Text1.text(), "COM3:");
  EXPECT_EQ(rig.terminal(), Lines{"...COM port switched to COM3:"});
  EXPECT_EQ(w.List3.listIndex(), 0);
  EXPECT_EQ(rig.port.settings(), "9600,n,8,1") << "the line settings stay";

  rig.dialogs.answerInput("&PORT");
  doubleClick(w.List1, firstFreeRow(w.List1));
  EXPECT_EQ(rig.wire(), "&PORT\r") << "without a comma it goes to the device";
}

TEST(Terminal, PortWordWithANumberThatIsNoPortIsReported) {
  Rig rig;
  rig.startWithOpenPort();
  rig.dialogs.answerInput("&PORT,x");
  doubleClick(rig.main().List1, firstFreeRow(rig.main().List1));
  EXPECT_EQ(rig.dialogs.messageTexts(), Lines{"Error No.: 8002 - Invalid Port Number"});
  EXPECT_TRUE(rig.terminal().empty());
}

TEST(Terminal, IchipWordSwitchesToTheIchipModemAndRestartsTheInitialisation) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  rig.wire();
  rig.dialogs.answerInput("&ichip");
  doubleClick(rig.main().List1, firstFreeRow(rig.main().List1));
  EXPECT_TRUE(rig.state().link.iChipPresent);
  EXPECT_TRUE(rig.main().Timer2.enabled());
  EXPECT_EQ(rig.terminal(), (Lines{"---> iChip test funtionality activated",
                                   "---> wait while initialization the modem"}));
  EXPECT_EQ(rig.wire(), "");
}

TEST(Terminal, RemoteWordIsNotSent) {
  Rig rig;
  rig.startWithOpenPort();
  rig.main().List1.addItem("&REMOTE");
  doubleClick(rig.main().List1, rig.main().List1.count() - 1);
  EXPECT_EQ(rig.wire(), "");
}

TEST(Terminal, WaitMessageWhileTheModuleIsNotRegistered) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  rig.app->activate();                    // found, initialising
  rig.main().HS_Timer.setEnabled(false);  // keep the poll from repainting Text3
  doubleClick(rig.main().List1, 0);
  EXPECT_EQ(rig.main().Text3.text(), "PORT open") << "the send writes the port state last";
  rig.main().Text3.setText("");
  rig.main().List1.setListIndex(-1);
  rig.main().List1.DblClick.emit();
  EXPECT_EQ(rig.main().Text3.text(), "...wait while initialising the module");
}

TEST(Terminal, PreparedCommandOpensAClosedPort) {
  Rig rig;
  rig.writeDefaultIni();
  ASSERT_TRUE(rig.start());
  doubleClick(rig.main().List1, 0);
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_EQ(rig.wire(), "ATZ\r");
}

TEST(Terminal, RightButtonEditsTheLineBeforeSending) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  w.List3.addItem("AT+CSQ   ");
  w.List3.setListIndex(0);
  w.List3.MouseUp.emit(MouseButton::Left);
  EXPECT_TRUE(rig.dialogs.shown.empty()) << "only the right button edits";

  rig.dialogs.answerInput("xx AT+CREG? ");
  w.List3.MouseUp.emit(MouseButton::Right);
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].defaultText, "AT+CSQ   ");
  EXPECT_EQ(rig.wire(), "AT+CREG?\r");

  w.List3.MouseUp.emit(MouseButton::Right);  // cancelled
  EXPECT_EQ(rig.wire(), "");

  rig.dialogs.answerInput("&Port,2");
  w.List3.MouseUp.emit(MouseButton::Right);
  EXPECT_EQ(rig.port.commPort(), 2);
  EXPECT_EQ(rig.wire(), "");

  rig.dialogs.answerInput("&ICHIP");
  w.List3.MouseUp.emit(MouseButton::Right);
  EXPECT_EQ(rig.wire(), "&ICHIP\r") << "here the word has no meaning of its own";
}

// A phone-book reading sent again from the terminal fills the list afresh, whichever way
// it goes out: the entries never double.
TEST(Terminal, APhoneBookReadingSentAgainFillsItsListAfresh) {
  struct Case {
    const char* name;
    bool edited;
  };
  for (const Case c : {Case{"double click", false}, Case{"right button, edited", true}}) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startAnswered();
    auto& w = rig.main();
    rig.send("AT+CPBR=1,3", Millis(1000));
    const int entries = w.List4.count();
    ASSERT_GT(entries, 0) << "the simulated SIM has entries";
    const int echo = rowOf(w.List3, "AT+CPBR=1,3   ");
    ASSERT_GE(echo, 0);
    for (int again = 0; again < 2; ++again) {
      w.List3.setListIndex(rowOf(w.List3, "AT+CPBR=1,3   "));
      if (c.edited) {
        rig.dialogs.answerInput("AT+CPBR=1,3");
        w.List3.MouseUp.emit(MouseButton::Right);
      } else {
        w.List3.DblClick.emit();
      }
      EXPECT_EQ(w.List4.count(), 0) << "emptied before it goes out";
      rig.run(Millis(1000));
      EXPECT_EQ(w.List4.count(), entries);
    }
  }
}

TEST(Terminal, AClickOnALineGivesTheInitialisationHintWhileNotRegistered) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  w.List3.addItem("+CREG: 0,2  ");
  w.Label2.setBackColor(forms::colors::kRed);
  w.Text3.setText("");
  w.List3.setListIndex(0);
  EXPECT_EQ(w.Text3.text(), "...wait while initialising the module");
  w.Label2.setBackColor(forms::colors::kGreen);
  w.Text3.setText("");
  w.List3.setListIndex(-1);
  w.List3.setListIndex(0);
  EXPECT_EQ(w.Text3.text(), "") << "registered: nothing to wait for";
}

}  // namespace
}  // namespace d7o::test

namespace d7o::test {
namespace {

void typeLine(forms::TextBox& line, const std::string& text, int key = forms::TextBox::kEnterKey) {
  line.setText(text);
  line.KeyUp.emit(key);
}

TEST(TerminalCommandLine, ReturnSendsAsAPreparedCommandAndTheWordsStayTheProgramsOwn) {
  struct Case {
    const char* name;
    const char* typed;
    const char* wire;
    bool remoteOpened;
  };
  const Case cases[] = {
      {"an AT command", "AT+CSQ", "AT+CSQ\r", false},
      {"typed in lower case, sent as typed", "at+creg?", "at+creg?\r", false},
      {"a device command", "&REQ TM", "&REQ TM\r", false},
      {"an empty line is a bare carriage return", "", "\r", false},
      {"the remote word opens the tool and is not sent", "&remote", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startWithOpenPort();
    bool opened = false;
    rig.app->terminal().setRemoteOpener([&] { opened = true; });
    auto& line = rig.main().CommandLine;
    typeLine(line, c.typed);
    EXPECT_EQ(rig.wire(), c.wire);
    EXPECT_EQ(opened, c.remoteOpened);
    EXPECT_EQ(line.text(), "") << "the line is emptied for the next command";
  }
}

TEST(TerminalCommandLine, UpAndDownRecallTheCommandsOfThisRun) {
  Rig rig;
  rig.startWithOpenPort();
  auto& line = rig.main().CommandLine;
  typeLine(line, "AT+CSQ");
  typeLine(line, "AT+COPS?");
  typeLine(line, "AT+COPS?");  // the same twice is recalled once
  rig.wire();

  const struct {
    int key;
    const char* shown;
  } steps[] = {
      {forms::TextBox::kUpKey, "AT+COPS?"},   {forms::TextBox::kUpKey, "AT+CSQ"},
      {forms::TextBox::kUpKey, "AT+CSQ"},                                      // the oldest stays
      {forms::TextBox::kDownKey, "AT+COPS?"}, {forms::TextBox::kDownKey, ""},  // past the newest
      {forms::TextBox::kUpKey, "AT+COPS?"},
  };
  for (const auto& step : steps) {
    line.KeyUp.emit(step.key);
    EXPECT_EQ(line.text(), step.shown);
  }
  EXPECT_EQ(rig.wire(), "") << "recalling sends nothing";
  line.KeyUp.emit(forms::TextBox::kEnterKey);
  EXPECT_EQ(rig.wire(), "AT+COPS?\r");
}

}  // namespace
}  // namespace d7o::test
