#include "app/tarvik_ini.h"

#include "app/file_io.h"
#include "app/text.h"

#include <cmath>
#include <cstring>
#include <system_error>

namespace d7o::app {

namespace {

// One line of the file as created: a quoted value, or a text written as it stands.
struct IniLine {
  const char* text;
  bool quoted;
};

// Everything after the port line, in order. Empty quoted values are the free command rows.
constexpr IniLine kLinesAfterPort[] = {
    {"[SMS-Service-Center-Nr]", false},
    {"00491710760000", true},
    {"[SMS-CallNr]", false},
    {"0123456789", true},
    {"[VoiceCallNr]", false},
    {"0123456789", true},
    {"[K7-INIT-String]", false},
    {"ATZ;+CMEE=1;+CBST=7,0,1;+CSDH=1;+CMGF=1;S0=0", true},
    {"[AT -Commands]", false},
    {"ATZ", true},
    {"AT&W", true},
    {"AT+CPOF", true},
    {"AT+CFUN=1,1", true},
    {"ATA", true},
    {"ATH", true},
    {"", false},
    {"&REQ TM", true},
    {"", false},
    {"AT+CMGF=0", true},
    {"AT+CMGF=1", true},
    {"AT+CNMI=1,1,0,0,0", true},
    {"AT+CNMI=2,2,0,0,0", true},
    {"AT+CSMP=17,167,0,240", true},
    {"", false},
    {"AT+CMGL=0", true},
    {"AT+CMGL=4", true},
    {"AT+CMGL=\"REC UNREAD\"", false},
    {"AT+CMGL=\"ALL\"", false},
    {"", false},
    {"AT+IFC?", true},
    {"AT+IFC=?", true},
    {"AT+IPR?", true},
    {"AT+IPR=?", true},
    {"AT+COPS?", true},
    {"AT+CREG?", true},
    {"AT+CSQ", true},
    {"AT+VGR?", true},
    {"AT+VGT?", true},
    {"AT+VGR=?", true},
    {"AT+VGT=?", true},
    {"", false},
    {"AT+CGSN", true},
    {"AT+CGMR", true},
    {"AT+CGMI", true},
    {"", false},
    {"ATS0=0", true},
    {"ATS0=1", true},
};

void appendLine(std::string& out, std::string_view text, bool quoted) {
  if (quoted) out += '"';
  out += text;
  if (quoted) out += '"';
  out += "\r\n";
}

}  // namespace

std::string portFromAnswer(const std::string& answer) {
  const double value = numericValue(answer);
  if (answer.empty() || value < 1) return "1";
  if (value > 16) return "16";
  // The number typed, without what the number reading skipped (" 7" and "7abc" give "7"),
  // so the next start reads a port it can use.
  return std::to_string(static_cast<int>(std::floor(value)));
}

std::string defaultIniContent(const std::string& port) {
  std::string out;
  appendLine(out, "!!! do not change the File-Stucture !!!", false);
  appendLine(out, "[Port]", false);
  appendLine(out, port, true);
  for (const IniLine& line : kLinesAfterPort) appendLine(out, line.text, line.quoted);
  return out;
}

std::optional<std::string> writeDefaultIni(const std::filesystem::path& folder,
                                           const std::string& port) {
  return replaceFile(folder / kIniFileName, defaultIniContent(port));
}

std::vector<std::string> parseIniItems(const std::string& content, std::vector<int>* lines) {
  std::vector<std::string> items;
  int line = 1;
  std::size_t pos = 0;
  const std::size_t n = content.size();
  auto atLineEnd = [&](std::size_t p) {
    return p >= n || content[p] == '\r' || content[p] == '\n';
  };
  auto skipLineEnd = [&](std::size_t& p) {
    if (p < n && content[p] == '\r') ++p;
    if (p < n && content[p] == '\n') ++p;
  };
  while (pos < n) {
    // One line: one or more comma-separated fields.
    while (true) {
      std::size_t p = pos;
      while (p < n && (content[p] == ' ' || content[p] == '\t')) ++p;
      std::string item;
      if (p < n && content[p] == '"') {
        ++p;
        while (p < n && content[p] != '"' && content[p] != '\r' && content[p] != '\n') {
          item += content[p++];
        }
        if (p < n && content[p] == '"') ++p;
        // Whatever stands between the closing quote and the next comma is not part of it.
        while (!atLineEnd(p) && content[p] != ',') ++p;
      } else {
        while (!atLineEnd(p) && content[p] != ',') item += content[p++];
      }
      items.push_back(std::move(item));
      if (lines != nullptr) lines->push_back(line);
      if (p < n && content[p] == ',') {
        pos = p + 1;
        continue;  // the next field of the same line (a comma at the line end gives an empty one)
      }
      pos = p;
      skipLineEnd(pos);
      ++line;
      break;
    }
  }
  return items;
}

std::optional<std::vector<std::string>> readIniItems(const std::filesystem::path& file,
                                                     std::string* error, std::vector<int>* lines) {
  // The file holds a few dozen short lines; anything far larger is no configuration (a
  // log or an image saved under its name) and is not read into memory.
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (!ec && size > kMaxIniBytes) {
    if (error != nullptr) {
      *error = "it is " + std::to_string(size) + " bytes long, far more than a configuration";
    }
    return std::nullopt;
  }
  const auto content = readWholeFile(file, error);
  if (!content) return std::nullopt;
  return parseIniItems(*content, lines);
}

namespace {

// An item as a technician can read it in a message: control characters and bytes of a
// binary file as "?", cut after 40 characters.
std::string shown(const std::string& item) {
  std::string out;
  for (const char c : item.substr(0, 40)) {
    const auto u = static_cast<unsigned char>(c);
    out.push_back(u < 0x20 || u == 0x7F ? '?' : c);
  }
  return item.size() > 40 ? out + "..." : out;
}

}  // namespace

int portNumberOf(const std::string& item) {
  const double value = numericValue(item);
  // Far outside 1..16 any number is simply no port; keep it inside an int on the way.
  return std::abs(value) < 1e6 ? static_cast<int>(std::lround(value)) : 0;
}

std::optional<std::string> iniFault(const std::vector<std::string>& items,
                                    const std::vector<int>& lines, bool portFromCommandLine) {
  const auto lineOf = [&lines](std::size_t item) {
    return item < lines.size() ? lines[item] : static_cast<int>(item) + 1;
  };
  constexpr auto kNeeded = static_cast<std::size_t>(ini_index::kInitString) + 1;
  if (items.size() < kNeeded) {
    const int last = items.empty() ? 0 : lineOf(items.size() - 1);
    return std::string(items.empty() ? " is empty" : " ends after line " + std::to_string(last)) +
           ": lines " + std::to_string(last + 1) + " to " + std::to_string(kNeeded) +
           " are missing; the file needs its port, service-centre number, SMS and voice "
           "numbers and initialisation string, each under its heading (delete the file and "
           "start the program to have a new one made)";
  }
  if (!portFromCommandLine) {
    const std::string& port = items[ini_index::kPort];
    const int number = portNumberOf(port);
    if (number < 1 || number > 16) {
      return ", line " + std::to_string(lineOf(ini_index::kPort)) +
             ": the port must be a number from 1 to 16 in quotes, for example \"1\"; it is \"" +
             shown(port) + "\"";
    }
  }
  return std::nullopt;
}

}  // namespace d7o::app
