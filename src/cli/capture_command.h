#pragma once

// d7o-tool capture: a capture file (or a plain log) exported as a transcript, an NMEA log,
// a GPX track or a CSV table of signal and registration. Header-only like the other
// commands, so the command tests run the very code of the tool.

#include "capture/capture_export.h"
#include "cli/input_file.h"

#include <array>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace d7o::cli {

inline constexpr const char* kCaptureSynopsis = "d7o-tool capture FILE --to text|nmea|gpx|csv";

inline constexpr const char* kCaptureUsage =
    "capture  exports FILE, a capture as rezedev7 records the port or a plain log (read\n"
    "         as received bytes), to standard output; '-' reads standard input.\n"
    "         --to text  a line per line sent (>) or received (<) and per line event\n"
    "                    (*), after its UTC time of day (a plain log's: from 00:00:00);\n"
    "                    bytes other than printable ASCII, and '<', as <1A>\n"
    "         --to nmea  the NMEA sentences received, one a line, with CR LF\n"
    "         --to gpx   a GPX 1.1 track: a point per RMC sentence with a fix (status A),\n"
    "                    with the altitude of the GGA sentence of the same time\n"
    "         --to csv   time,rssi,dbm,ber,registration: a row per +CSQ reply (dbm\n"
    "                    empty for rssi 99, ber empty for 99) and per +CREG reply (its\n"
    "                    state); time in UTC (a plain log's: from 00:00:00)\n"
    "         nmea and gpx leave out sentences with a wrong checksum (and say how many);\n"
    "         a malformed line of FILE stops the export with its byte offset, status 1.\n";

namespace capture_detail {

inline int badUsage(std::ostream& err, const std::string& why) {
  err << "d7o-tool: " << why << "\nusage: " << kCaptureSynopsis << "\n";
  return 2;
}

// Standard input read in large blocks, bytes as they are: std::cin in step with C's stdio
// takes a call per character, far too slow for an hour of capture.
class StandardInputBuffer : public std::streambuf {
 public:
  // Standard input reads in binary on every system (useBinaryStandardStreams).
  StandardInputBuffer() = default;

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    for (;;) {
#if defined(_WIN32)
      const int n = _read(0, m_buffer.data(), static_cast<unsigned>(m_buffer.size()));
#else
      const auto n = ::read(0, m_buffer.data(), m_buffer.size());
      if (n < 0 && errno == EINTR) continue;
#endif
      // A failed read ends the input with the stream marked bad.
      if (n < 0) throw std::ios_base::failure("cannot read standard input");
      if (n == 0) return traits_type::eof();
      setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + n);
      return traits_type::to_int_type(*gptr());
    }
  }

 private:
  std::array<char, 1 << 16> m_buffer{};
};

}  // namespace capture_detail

// The stream `d7o-tool capture -` reads.
inline std::istream& standardInput() {
  static capture_detail::StandardInputBuffer buffer;
  static std::istream stream(&buffer);
  return stream;
}

// `standardIn` is read for FILE "-".
inline int captureCommand(const std::vector<std::string>& args, std::istream& standardIn,
                          std::ostream& out, std::ostream& err) {
  std::string file;
  bool haveFile = false;
  std::optional<capture::ExportFormat> format;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out << "usage: " << kCaptureSynopsis << "\n\n" << kCaptureUsage;
      return out.flush() ? 0 : 1;
    }
    if (arg == "--to" || arg.starts_with("--to=")) {
      std::string name;
      if (arg == "--to") {
        if (i + 1 >= args.size()) return capture_detail::badUsage(err, "--to needs a format");
        name = args[++i];
      } else {
        name = arg.substr(5);
      }
      format = capture::exportFormatByName(name);
      if (!format) {
        return capture_detail::badUsage(err,
                                        "unknown format '" + name + "' (text, nmea, gpx, csv)");
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return capture_detail::badUsage(err, "unknown option " + arg);
    } else if (haveFile) {
      return capture_detail::badUsage(err, "only one capture file");
    } else {
      file = arg;
      haveFile = true;
    }
  }
  if (!haveFile) return capture_detail::badUsage(err, "no capture file");
  if (!format) return capture_detail::badUsage(err, "no format (--to text|nmea|gpx|csv)");

  InputFile input;
  openInput(file, standardIn, err, input);
  if (input.stream == nullptr) return 1;
  const std::string& name = input.name;
  const capture::ExportResult result = capture::exportCapture(*input.stream, *format, out);
  if (result.outputFailed) {
    err << "d7o-tool: cannot write the output\n";
    return 1;
  }
  if (!result.unreadStart.empty()) {
    err << "d7o-tool: " << name << ": the start \"" << result.unreadStart
        << "\" is no UTC time; times count from the start of the capture\n";
  }
  if (result.counts.badChecksums > 0) {
    err << "d7o-tool: " << result.counts.badChecksums
        << (result.counts.badChecksums == 1 ? " sentence" : " sentences")
        << " with a wrong checksum left out\n";
  }
  if (!result.error.empty()) {
    err << "d7o-tool: " << name << ", byte " << result.errorOffset << ": " << result.error << "\n";
    return 1;
  }
  if (result.readFailed) {
    err << "d7o-tool: cannot read " << name << "\n";
    return 1;
  }
  return 0;
}

}  // namespace d7o::cli
