#include "capture/capture_file.h"

#include "app/path_text.h"
#include "platform/line_settings.h"

#include <array>
#include <charconv>
#include <chrono>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>

namespace d7o::capture {

namespace {

using nlohmann::json;

constexpr std::array<const char*, 12> kEventNames = {
    "open", "close", "vanished", "settings", "port",  "cts",
    "cd",   "dsr",   "dtr",      "rts",      "break", "handshake",
};

// The byte values as JSON string text: each byte is the character of the same number,
// written as UTF-8 (two bytes from 0x80 on) or as a JSON escape.
void appendJsonBytes(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    switch (b) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (b < 0x20 || b == 0x7f) {
          out += "\\u00";
          out += kHex[b >> 4];
          out += kHex[b & 0xf];
        } else if (b < 0x80) {
          out += static_cast<char>(b);
        } else {
          out += static_cast<char>(0xc0 | (b >> 6));
          out += static_cast<char>(0x80 | (b & 0x3f));
        }
    }
  }
  out += '"';
}

// The reverse of appendJsonBytes on the UTF-8 text the JSON parser gives: false for a
// character beyond U+00FF, which no byte stands for.
bool bytesOfText(const std::string& text, std::string& bytes) {
  bytes.clear();
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      bytes += static_cast<char>(b);
    } else if ((b == 0xc2 || b == 0xc3) && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[++i]);
      bytes += static_cast<char>(((b & 0x03) << 6) | (next & 0x3f));
    } else {
      return false;
    }
  }
  return true;
}

std::string lineOf(const json& j) {
  return j.dump(-1, ' ', false, json::error_handler_t::replace) + '\n';
}

}  // namespace

const char* eventName(LineEvent event) {
  return kEventNames.at(static_cast<std::size_t>(event));
}

EventPayload payloadOf(LineEvent event) {
  switch (event) {
    case LineEvent::Settings:
    case LineEvent::Port:
    case LineEvent::Handshake:
      return EventPayload::Value;
    case LineEvent::Cts:
    case LineEvent::Cd:
    case LineEvent::Dsr:
    case LineEvent::Dtr:
    case LineEvent::Rts:
    case LineEvent::Break:
      return EventPayload::On;
    default:
      return EventPayload::None;
  }
}

std::optional<LineEvent> eventByName(std::string_view name) {
  for (std::size_t i = 0; i < kEventNames.size(); ++i) {
    if (name == kEventNames[i]) return static_cast<LineEvent>(i);
  }
  return std::nullopt;
}

std::string headerLine(const Header& header) {
  json j;
  j["d7o_capture"] = kFormatVersion;
  j["program"] = header.program;
  j["port"] = header.port;
  j["settings"] = header.settings;
  j["open"] = header.open;
  j["start"] = header.startUtc;
  // Keys go out sorted, so "d7o_capture" comes first and tells a capture from a plain log.
  return lineOf(j);
}

std::string recordLine(const Record& record) {
  std::string out = "{\"t\":" + std::to_string(record.time.count());
  switch (record.direction) {
    case Direction::Received:
      out += ",\"rx\":";
      appendJsonBytes(out, record.bytes);
      break;
    case Direction::Sent:
      out += ",\"tx\":";
      appendJsonBytes(out, record.bytes);
      break;
    case Direction::Event:
      out += ",\"ev\":\"";
      out += eventName(record.event);
      out += '"';
      if (payloadOf(record.event) == EventPayload::Value) {
        out += ",\"value\":";
        appendJsonBytes(out, record.value);
      } else if (payloadOf(record.event) == EventPayload::On) {
        out += record.on ? ",\"on\":true" : ",\"on\":false";
      }
  }
  out += "}\n";
  return out;
}

std::string utcNow() {
  using namespace std::chrono;
  return utcText(time_point_cast<milliseconds>(system_clock::now()).time_since_epoch().count());
}

std::string suggestedFileName(const platform::DateTime& local) {
  char text[48];
  std::snprintf(text, sizeof text, "capture-%04d-%02d-%02d-%02d%02d%02d%s", local.year, local.month,
                local.day, local.hour, local.minute, local.second, kFileExtension);
  return text;
}

// --- Writer ---

Writer::~Writer() {
  close();
}

std::optional<std::string> Writer::open(const std::filesystem::path& file, const Header& header) {
  close();
  m_failure.clear();
  m_path = file;
#ifdef _WIN32
  m_file = _wfopen(file.c_str(), L"wb");
#else
  m_file = std::fopen(file.c_str(), "wb");
#endif
  if (m_file == nullptr) return "cannot write " + app::pathText(file);
  m_buffer = headerLine(header);
  if (!flush()) return m_failure;
  return std::nullopt;
}

void Writer::append(const Record& record) {
  if (m_file != nullptr) m_buffer += recordLine(record);
}

bool Writer::flush() {
  if (m_file == nullptr) return false;
  if (m_buffer.empty()) return true;
  const bool written = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) == m_buffer.size();
  m_buffer.clear();
  if (!written || std::fflush(m_file) != 0) {
    m_failure = "writing " + app::pathText(m_path) + " failed (disk full?)";
    std::fclose(m_file);
    m_file = nullptr;
    return false;
  }
  return true;
}

void Writer::close() {
  if (m_file == nullptr) return;
  flush();
  if (m_file != nullptr) std::fclose(m_file);
  m_file = nullptr;
}

// --- Reader ---

namespace {

constexpr std::string_view kHeaderStart = "{\"d7o_capture\":";
// A plain log without line ends (a raw dump) still replays in pieces of this size.
constexpr std::size_t kPlainPiece = 4096;

Millis pacedTime(std::uint64_t bytes, int bitsPerByte, int baud) {
  return Millis(static_cast<std::int64_t>(bytes * static_cast<std::uint64_t>(bitsPerByte) * 1000 /
                                          static_cast<std::uint64_t>(baud)));
}

int bitsPerByteOf(const platform::LineSettings& s) {
  const int parity = s.parity == platform::LineSettings::Parity::None ? 0 : 1;
  const int stop = s.stopBits == platform::LineSettings::StopBits::One ? 1 : 2;
  return 1 + s.dataBits + parity + stop;
}

}  // namespace

Reader::Reader(std::istream& in, std::string plainSettings) : m_in(in) {
  platform::LineSettings line;
  if (!platform::parseLineSettings(plainSettings, line)) {
    m_baud = line.baud;
    m_bitsPerByte = bitsPerByteOf(line);
    m_header.settings = plainSettings;
  } else {
    m_header.settings = "115200,n,8,1";
  }
  m_header.open = true;
  // Enough of the start to tell a capture from a plain log.
  char start[kHeaderStart.size()];
  m_in.read(start, static_cast<std::streamsize>(sizeof start));
  m_pending.assign(start, static_cast<std::size_t>(m_in.gcount()));
  if (m_pending != kHeaderStart) return;
  m_capture = true;
  std::string rest;
  bool complete = false;
  readLine(rest, complete);
  m_offset = m_pending.size() + rest.size() + (complete ? 1 : 0);
  rest.insert(0, m_pending);
  m_pending.clear();
  if (!complete) {
    fail("the header line is cut off");
    return;
  }
  readHeader(rest);
}

void Reader::readHeader(const std::string& line) {
  const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    fail("the header line is not JSON");
    return;
  }
  const auto text = [&](const char* key, std::string& out) {
    const auto it = j.find(key);
    if (it != j.end() && it->is_string()) out = it->get<std::string>();
  };
  const auto version = j.find("d7o_capture");
  if (version == j.end() || !version->is_number_unsigned() || version->get<std::uint64_t>() == 0) {
    fail("the header has no capture format version");
    return;
  }
  if (version->get<std::uint64_t>() > static_cast<std::uint64_t>(kFormatVersion)) {
    fail("capture format " + version->dump() + " is newer than this program reads (" +
         std::to_string(kFormatVersion) + ")");
    return;
  }
  text("program", m_header.program);
  text("port", m_header.port);
  text("settings", m_header.settings);
  text("start", m_header.startUtc);
  const auto open = j.find("open");
  m_header.open = open != j.end() && open->is_boolean() && open->get<bool>();
}

bool Reader::readLine(std::string& line, bool& complete) {
  line.clear();
  complete = false;
  if (!m_in.good()) return false;
  std::getline(m_in, line);
  complete = !m_in.eof();
  return complete || !line.empty();
}

std::optional<Record> Reader::fail(std::string text) {
  m_error = std::move(text);
  m_errorOffset = m_lineOffset;
  m_done = true;
  return std::nullopt;
}

std::optional<Record> Reader::next() {
  if (m_done) return std::nullopt;
  if (!m_capture) return nextPlain();
  std::string line;
  bool complete = false;
  while (true) {
    m_lineOffset = m_offset;
    if (!readLine(line, complete) || !complete) {
      // The end, or a last line a killed recording left half written.
      m_done = true;
      return std::nullopt;
    }
    m_offset += line.size() + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) break;
  }
  std::string error;
  std::optional<Record> record = parseRecordLine(line, error);
  if (!record) return fail(error);
  if (record->time < m_lastTime) {
    return fail("time " + std::to_string(record->time.count()) + " ms comes before " +
                std::to_string(m_lastTime.count()) + " ms");
  }
  m_lastTime = record->time;
  return record;
}

std::optional<Record> Reader::nextPlain() {
  Record record;
  record.bytes = std::move(m_pending);
  m_pending.clear();
  m_lineOffset = m_offset;
  // Up to and with the next line end.
  while (record.bytes.find('\n') == std::string::npos && record.bytes.size() < kPlainPiece) {
    const int c = m_in.get();
    if (c == std::char_traits<char>::eof()) break;
    record.bytes += static_cast<char>(c);
  }
  const std::size_t end = record.bytes.find('\n');
  if (end != std::string::npos && end + 1 < record.bytes.size()) {
    m_pending = record.bytes.substr(end + 1);
    record.bytes.resize(end + 1);
  } else if (record.bytes.size() > kPlainPiece) {
    m_pending = record.bytes.substr(kPlainPiece);
    record.bytes.resize(kPlainPiece);
  }
  if (record.bytes.empty()) {
    m_done = true;
    return std::nullopt;
  }
  m_offset += record.bytes.size();
  m_plainBytes += record.bytes.size();
  // A byte is there once its stop bit is.
  record.time = pacedTime(m_plainBytes, m_bitsPerByte, m_baud);
  return record;
}

// The common record line, {"t":5061,"rx":"AT\r\r\nOK\r\n"} just as the recorder writes it,
// decoded without building a JSON value (most of the time of an export otherwise); false
// for anything else, which the full reading of parseRecordLine then takes.
namespace {
bool decodeDataLine(std::string_view line, Record& record) {
  constexpr std::string_view kTime = "{\"t\":";
  if (!line.starts_with(kTime)) return false;
  std::size_t i = kTime.size();
  const std::size_t digits = i;
  std::int64_t time = 0;
  // Digits beyond the 18th are counted, not added: the line goes to the full reading then.
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    if (i - digits < 18) time = time * 10 + (line[i] - '0');
  }
  // No leading zeros (JSON has none) and no more digits than fit.
  if (i == digits || i - digits > 18 || (i - digits > 1 && line[digits] == '0')) return false;
  const std::string_view key = line.substr(i, 7);
  Direction direction;
  if (key == ",\"rx\":\"") {
    direction = Direction::Received;
  } else if (key == ",\"tx\":\"") {
    direction = Direction::Sent;
  } else {
    return false;
  }
  i += key.size();
  std::string& bytes = record.bytes;
  bytes.clear();
  const auto hex = [&](std::size_t at) -> int {
    const char c = line[at];
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (;;) {
    std::size_t run = i;
    while (run < line.size()) {
      const auto b = static_cast<unsigned char>(line[run]);
      if (b < 0x20 || b == '"' || b == '\\' || b >= 0x80) break;
      ++run;
    }
    bytes.append(line.data() + i, run - i);
    i = run;
    if (i + 1 >= line.size()) return false;  // no room for the closing quote and brace
    const auto b = static_cast<unsigned char>(line[i]);
    if (b == '"') break;
    if (b == 0xc2 || b == 0xc3) {
      // U+0080..U+00FF in UTF-8: the bytes 0x80..0xFF.
      const auto next = static_cast<unsigned char>(line[i + 1]);
      if ((next & 0xc0) != 0x80) return false;
      bytes += static_cast<char>(((b & 0x03) << 6) | (next & 0x3f));
      i += 2;
      continue;
    }
    if (b != '\\') return false;
    switch (line[i + 1]) {
      case 'r':
        bytes += '\r';
        break;
      case 'n':
        bytes += '\n';
        break;
      case 't':
        bytes += '\t';
        break;
      case '"':
        bytes += '"';
        break;
      case '\\':
        bytes += '\\';
        break;
      case 'u': {
        // \u00xx only; a character beyond U+00FF is for the full reading to refuse.
        if (i + 6 > line.size() || line[i + 2] != '0' || line[i + 3] != '0') return false;
        const int high = hex(i + 4), low = hex(i + 5);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 4;
        break;
      }
      default:
        return false;
    }
    i += 2;
  }
  if (i + 2 != line.size() || line[i + 1] != '}') return false;
  record.time = Millis(time);
  record.direction = direction;
  return true;
}

}  // namespace

std::optional<Record> parseRecordLine(std::string_view line, std::string& error) {
  if (Record record; decodeDataLine(line, record)) return record;
  const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    error = "not a JSON object";
    return std::nullopt;
  }
  Record record;
  const auto t = j.find("t");
  if (t == j.end() || !t->is_number_unsigned()) {
    error = "no time \"t\" in milliseconds";
    return std::nullopt;
  }
  record.time = Millis(static_cast<std::int64_t>(t->get<std::uint64_t>() & 0x3fffffffffffffffULL));
  const auto bytes = [&](const char* key, Direction direction) -> int {
    const auto it = j.find(key);
    if (it == j.end()) return 0;
    record.direction = direction;
    if (!it->is_string() || !bytesOfText(it->get_ref<const std::string&>(), record.bytes)) {
      error = std::string("\"") + key + "\" is no byte text (characters up to U+00FF)";
      return -1;
    }
    return 1;
  };
  const int rx = bytes("rx", Direction::Received);
  if (rx < 0) return std::nullopt;
  const int tx = bytes("tx", Direction::Sent);
  if (tx < 0) return std::nullopt;
  const auto ev = j.find("ev");
  if (rx + tx + (ev != j.end() ? 1 : 0) != 1) {
    error = "not exactly one of \"rx\", \"tx\" and \"ev\"";
    return std::nullopt;
  }
  if (ev == j.end()) return record;

  record.direction = Direction::Event;
  const std::optional<LineEvent> event =
      ev->is_string() ? eventByName(ev->get_ref<const std::string&>()) : std::nullopt;
  if (!event) {
    error =
        "unknown line event " + ev->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return std::nullopt;
  }
  record.event = *event;
  if (const auto on = j.find("on"); on != j.end()) {
    if (!on->is_boolean()) {
      error = "\"on\" is not true or false";
      return std::nullopt;
    }
    record.on = on->get<bool>();
  }
  if (const auto value = j.find("value"); value != j.end()) {
    if (!value->is_string() || !bytesOfText(value->get_ref<const std::string&>(), record.value)) {
      error = "\"value\" is no byte text";
      return std::nullopt;
    }
  }
  return record;
}

Millis captureLength(const std::filesystem::path& file, const std::string& plainSettings) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return Millis(0);
  Reader head(in, plainSettings);
  in.clear();
  in.seekg(0, std::ios::end);
  const auto size = static_cast<std::uint64_t>(in.tellg());
  if (!head.isCapture()) {
    platform::LineSettings line;
    if (platform::parseLineSettings(plainSettings, line)) line = platform::LineSettings{115200};
    return pacedTime(size, bitsPerByteOf(line), line.baud);
  }
  // The last complete line with a time, from the file's tail.
  constexpr std::uint64_t kTail = 64 * 1024;
  const std::uint64_t from = size > kTail ? size - kTail : 0;
  in.seekg(static_cast<std::streamoff>(from));
  std::string tail(static_cast<std::size_t>(size - from), '\0');
  in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  std::size_t end = tail.rfind('\n');
  while (end != std::string::npos && end > 0) {
    const std::size_t begin = tail.rfind('\n', end - 1);
    const std::size_t start = begin == std::string::npos ? 0 : begin + 1;
    std::string error;
    if (auto record = parseRecordLine(std::string_view(tail).substr(start, end - start), error)) {
      return record->time;
    }
    if (begin == std::string::npos) break;
    end = begin;
  }
  return Millis(0);
}

}  // namespace d7o::capture
