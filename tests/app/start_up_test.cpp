// Start-up as a technician meets it: the first run that creates TARVIK.INI, the runs that
// read it, the command line, the log, and a port that cannot be used.
#include "app/path_text.h"
#include "app/tarvik_ini.h"
#include "support/rig.h"

#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace d7o::test {
namespace {

using platform::MessageIcon;

std::string goldenIni(const std::string& port) {
  std::string text = readFile(std::string(D7O_TEST_DATA_DIR) + "/TARVIK_port7.INI");
  const std::string seven = "\r\n\"7\"\r\n";
  text.replace(text.find(seven), seven.size(), "\r\n\"" + port + "\"\r\n");
  return text;
}

TEST(FirstStart, AsksForThePortWritesTheFileAndEndsWithoutOpeningThePort) {
  struct Case {
    const char* name;
    const char* answer;
    const char* port;
  };
  const Case cases[] = {
      {"zero", "0", "1"},          {"empty", "", "1"},
      {"seven", "7", "7"},         {"twenty", "20", "16"},
      {"sixteen", "16", "16"},     {"negative", "-3", "1"},
      {"blank before", " 5", "5"}, {"letters after", "12abc", "12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.dialogs.answerInput(c.answer);
    EXPECT_FALSE(rig.start());

    ASSERT_GE(rig.dialogs.shown.size(), 2u);
    const auto& ask = rig.dialogs.shown[0];
    EXPECT_EQ(ask.text, "Enter port number for Tarvik\xAE module (1..16)");
    EXPECT_EQ(ask.title, "Parameters for INI-File");
    EXPECT_EQ(ask.defaultText, "1");
    const auto& told = rig.dialogs.shown[1];
    EXPECT_EQ(told.text,
              "TARVIK.INI new created, please check\nall parameters and restart the program !!!");
    EXPECT_EQ(told.icon, MessageIcon::Critical);

    EXPECT_EQ(readFile(rig.folder.path() / "TARVIK.INI"), goldenIni(c.port));
    EXPECT_FALSE(std::filesystem::exists(rig.folder.path() / "TARVIK.INI.new"));
    EXPECT_TRUE(rig.ended());
    EXPECT_EQ(rig.host.endRequests, 1);
    EXPECT_FALSE(rig.port.isOpen());
    rig.run(platform::Millis(5000));
    EXPECT_EQ(rig.wire(), "");
  }
}

TEST(FirstStart, CancelledPromptWritesPortOne) {
  Rig rig;  // no scripted answer: the box is cancelled
  EXPECT_FALSE(rig.start());
  EXPECT_EQ(readFile(rig.folder.path() / "TARVIK.INI"), goldenIni("1"));
}

TEST(StartUp, ReadsTheDefaultFileIntoBothListsUpperCased) {
  Rig rig;
  rig.writeDefaultIni("3");
  ASSERT_TRUE(rig.start());
  auto& w = rig.main();
  EXPECT_EQ(w.List2.count(), 50);
  EXPECT_EQ(w.List1.count(), 38);
  EXPECT_EQ(rig.state().log.iniLineCount, 50);
  int empty = 0;
  for (const auto& item : w.List1.items()) empty += item.empty() ? 1 : 0;
  EXPECT_EQ(empty, 6);
  EXPECT_EQ(w.List2.item(2), "3");
  EXPECT_EQ(w.List2.item(10), "ATZ;+CMEE=1;+CBST=7,0,1;+CSDH=1;+CMGF=1;S0=0");
  EXPECT_EQ(w.List1.item(17), "AT+CMGL=\"REC UNREAD\"");
  EXPECT_EQ(w.Text1.text(), "COM3:");
  EXPECT_EQ(rig.port.commPort(), 3);
  EXPECT_FALSE(rig.port.isOpen()) << "the baud-rate search opens the port, not the start-up";
  EXPECT_EQ(w.caption(), "...please wait while initialising Tarvik-Module");
  EXPECT_EQ(w.Tab1.tab(), 0);
  EXPECT_FALSE(rig.state().link.iChipPresent);
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(StartUp, HandEditedFileFollowsTheFieldRules) {
  Rig rig;
  std::string ini = goldenIni("2");
  // A lower-case command, an unquoted command with a comma, and an iChip command.
  ini += "at+csq\r\nAT+CMGL=4,1\r\n\"at+i\"\r\n  \"AT+iChip\"\r\n";
  writeFile(rig.folder.path() / "TARVIK.INI", ini);
  ASSERT_TRUE(rig.start());
  auto& w = rig.main();
  ASSERT_EQ(w.List2.count(), 55);
  EXPECT_EQ(w.List2.item(50), "AT+CSQ");
  EXPECT_EQ(w.List2.item(51), "AT+CMGL=4");
  EXPECT_EQ(w.List2.item(52), "1");
  EXPECT_EQ(w.List2.item(54), "AT+ICHIP");
  EXPECT_EQ(w.List1.count(), 43);
  EXPECT_TRUE(rig.state().link.iChipPresent);
}

TEST(StartUp, CommandLine) {
  struct Case {
    const char* name;
    const char* argument;
    const char* port;  // port in use
    bool helpShown;
  };
  const Case cases[] = {
      {"none", "", "2", false},    {"port three", "3", "3", false}, {"port eight", "8", "8", false},
      {"nine", "9", "2", true},    {"question", "?", "2", true},    {"two digits", "12", "2", true},
      {"text", "COM3", "2", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.writeDefaultIni("2");
    const std::string before = readFile(rig.folder.path() / "TARVIK.INI");
    ASSERT_TRUE(rig.start(c.argument));
    EXPECT_EQ(rig.main().Text1.text(), std::string("COM") + c.port + ":");
    EXPECT_EQ(rig.port.commPort(), std::stoi(c.port));
    EXPECT_EQ(readFile(rig.folder.path() / "TARVIK.INI"), before);
    if (c.helpShown) {
      ASSERT_EQ(rig.dialogs.shown.size(), 1u);
      EXPECT_EQ(rig.dialogs.shown[0].title, "Command line parameters");
      EXPECT_EQ(rig.dialogs.shown[0].icon, MessageIcon::Question);
      EXPECT_EQ(rig.dialogs.shown[0].text.rfind(
                    "Command line Parameter\n1..8 - for COM1: ... COM8:\n?    - for Help", 0),
                0u);
    } else {
      EXPECT_TRUE(rig.dialogs.shown.empty());
    }
  }
}

// A configuration the program cannot start with is named: the file with its folder, the
// line that is wrong or missing, and an exit code that is not 0.
TEST(StartUp, ABrokenConfigurationNamesTheFileAndTheLineAndEndsWithExitCode1) {
  const std::string port =
      ": the port must be a number from 1 to 16 in quotes, for example "
      "\"1\"; it is ";
  const std::string missing =
      " are missing; the file needs its port, service-centre number, SMS and voice numbers "
      "and initialisation string, each under its heading (delete the file and start the "
      "program to have a new one made)";
  const std::string defaults = app::defaultIniContent("1");
  const auto firstLines = [&defaults](int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) at = defaults.find("\r\n", at) + 2;
    return defaults.substr(0, at);
  };
  struct Case {
    const char* name;
    std::string content;
    std::string fault;
  };
  const Case cases[] = {
      {"port 99", app::defaultIniContent("99"), ", line 3" + port + "\"99\""},
      {"port 0", app::defaultIniContent("0"), ", line 3" + port + "\"0\""},
      {"port 17", app::defaultIniContent("17"), ", line 3" + port + "\"17\""},
      {"a port name", app::defaultIniContent("COM3"), ", line 3" + port + "\"COM3\""},
      {"no port", app::defaultIniContent(""), ", line 3" + port + "\"\""},
      {"binary garbage",
       std::string("\x7F"
                   "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                   20),
       " ends after line 1: lines 2 to 11" + missing},
      {"an empty file", "", " is empty: lines 1 to 11" + missing},
      {"its first line only", firstLines(1), " ends after line 1: lines 2 to 11" + missing},
      {"its first 3 lines", firstLines(3), " ends after line 3: lines 4 to 11" + missing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    writeFile(rig.folder.path() / "TARVIK.INI", c.content);
    EXPECT_FALSE(rig.start());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text,
              "TARVIK.INI in " + app::pathText(rig.folder.path()) + c.fault);
    EXPECT_EQ(rig.dialogs.shown[0].title, "E r r o r");
    EXPECT_TRUE(rig.ended());
    EXPECT_EQ(rig.host.exitCode, 1);
    EXPECT_TRUE(rig.main().List1.empty());
  }
}

TEST(StartUp, APortFromTheCommandLineStandsInForTheFilesForThisRun) {
  Rig rig;
  writeFile(rig.folder.path() / "TARVIK.INI", app::defaultIniContent("99"));
  EXPECT_TRUE(rig.start("2"));
  EXPECT_FALSE(rig.ended());
  EXPECT_EQ(rig.port.commPort(), 2);
}

TEST(StartUp, AFileFarTooLargeOrAFolderInItsPlaceEndsWithAClearMessage) {
  {
    Rig rig;
    writeFile(rig.folder.path() / "TARVIK.INI", std::string(app::kMaxIniBytes + 1, 'x'));
    EXPECT_FALSE(rig.start());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_NE(rig.dialogs.shown[0].text.find("TARVIK.INI can't be read: it is 1048577 bytes"),
              std::string::npos)
        << rig.dialogs.shown[0].text;
    EXPECT_TRUE(rig.ended());
  }
  {
    Rig rig;
    std::filesystem::create_directory(rig.folder.path() / "TARVIK.INI");
    EXPECT_FALSE(rig.start());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_NE(rig.dialogs.shown[0].text.find("TARVIK.INI can't be read"), std::string::npos)
        << rig.dialogs.shown[0].text;
    EXPECT_TRUE(rig.ended());
  }
}

// A folder the program cannot write in: read-only for a user; for root (who may write
// anywhere), and on Windows (where a folder's read-only mark does not stop new files),
// something is in the way of the file being written.
void makeUnwritable(const std::filesystem::path& folder, const char* file) {
#if defined(_WIN32)
  std::filesystem::create_directory(folder / file);
#else
  if (geteuid() != 0) {
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  } else {
    std::filesystem::create_directory(folder / file);
  }
#endif
}

TEST(StartUp, AProgramFolderThatCannotBeWrittenInSaysSoAndLeavesNothingHalfWritten) {
  {
    SCOPED_TRACE("first start");
    Rig rig;
    makeUnwritable(rig.folder.path(), "TARVIK.INI.new");
    rig.dialogs.answerInput("3");
    EXPECT_FALSE(rig.start());
    const auto texts = rig.dialogs.messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("TARVIK.INI can't be created: cannot create "), std::string::npos)
        << texts[0];
    EXPECT_FALSE(std::filesystem::exists(rig.folder.path() / "TARVIK.INI"));
    EXPECT_TRUE(rig.ended());
    std::filesystem::permissions(rig.folder.path(), std::filesystem::perms::owner_all);
  }
  {
    SCOPED_TRACE("the log");
    Rig rig;
    rig.writeDefaultIni();
    rig.startAnswered();
    makeUnwritable(rig.folder.path(), "Log.txt");
    rig.main().Check1.setChecked(true);  // "write Log-File"
    rig.fromModem("\r\nOK\r\n");
    rig.run(platform::Millis(500));
    rig.fromModem("\r\nOK\r\n");
    rig.run(platform::Millis(500));
    const auto texts = rig.dialogs.messageTexts();
    // Once, with the box cleared, not once a reply.
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("Log.txt can't be written: "), std::string::npos) << texts[0];
    EXPECT_NE(texts[0].find("logging is switched off"), std::string::npos);
    EXPECT_FALSE(rig.main().Check1.checked());
    EXPECT_FALSE(rig.ended());
    std::filesystem::permissions(rig.folder.path(), std::filesystem::perms::owner_all);
  }
}

TEST(StartUp, EveryStartBeginsWithoutTheOldLog) {
  Rig rig;
  rig.writeDefaultIni();
  writeFile(rig.folder.path() / "Log.txt", "old run\r\n");
  ASSERT_TRUE(rig.start());
  EXPECT_FALSE(std::filesystem::exists(rig.folder.path() / "Log.txt"));
  EXPECT_EQ(rig.state().log.logFilePath, app::pathText(rig.folder.path() / "Log.txt"));
}

TEST(Shutdown, ExitClosesThePortAndEnds) {
  Rig rig;
  rig.startWithOpenPort();
  ASSERT_TRUE(rig.port.isOpen());
  rig.main().m_exit.click();
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_TRUE(rig.ended());
  EXPECT_EQ(rig.host.endRequests, 1);
  EXPECT_FALSE(rig.main().HS_Timer.enabled());
  // Nothing is written back at exit.
  EXPECT_EQ(readFile(rig.folder.path() / "TARVIK.INI"), goldenIni("1"));
}

}  // namespace
}  // namespace d7o::test
