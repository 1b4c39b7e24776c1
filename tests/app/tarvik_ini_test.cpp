#include "app/tarvik_ini.h"

#include <gtest/gtest.h>

namespace d7o::app {
namespace {

TEST(IniItems, FieldRules) {
  struct Case {
    const char* name;
    std::string content;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"quoted keeps its commas", "\"ATZ;+CBST=7,0,1\"\r\n", {"ATZ;+CBST=7,0,1"}},
      {"unquoted splits at commas", "AT+CMGL=4,1\r\n", {"AT+CMGL=4", "1"}},
      {"inner quotes stay", "AT+CMGL=\"ALL\"\r\n", {"AT+CMGL=\"ALL\""}},
      {"empty line is an empty item", "\"A\"\r\n\r\n\"B\"\r\n", {"A", "", "B"}},
      {"leading blanks dropped", "   ATH\r\n  \"ATA\"\r\n", {"ATH", "ATA"}},
      {"line feed only", "\"A\"\n\"B\"\n", {"A", "B"}},
      {"last line without end", "\"A\"\r\nB", {"A", "B"}},
      {"comma at the end gives an empty field", "A,\r\n", {"A", ""}},
      {"text after a closing quote is skipped", "\"A\"x,B\r\n", {"A", "B"}},
      {"unclosed quote ends at the line end", "\"AT+CSQ\r\n\"B\"\r\n", {"AT+CSQ", "B"}},
      {"empty file", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parseIniItems(c.content), c.items);
  }
}

TEST(IniItems, DefaultFileHasFiftyLinesAndReadsBackAsFiftyItems) {
  const std::string content = defaultIniContent("4");
  std::size_t lines = 0;
  for (std::size_t p = content.find("\r\n"); p != std::string::npos;
       p = content.find("\r\n", p + 2)) {
    ++lines;
  }
  EXPECT_EQ(lines, 50u);
  EXPECT_EQ(content.find('\n'), content.find("\r\n") + 1) << "every line ends in CR LF";
  const auto items = parseIniItems(content);
  ASSERT_EQ(items.size(), 50u);
  EXPECT_EQ(items[2], "4");
}

}  // namespace
}  // namespace d7o::app
