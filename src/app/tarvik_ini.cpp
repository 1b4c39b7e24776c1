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

std::vector<std::string> parseIniItems(const std::string& content) {
  std::vector<std::string> items;
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
      if (p < n && content[p] == ',') {
        pos = p + 1;
        continue;  // the next field of the same line (a comma at the line end gives an empty one)
      }
      pos = p;
      skipLineEnd(pos);
      break;
    }
  }
  return items;
}

std::optional<std::vector<std::string>> readIniItems(const std::filesystem::path& file,
                                                     std::string* error) {
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
  return parseIniItems(*content);
}

}  // namespace d7o::app
