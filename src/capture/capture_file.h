#pragma once

#include "app/text.h"
#include "platform/host.h"
#include "platform/scheduler.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::capture {

using platform::Millis;

// A capture file is JSON Lines: a header line, then one line per chunk of bytes or line
// event, each with its time in milliseconds since the start. Bytes are kept as JSON text
// whose characters U+0000..U+00FF stand for the byte values 0..255, so "AT+CSQ\r" reads
// as itself in grep or jq and no byte value is lost:
//
//   {"d7o_capture":1,"program":"rezedev7 8.0.7","port":"COM1","settings":"9600,n,8,1",
//    "open":false,"start":"2026-12-09T18:22:20.123Z"}
//   {"t":5012,"ev":"open"}
//   {"t":5013,"tx":"AT\r"}
//   {"t":5061,"rx":"AT\r\r\nOK\r\n"}
//   {"t":9000,"ev":"cts","on":false}
inline constexpr int kFormatVersion = 1;
inline constexpr const char* kFileExtension = ".d7ocap";

enum class Direction { Received, Sent, Event };

// What happened on the line besides data.
enum class LineEvent {
  Opened,    // the port opened
  Closed,    // the program closed it
  Vanished,  // the device went away and the port closed itself
  Settings,  // line settings taken ("115200,n,8,1"), in `value`
  Port,      // the port switched ("COM3"), in `value`
  Cts,       // CTS as the program read it, in `on`
  Cd,        // carrier detect as the program read it
  Dsr,
  Dtr,  // DTR set by the program
  Rts,
  Break,      // BREAK on or off
  Handshake,  // handshaking set ("none", "rts/cts"), in `value`
};

struct Record {
  Millis time{0};
  Direction direction = Direction::Received;
  std::string bytes;  // Received and Sent
  LineEvent event = LineEvent::Opened;
  bool on = false;
  std::string value;
};

struct Header {
  std::string program;
  std::string port = "COM1";
  std::string settings = "9600,n,8,1";
  bool open = false;
  std::string startUtc;  // "2026-12-09T18:22:20.123Z"; empty for a plain log
};

const char* eventName(LineEvent event);
// What an event carries besides its time: a text in `value` (settings, port, handshake), a
// state in `on` (the line signals and BREAK), or nothing.
enum class EventPayload { None, Value, On };
EventPayload payloadOf(LineEvent event);
std::optional<LineEvent> eventByName(std::string_view name);

// One line of the file, with its line end.
std::string headerLine(const Header& header);
std::string recordLine(const Record& record);

using app::utcText;
// utcText for now.
std::string utcNow();
// The name suggested for a capture begun at `local`: "capture-2026-12-09-182220.d7ocap".
std::string suggestedFileName(const platform::DateTime& local);

// Appends whole lines to a capture file. Lines gather in memory and go out on flush(), so
// a killed program leaves only whole lines behind (the caller flushes at least every
// 100 ms).
class Writer {
 public:
  Writer() = default;
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // Creates (or empties) the file and writes the header; the error names the file.
  std::optional<std::string> open(const std::filesystem::path& file, const Header& header);
  bool isOpen() const { return m_file != nullptr; }
  void append(const Record& record);
  // True when lines are waiting for flush().
  bool pending() const { return !m_buffer.empty(); }
  std::size_t pendingBytes() const { return m_buffer.size(); }
  // Writes out what gathered; false (and the file closed) when the disk refused it.
  bool flush();
  void close();
  const std::string& failure() const { return m_failure; }
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::FILE* m_file = nullptr;
  std::string m_buffer;
  std::string m_failure;
  std::filesystem::path m_path;
};

// Reads a capture, or a plain log (a receiver's NMEA log, a raw dump) as received bytes
// paced at the header's byte rate, one record per line of the log.
class Reader {
 public:
  // `plainSettings`: the line settings a plain log is paced at.
  explicit Reader(std::istream& in, std::string plainSettings = "115200,n,8,1");

  bool isCapture() const { return m_capture; }
  const Header& header() const { return m_header; }
  // The next record; empty at the end of the file or at a malformed line (see error()).
  // A last line without its line end (a killed recording) counts as the end.
  std::optional<Record> next();
  // Where reading stopped on a malformed line: the text and the line's byte offset.
  const std::string& error() const { return m_error; }
  std::uint64_t errorOffset() const { return m_errorOffset; }
  // Bytes consumed so far.
  std::uint64_t offset() const { return m_offset; }

 private:
  // The next line without its line end; false at the end of the file. `complete`: it had
  // its line end.
  bool readLine(std::string& line, bool& complete);
  std::optional<Record> nextPlain();
  std::optional<Record> fail(std::string text);
  void readHeader(const std::string& line);

  std::istream& m_in;
  bool m_capture = false;
  Header m_header;
  std::string m_pending;  // a plain log's first bytes, read while looking for a header
  std::uint64_t m_offset = 0;
  std::uint64_t m_lineOffset = 0;
  std::uint64_t m_plainBytes = 0;
  int m_bitsPerByte = 10;
  int m_baud = 115200;
  Millis m_lastTime{0};
  std::string m_error;
  std::uint64_t m_errorOffset = 0;
  bool m_done = false;
};

// Decodes one record line (without its line end); empty with `error` set when malformed.
std::optional<Record> parseRecordLine(std::string_view line, std::string& error);

// The time of the last complete record of a capture file, or a plain log's paced length;
// what the replay bar shows as the length.
Millis captureLength(const std::filesystem::path& file, const std::string& plainSettings);

}  // namespace d7o::capture
