// Files the program keeps, replaced whole: on every system the old file goes in one step,
// a name beyond the ANSI code page works, and a failure names the file and the reason; and
// names as the windows show them.
#include "app/file_io.h"

#include "app/path_text.h"
#include "support/scripted_platform.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace d7o::app {
namespace {

namespace fs = std::filesystem;

// A name as the windows show it (their code page), and the name a text typed there means.
TEST(PathText, NamesShowInTheWindowsCodePageAndComeBack) {
  struct Case {
    const char8_t* name;
    std::string text;
    bool comesBack;  // false: a character outside the code page, shown as "?"
  };
  const Case cases[] = {
      {u8"Log.txt", "Log.txt", true},
      {u8"Müller Straße",
       "M\xfcller Stra\xdf"
       "e",
       true},
      {u8"10 € – „Karte“", "10 \x80 \x96 \x84Karte\x93", true},
      {u8"Дмитро", "??????", false},
  };
  for (const Case& c : cases) {
    const fs::path name(c.name);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(pathText(name), c.text);
    EXPECT_EQ(pathFromText(c.text) == name, c.comesBack);
  }
#if !defined(_WIN32)
  // A name made under another locale (Latin-1 bytes) is shown byte for byte.
  EXPECT_EQ(pathText(fs::path("M\xfcller")), "M\xfcller");
#endif
}

TEST(ReplaceFile, ReplacesAnExistingFileWholeAndLeavesNoTemporary) {
  const test::TempFolder root;
  // A folder named as a technician in Athens or Kyiv might name it.
  const fs::path folder = root.path() / fs::path(u8"Δοκιμή Київ");
  fs::create_directories(folder);
  const fs::path file = folder / "TARVIK.INI";
  for (const std::string content : {"first\r\n", "second, longer\r\n\x1a", ""}) {
    SCOPED_TRACE(content);
    EXPECT_EQ(replaceFile(file, content), std::nullopt);
    EXPECT_EQ(readWholeFile(file), content);
    EXPECT_FALSE(fs::exists(folder / "TARVIK.INI.new"));
  }
}

TEST(ReplaceFile, AFolderInTheWayIsNamedAndKeptAndNoTemporaryStays) {
  const test::TempFolder root;
  const fs::path target = root.path() / "calls.txt";
  fs::create_directories(target / "inside");
  const auto failure = replaceFile(target, "new");
  ASSERT_TRUE(failure.has_value());
  const std::string prefix = "cannot rename to " + pathText(target) + ": ";
  EXPECT_EQ(failure->substr(0, prefix.size()), prefix);
  EXPECT_GT(failure->size(), prefix.size()) << "no reason given";
  EXPECT_TRUE(fs::is_directory(target / "inside"));
  EXPECT_FALSE(fs::exists(root.path() / "calls.txt.new"));
}

}  // namespace
}  // namespace d7o::app
