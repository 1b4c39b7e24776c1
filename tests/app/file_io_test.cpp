// Files the program keeps, replaced whole: on every system the old file goes in one step,
// a name beyond the ANSI code page works, and a failure names the file and the reason.
#include "app/file_io.h"

#include "app/path_text.h"
#include "support/scripted_platform.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace d7o::app {
namespace {

namespace fs = std::filesystem;

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
