#include "app/command_line.h"

#include <gtest/gtest.h>

namespace d7o::app {
namespace {

TEST(CommandLine, OptionsAndTheClassicArgument) {
  const CommandLine a = parseCommandLine({"--simulate", "--home", "/tmp/x", "3"});
  EXPECT_TRUE(a.simulate);
  EXPECT_EQ(a.home, "/tmp/x");
  EXPECT_EQ(a.classic, "3");
  EXPECT_EQ(classifyClassicArgument(a.classic), ClassicArgument::Port);

  const CommandLine b = parseCommandLine({"a", "b"});
  EXPECT_EQ(b.classic, "a b") << "the classic argument is the remaining text as one";
  EXPECT_EQ(classifyClassicArgument(b.classic), ClassicArgument::Help);

  const CommandLine c = parseCommandLine({"--create-ini", "/tmp/demo", "4"});
  EXPECT_EQ(c.createIniFolder, "/tmp/demo");
  EXPECT_EQ(c.createIniPort, "4");

  EXPECT_FALSE(parseCommandLine({"--home"}).error.empty());
  EXPECT_FALSE(parseCommandLine({"--create-ini", "/tmp"}).error.empty());
  EXPECT_EQ(classifyClassicArgument(""), ClassicArgument::None);
  EXPECT_EQ(classifyClassicArgument("0"), ClassicArgument::Help);
  EXPECT_EQ(classifyClassicArgument("8"), ClassicArgument::Port);
  EXPECT_EQ(classifyClassicArgument("?"), ClassicArgument::Help);
}

}  // namespace
}  // namespace d7o::app
