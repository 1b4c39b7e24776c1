#include "app/program_folder.h"

#include "support/scripted_platform.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace d7o::app {
namespace {

namespace fs = std::filesystem;

// `path` made absolute on this system: as it stands here, after a drive on Windows.
std::string abs(std::string_view path) {
#if defined(_WIN32)
  return "C:" + std::string(path);
#else
  return std::string(path);
#endif
}

// Which folder the program settles on, given what is set and which folders can be
// written to.
TEST(ProgramFolder, ChoosesByPrecedenceAndWritability) {
  struct Case {
    std::string_view name;
    FolderCandidates candidates;
    std::set<std::string> writable;
    std::string folder;
    bool create;
  };
  const Case cases[] = {
      {"home_option_first",
       {.homeOption = abs("/opt/d7o"),
        .homeVariable = abs("/env/d7o"),
        .executableFolder = abs("/build/bin"),
        .xdgDataHome = abs("/x"),
        .userHome = abs("/h")},
       {abs("/build/bin")},
       abs("/opt/d7o"),
       false},
      {"home_option_even_unwritable",
       {.homeOption = abs("/ro"), .executableFolder = abs("/build/bin"), .userHome = abs("/h")},
       {abs("/build/bin")},
       abs("/ro"),
       false},
      {"variable_before_executable",
       {.homeVariable = abs("/env/d7o"),
        .executableFolder = abs("/build/bin"),
        .userHome = abs("/h")},
       {abs("/build/bin")},
       abs("/env/d7o"),
       false},
      {"empty_option_and_variable_are_unset",
       {.homeOption = "",
        .homeVariable = "",
        .executableFolder = abs("/build/bin"),
        .userHome = abs("/h")},
       {abs("/build/bin")},
       abs("/build/bin"),
       false},
      {"writable_executable_folder",
       {.executableFolder = abs("/build/bin"), .xdgDataHome = abs("/x"), .userHome = abs("/h")},
       {abs("/build/bin")},
       abs("/build/bin"),
       false},
      {"installed_uses_xdg_data_home",
       {.executableFolder = abs("/usr/bin"), .xdgDataHome = abs("/x/data"), .userHome = abs("/h")},
       {},
       abs("/x/data/rezedev7"),
       true},
      {"installed_uses_local_share",
       {.executableFolder = abs("/usr/bin"), .userHome = abs("/home/tech")},
       {},
       abs("/home/tech/.local/share/rezedev7"),
       true},
      {"installed_tree_even_when_writable_as_root",
       {.executableFolder = abs("/usr/bin"), .executableInstalled = true, .userHome = abs("/root")},
       {abs("/usr/bin")},
       abs("/root/.local/share/rezedev7"),
       true},
      {"empty_xdg_data_home_is_unset",
       {.executableFolder = abs("/usr/bin"), .xdgDataHome = "", .userHome = abs("/home/tech")},
       {},
       abs("/home/tech/.local/share/rezedev7"),
       true},
      {"relative_xdg_data_home_is_ignored",
       {.executableFolder = abs("/usr/bin"), .xdgDataHome = "data", .userHome = abs("/home/tech")},
       {},
       abs("/home/tech/.local/share/rezedev7"),
       true},
      {"unknown_executable_folder",
       {.executableFolder = "", .userHome = abs("/home/tech")},
       {""},
       abs("/home/tech/.local/share/rezedev7"),
       true},
      {"installed_uses_app_data",
       {.executableFolder = abs("/Program Files/rezedev7"),
        .appData = abs("/Users/tech/AppData/Roaming")},
       {},
       abs("/Users/tech/AppData/Roaming/rezedev7"),
       true},
      {"xdg_data_home_before_app_data",
       {.executableFolder = abs("/usr/bin"), .xdgDataHome = abs("/x"), .appData = abs("/a")},
       {},
       abs("/x/rezedev7"),
       true},
      {"relative_app_data_is_ignored",
       {.executableFolder = abs("/usr/bin"), .userHome = abs("/h"), .appData = "AppData"},
       {},
       abs("/h/.local/share/rezedev7"),
       true},
      {"nowhere_to_go", {.executableFolder = abs("/usr/bin")}, {}, "", false},
      {"nowhere_to_go_empty_home",
       {.executableFolder = abs("/usr/bin"), .userHome = ""},
       {},
       "",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FolderChoice choice = chooseProgramFolder(
        c.candidates, [&](const fs::path& p) { return c.writable.count(p.generic_string()) > 0; });
    EXPECT_EQ(choice.folder.generic_string(), c.folder);
    EXPECT_EQ(choice.createIfMissing, c.create);
    EXPECT_EQ(choice.error.empty(), !c.folder.empty());
  }
}

TEST(ProgramFolderOnDisk, MakesMissingFoldersAndKeepsExistingOnes) {
  const test::TempFolder root;
  const fs::path folder = root.path() / "share" / "rezedev7";
  EXPECT_EQ(makeFolder(folder), std::nullopt);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(makeFolder(folder), std::nullopt);
  EXPECT_TRUE(isWritableFolder(folder));
}

TEST(ProgramFolderOnDisk, AFileInTheWayIsReported) {
  const test::TempFolder root;
  const fs::path blocker = root.path() / "share";
  test::writeFile(blocker, "not a folder");
  EXPECT_NE(makeFolder(blocker / "rezedev7"), std::nullopt);
  EXPECT_NE(makeFolder(blocker), std::nullopt);
  EXPECT_FALSE(isWritableFolder(blocker));
}

TEST(ProgramFolderOnDisk, AnInstalledTreeIsKnownByItsDesktopEntry) {
  const test::TempFolder root;
  const fs::path bin = root.path() / "bin";
  fs::create_directories(bin);
  EXPECT_FALSE(isInstalledLayout(bin));
  fs::create_directories(root.path() / "share" / "applications");
  test::writeFile(root.path() / "share" / "applications" / "rezedev7.desktop", "[Desktop Entry]\n");
  EXPECT_TRUE(isInstalledLayout(bin));
  EXPECT_FALSE(isInstalledLayout(""));
}

// A folder that takes no new file whatever its marks say (on Windows, C:\\Program Files for a
// user; here, where the tests may run as root, one made immutable by the caller and named in
// D7O_TEST_LOCKED_FOLDER, as scripts/windows_check.sh does for the Windows build).
TEST(ProgramFolderOnDisk, AFolderThatTakesNoNewFileIsNotWritable) {
  const char* locked = std::getenv("D7O_TEST_LOCKED_FOLDER");
  if (locked == nullptr || *locked == '\0') GTEST_SKIP() << "D7O_TEST_LOCKED_FOLDER not set";
  ASSERT_TRUE(fs::is_directory(locked)) << locked;
  EXPECT_FALSE(isWritableFolder(locked));
  EXPECT_TRUE(fs::is_empty(locked)) << "the check left a file behind";
}

TEST(ProgramFolderOnDisk, AMissingFolderIsNotWritable) {
  const test::TempFolder root;
  EXPECT_FALSE(isWritableFolder(root.path() / "missing"));
}

}  // namespace
}  // namespace d7o::app
