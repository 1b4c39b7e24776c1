// Exporting an hour's capture of a GPS receiver at 115200 baud (about 40 MB: the line full,
// 200 received chunks a second) to GPX and to the other formats.
#include "capture/capture_export.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

using namespace d7o::capture;

std::string withChecksum(const std::string& body) {
  unsigned sum = 0;
  for (const char c : body) sum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
  return "$" + body + tail;
}

// One fix's sentences: a drive north-east, 25 fixes a second, which fills the line.
std::string fixSentences(long fix) {
  const long centis = fix * 4;  // hundredths of a second
  char time[16], lat[16], lon[16], body[160];
  std::snprintf(time, sizeof time, "%02ld%02ld%02ld.%02ld", centis / 360000 % 24,
                centis / 6000 % 60, centis / 100 % 60, centis % 100);
  std::snprintf(lat, sizeof lat, "48%07.4f", 7.038 + static_cast<double>(fix % 100000) * 1e-4);
  std::snprintf(lon, sizeof lon, "011%07.4f", 31.0 + static_cast<double>(fix % 100000) * 1e-4);
  std::string out;
  std::snprintf(body, sizeof body, "GPGGA,%s,%s,N,%s,E,1,08,0.9,545.4,M,46.9,M,,", time, lat, lon);
  out += withChecksum(body);
  std::snprintf(body, sizeof body, "GPRMC,%s,A,%s,N,%s,E,022.4,084.4,230394,003.1,W", time, lat,
                lon);
  out += withChecksum(body);
  out += withChecksum("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
  out += withChecksum("GPGSV,3,1,10,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45");
  out += withChecksum("GPGSV,3,2,10,15,11,052,,18,64,117,42,21,33,280,38,22,08,045,31");
  out += withChecksum("GPGSV,3,3,10,24,05,180,,32,45,237,42");
  return out;
}

// An hour of the receiver at 115200 baud as a capture: 200 chunks a second of what the
// line carries in 5 ms.
const std::string& hourCapture() {
  static const std::string capture = [] {
    constexpr long kSeconds = 3600;
    constexpr long kChunksPerSecond = 200;
    constexpr std::size_t kBytesPerChunk = 11520 / kChunksPerSecond;
    Header header;
    header.program = "rezedev7 bench";
    header.settings = "115200,n,8,1";
    header.startUtc = "2026-12-09T18:22:20.123Z";
    std::string out = headerLine(header);
    out.reserve(48u << 20);
    std::string stream;
    long fix = 0;
    Record r;
    r.direction = Direction::Received;
    for (long chunk = 0; chunk < kSeconds * kChunksPerSecond; ++chunk) {
      while (stream.size() < kBytesPerChunk) stream += fixSentences(fix++);
      r.time = d7o::platform::Millis(chunk * 1000 / kChunksPerSecond);
      r.bytes = stream.substr(0, kBytesPerChunk);
      stream.erase(0, kBytesPerChunk);
      out += recordLine(r);
    }
    return out;
  }();
  return capture;
}

// Output that goes nowhere.
class Discard : public std::streambuf {
 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

void ExportHour(benchmark::State& state, ExportFormat format) {
  const std::string& capture = hourCapture();
  Discard discard;
  std::ostream out(&discard);
  ExportResult result;
  for (auto _ : state) {
    std::istringstream in(capture);
    result = exportCapture(in, format, out);
  }
  if (!result.ok()) state.SkipWithError(result.error.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * capture.size()));
  state.counters["capture_MB"] = static_cast<double>(capture.size()) / 1e6;
  state.counters["written"] = static_cast<double>(result.counts.written);
}
BENCHMARK_CAPTURE(ExportHour, gpx, ExportFormat::Gpx)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHour, nmea, ExportFormat::Nmea)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHour, text, ExportFormat::Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHour, csv, ExportFormat::Csv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
