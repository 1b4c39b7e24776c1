#include "remote/call_history.h"

#include "app/file_io.h"

#include <system_error>

namespace d7o::remote {

namespace {
bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
}  // namespace

std::vector<std::string> quotedValues(std::string_view content) {
  std::vector<std::string> values;
  std::size_t i = 0;
  const std::size_t n = content.size();
  while (i < n) {
    while (i < n && (isBlank(content[i]) || content[i] == '\r' || content[i] == '\n')) ++i;
    if (i >= n) break;
    std::string value;
    if (content[i] == '"') {
      const std::size_t close = content.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? n : close;
      value = std::string(content.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? n : close + 1;
      // Whatever follows the closing quote up to the separator belongs to no value.
      while (i < n && content[i] != ',' && content[i] != '\r' && content[i] != '\n') ++i;
    } else {
      const std::size_t start = i;
      while (i < n && content[i] != ',' && content[i] != '\r' && content[i] != '\n') ++i;
      std::size_t end = i;
      while (end > start && isBlank(content[end - 1])) --end;
      value = std::string(content.substr(start, end - start));
    }
    values.push_back(std::move(value));
    if (i < n && content[i] == ',') ++i;
  }
  return values;
}

std::string quotedLines(const std::vector<std::string>& values) {
  std::string out;
  for (const std::string& v : values) out += "\"" + v + "\"\r\n";
  return out;
}

std::optional<std::vector<std::string>> readValues(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return std::nullopt;
  const auto content = app::readWholeFile(file);
  if (!content) return std::nullopt;
  return quotedValues(*content);
}

}  // namespace d7o::remote
