// The receive path through the simulated modem: when a reply is complete, how it is shown
// in the terminal and what the log receives.
#include "dispatch/receive_handler.h"

#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;
using Lines = std::vector<std::string>;

std::string logOf(Rig& rig) {
  return readFile(rig.folder.path() / "Log.txt");
}

TEST(ReceiveDisplay, HowRepliesAppearInTheTerminalAndTheLog) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines terminal;
    std::string log;
  };
  const std::string long118(118, 'x');
  const Case cases[] = {
      {"line end before and after", "\r\nOK\r\n", {" OK  "}, " OK  \r\n"},
      {"echo and result", "AT\r\r\nOK\r\n", {"AT   ", "OK  "}, "AT   \r\nOK  \r\n"},
      {"two line ends kept as head", "\r\n\r\nOK\r\n", {" ", "OK  "}, " \r\nOK  \r\n"},
      {"prompt without line end", "\r\n> ", {" > "}, " > \r\n"},
      {"long reply in pieces of 50",
       long118 + "\r\n",
       {std::string(50, 'x'), std::string(50, 'x'), std::string(18, 'x') + "  "},
       long118 + "  \r\n"},
      {"exactly fifty",
       std::string(48, 'y') + "\r\n",
       {std::string(48, 'y') + "  "},
       std::string(48, 'y') + "  \r\n"},
      // The echo shows once, after the prompt sign; the reply itself is emptied.
      {"SMS text echo emptied", "hello\x1a\r\n", {"> hello\x1a  ", ""}, "\r\n"},
      {"line feed only never completes", "OK\n", {}, ""},
      {"eight-bit bytes pass", "\xE4\xF6\xFC\r\n", {"\xE4\xF6\xFC  "}, "\xE4\xF6\xFC  \r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.startWithOpenPort();
    rig.main().Check1.setChecked(true);
    rig.fromModem(c.bytes);
    rig.run(Millis(100));
    EXPECT_EQ(rig.terminal(), c.terminal);
    EXPECT_EQ(logOf(rig), c.log);
    if (!c.terminal.empty()) {
      EXPECT_EQ(rig.main().List3.listIndex(), rig.main().List3.count() - 1);
    }
  }
}

TEST(ReceiveDisplay, CompletenessIsTestedAfterEveryCharacter) {
  Rig rig;
  rig.startWithOpenPort();
  // Two replies and a prompt in one read are three replies.
  rig.fromModem("+CSQ: 17,99\r\nOK\r\n> ");
  rig.run(Millis(100));
  EXPECT_EQ(rig.terminal(), (Lines{"+CSQ: 17,99  ", "OK  ", "> "}));
  EXPECT_EQ(rig.app->receiver().repliesHandled(), 3u);
  // The same bytes one at a time give the same replies.
  rig.main().List3.clear();
  for (char c : std::string("+CSQ: 17,99\r\nOK\r\n")) rig.fromModem(std::string(1, c));
  rig.run(Millis(100));
  EXPECT_EQ(rig.terminal(), (Lines{"+CSQ: 17,99  ", "OK  "}));
}

TEST(ReceiveDisplay, NothingIsShownWhileTheWakeUpWaitsButTheLogStillGetsIt) {
  Rig rig;
  rig.startWithOpenPort();
  rig.main().Check1.setChecked(true);
  rig.main().Command1.setEnabled(false);
  rig.state().link.initAwaitingOk = true;
  rig.fromModem("AT+CMEE=1\r\r\n");
  rig.run(Millis(100));
  EXPECT_TRUE(rig.terminal().empty());
  EXPECT_FALSE(rig.main().Command1.enabled()) << "INIT stays disabled while waking";
  EXPECT_EQ(logOf(rig), "AT+CMEE=1   \r\n");
  rig.state().link.initAwaitingOk = false;
  rig.fromModem("OK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(rig.terminal(), (Lines{"OK  "}));
  EXPECT_TRUE(rig.main().Command1.enabled());
  EXPECT_TRUE(rig.main().Command2.enabled());
}

TEST(ReceiveDisplay, TerminalIsEmptiedWhenItHoldsMoreThanAHundredLines) {
  Rig rig;
  rig.startWithOpenPort();
  for (int i = 0; i < 101; ++i) rig.main().List3.addItem("line");
  rig.fromModem("OK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(rig.terminal(), (Lines{"OK  "}));
  // At exactly a hundred lines nothing is cleared.
  for (int i = 0; i < 99; ++i) rig.main().List3.addItem("line");
  rig.fromModem("OK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(rig.main().List3.count(), 101);
}

TEST(ReceiveDisplay, NoiseWithoutLineEndsIsHandledInBoundedPieces) {
  Rig rig;
  rig.startWithOpenPort();
  rig.main().Check1.setChecked(true);
  rig.fromModem(std::string(10000, 'z'));
  rig.run(Millis(100));
  EXPECT_EQ(rig.app->receiver().overlongReplies(), 2u);
  EXPECT_EQ(rig.state().dispatch.receiveBuffer.size(), 10000u - 2 * 4096u);
  EXPECT_EQ(logOf(rig), std::string(4096, 'z') + "\r\n" + std::string(4096, 'z') + "\r\n");
}

TEST(ReceiveDisplay, LogOnlyWhileTickedAndOneLinePerReply) {
  Rig rig;
  rig.startWithOpenPort();
  rig.fromModem("first\r\n");
  rig.run(Millis(100));
  rig.main().Check1.setChecked(true);
  EXPECT_FALSE(std::filesystem::exists(rig.folder.path() / "Log.txt"))
      << "ticking writes nothing by itself";
  rig.fromModem("second\r\n");
  rig.run(Millis(100));
  rig.main().Check1.setChecked(false);
  rig.fromModem("third\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(logOf(rig), "second  \r\n");
}

TEST(ReceiveDisplay, LogThatCannotBeWrittenIsReportedOnceAndSwitchedOff) {
  Rig rig;
  rig.startWithOpenPort();
  std::filesystem::create_directory(rig.folder.path() / "Log.txt");  // not a writable file
  rig.main().Check1.setChecked(true);
  rig.fromModem("OK\r\nOK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_FALSE(rig.main().Check1.checked());
  EXPECT_FALSE(rig.state().log.logEnabled);
  EXPECT_EQ(rig.terminal(), (Lines{"OK  ", "OK  "})) << "replies are still shown";
}

TEST(ReceiveDisplay, IncomingDataBringsTheTerminalForwardExceptOverTheAboutTab) {
  Rig rig;
  rig.startWithOpenPort();
  auto& tab = rig.main().Tab1;
  tab.setTab(forms::tabs::kOptions);
  rig.fromModem("OK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(tab.tab(), forms::tabs::kTerminal);
  tab.setTab(forms::tabs::kAbout);
  rig.fromModem("OK\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(tab.tab(), forms::tabs::kAbout);
}

TEST(ReceiveDisplay, NothingIsReadWhileThePinDialogueIsOpen) {
  Rig rig;
  rig.startWithOpenPort();
  rig.state().link.pinDialogActive = true;
  rig.fromModem("OK\r\n");
  rig.run(Millis(100));
  EXPECT_TRUE(rig.terminal().empty());
  EXPECT_EQ(rig.port.bytesAvailable(), 4u);
  rig.state().link.pinDialogActive = false;
  rig.app->receiver().Comm1_OnComm();  // the next receive event
  rig.run(Millis(100));
  EXPECT_EQ(rig.terminal(), (Lines{"OK  "}));
}

TEST(ReceiveDisplay, ModemRepliesArriveInOrderThroughTheSimulatedLine) {
  Rig rig;
  rig.startWithOpenPort();
  rig.send("AT");
  rig.send("AT+XYZ");
  EXPECT_EQ(rig.terminal(), (Lines{"AT   ", "OK  ", "AT+XYZ   ", "ERROR  "}));
}

}  // namespace
}  // namespace d7o::test
