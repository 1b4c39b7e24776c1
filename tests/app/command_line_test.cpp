#include "app/command_line.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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

TEST(CommandLine, RecordAndReplay) {
  const CommandLine a = parseCommandLine({"--record", "a.d7ocap", "2"});
  EXPECT_EQ(a.record, "a.d7ocap");
  EXPECT_EQ(a.classic, "2");
  struct Case {
    std::vector<std::string> args;
    double speed;  // when the line is taken
    const char* error;
  };
  const Case cases[] = {
      {{"--replay", "f"}, 1, ""},
      {{"--replay", "f", "--speed", "10"}, 10, ""},
      {{"--replay", "f", "--speed", "0.5"}, 0.5, ""},
      {{"--replay", "f", "--speed", "max"}, 0, ""},
      {{"--replay", "f", "--speed", "0"},
       0,
       "--speed needs a factor above 0 and up to 1000, or max"},
      {{"--replay", "f", "--speed", "1001"},
       0,
       "--speed needs a factor above 0 and up to 1000, or max"},
      {{"--replay", "f", "--speed", "2x"},
       0,
       "--speed needs a factor above 0 and up to 1000, or max"},
      {{"--replay", "f", "--speed"}, 0, "--speed needs a factor above 0 and up to 1000, or max"},
      {{"--replay"}, 0, "--replay needs a file"},
      {{"--record"}, 0, "--record needs a file"},
      {{"--replay", "f", "--simulate"}, 0, "--replay and --simulate both name the port; give one"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.size() > 2 ? c.args[2] + " " + c.args.back() : c.args.back());
    const CommandLine cl = parseCommandLine(c.args);
    EXPECT_EQ(cl.error, c.error);
    if (cl.error.empty()) {
      EXPECT_EQ(cl.replay, "f");
      EXPECT_EQ(cl.replaySpeed, c.speed);
    }
  }
}

}  // namespace
}  // namespace d7o::app
