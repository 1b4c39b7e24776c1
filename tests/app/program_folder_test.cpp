#include "app/program_folder.h"

#include "support/scripted_platform.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace d7o::app {
namespace {

namespace fs = std::filesystem;

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
       {.homeOption = "/opt/d7o",
        .homeVariable = "/env/d7o",
        .executableFolder = "/build/bin",
        .xdgDataHome = "/x",
        .userHome = "/h"},
       {"/build/bin"},
       "/opt/d7o",
       false},
      {"home_option_even_unwritable",
       {.homeOption = "/ro", .executableFolder = "/build/bin", .userHome = "/h"},
       {"/build/bin"},
       "/ro",
       false},
      {"variable_before_executable",
       {.homeVariable = "/env/d7o", .executableFolder = "/build/bin", .userHome = "/h"},
       {"/build/bin"},
       "/env/d7o",
       false},
      {"empty_option_and_variable_are_unset",
       {.homeOption = "", .homeVariable = "", .executableFolder = "/build/bin", .userHome = "/h"},
       {"/build/bin"},
       "/build/bin",
       false},
      {"writable_executable_folder",
       {.executableFolder = "/build/bin", .xdgDataHome = "/x", .userHome = "/h"},
       {"/build/bin"},
       "/build/bin",
       false},
      {"installed_uses_xdg_data_home",
       {.executableFolder = "/usr/bin", .xdgDataHome = "/x/data", .userHome = "/h"},
       {},
       "/x/data/rezedev7",
       true},
      {"installed_uses_local_share",
       {.executableFolder = "/usr/bin", .userHome = "/home/tech"},
       {},
       "/home/tech/.local/share/rezedev7",
       true},
      {"installed_tree_even_when_writable_as_root",
       {.executableFolder = "/usr/bin", .executableInstalled = true, .userHome = "/root"},
       {"/usr/bin"},
       "/root/.local/share/rezedev7",
       true},
      {"empty_xdg_data_home_is_unset",
       {.executableFolder = "/usr/bin", .xdgDataHome = "", .userHome = "/home/tech"},
       {},
       "/home/tech/.local/share/rezedev7",
       true},
      {"relative_xdg_data_home_is_ignored",
       {.executableFolder = "/usr/bin", .xdgDataHome = "data", .userHome = "/home/tech"},
       {},
       "/home/tech/.local/share/rezedev7",
       true},
      {"unknown_executable_folder",
       {.executableFolder = "", .userHome = "/home/tech"},
       {""},
       "/home/tech/.local/share/rezedev7",
       true},
      {"nowhere_to_go", {.executableFolder = "/usr/bin"}, {}, "", false},
      {"nowhere_to_go_empty_home", {.executableFolder = "/usr/bin", .userHome = ""}, {}, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FolderChoice choice = chooseProgramFolder(
        c.candidates, [&](const fs::path& p) { return c.writable.count(p.string()) > 0; });
    EXPECT_EQ(choice.folder.string(), c.folder);
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

TEST(ProgramFolderOnDisk, AMissingFolderIsNotWritable) {
  const test::TempFolder root;
  EXPECT_FALSE(isWritableFolder(root.path() / "missing"));
}

}  // namespace
}  // namespace d7o::app
