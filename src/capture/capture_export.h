#pragma once

// Turning a capture (or a plain log) into files other programs read: a readable transcript,
// the received NMEA sentences as a log, the GPS track as GPX and the signal and network
// replies as CSV.

#include "capture/capture_file.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace d7o::capture {

enum class ExportFormat {
  Text,  // "18:22:25.136 > AT+CSQ", "18:22:25.184 < +CSQ: 17,99", "18:22:29.000 * cts off"
  Nmea,  // the received NMEA sentences, one a line with CR LF
  Gpx,   // one track point per valid RMC fix, GPX 1.1
  Csv,   // "time,rssi,dbm,ber,registration", a row per +CSQ and +CREG reply
};

// "text", "nmea", "gpx", "csv".
std::optional<ExportFormat> exportFormatByName(std::string_view name);

// Milliseconds since 1970 of a header's start ("2026-12-09T18:22:20.123Z", with or without
// the milliseconds); none when the text is no such UTC time.
std::optional<std::int64_t> utcMillisOf(std::string_view text);

// Whether a line is an NMEA sentence: "$", an address of capital letters and digits, a
// comma, printable ASCII, and a checksum "*hh" that matches where there is one. `badChecksum`
// (if given) tells a sentence left out only for its checksum. The test is the program's one
// (gps::checkSentence), which the stream statistics ask too.
bool isNmeaSentence(std::string_view line, bool* badChecksum = nullptr);

struct ExportCounts {
  std::uint64_t lines = 0;         // lines received or sent
  std::uint64_t written = 0;       // lines, sentences, track points or rows written
  std::uint64_t badChecksums = 0;  // NMEA sentences left out for a wrong checksum
};

// Writes one format from records fed in order. Output gathers and goes to the stream in
// large blocks.
class Exporter {
 public:
  // `header`: the capture's (startUtc empty for a plain log, whose times then count from
  // 00:00:00.000).
  Exporter(ExportFormat format, const Header& header, std::ostream& out);
  ~Exporter();
  Exporter(const Exporter&) = delete;
  Exporter& operator=(const Exporter&) = delete;

  void add(const Record& record);
  // Ends the lines still open, and the document; idempotent.
  void finish();
  // False once the output stream failed.
  bool good() const;
  const ExportCounts& counts() const;

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

struct ExportResult {
  ExportCounts counts;
  // A malformed line of the capture: what is wrong and the line's byte offset. What came
  // before it is exported (and the document ended).
  std::string error;
  std::uint64_t errorOffset = 0;
  // A capture's start that is no UTC time (as the transcript shows text), so times count
  // from the start instead.
  std::string unreadStart;
  bool readFailed = false;    // the input could not be read to its end
  bool outputFailed = false;  // the output stream failed
  bool ok() const { return error.empty() && !readFailed && !outputFailed; }
};

// Reads a capture or a plain log from `in` and writes it in `format` to `out`.
ExportResult exportCapture(std::istream& in, ExportFormat format, std::ostream& out,
                           const std::string& plainSettings = "115200,n,8,1");

}  // namespace d7o::capture
