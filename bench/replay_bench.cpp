// A recorded NMEA stream played back through the whole core as fast as it takes it, with
// the GPS analyzer open: lines per second from the capture file to the analyzer's labels
// and the terminal, and the memory before and after.
#include "app/subsystems.h"
#include "capture/capture_file.h"
#include "capture/recording_port.h"
#include "capture/replay_port.h"
#include "support/rig.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <sys/resource.h>

namespace {

using d7o::platform::Millis;
namespace capture = d7o::capture;

constexpr int kLines = 200000;

// A drive's sentences, about five a chunk as a port reads them at 115200 baud.
void writeCapture(const std::filesystem::path& file) {
  const char* const sentences[] = {
      "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n",
      "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n",
      "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n",
      "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n",
      "$GPGSV,2,2,08,15,11,052,,18,64,117,42,21,33,280,38,22,08,045,31*7F\r\n",
  };
  std::ofstream out(file, std::ios::binary);
  capture::Header header;
  header.open = true;
  header.settings = "115200,n,8,1";
  out << capture::headerLine(header);
  capture::Record chunk;
  for (int line = 0; line < kLines;) {
    chunk.bytes.clear();
    for (const char* s : sentences) {
      chunk.bytes += s;
      ++line;
    }
    chunk.time += Millis(30);
    out << capture::recordLine(chunk);
  }
}

long maxRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void ReplayAtFullSpeed(benchmark::State& state) {
  d7o::test::TempFolder folder;
  const auto file = folder.path() / "drive.d7ocap";
  writeCapture(file);
  for (auto _ : state) {
    d7o::test::Rig rig;
    capture::ReplayPort replay(rig.scheduler, file);
    replay.setSpeed(capture::ReplayPort::kMaxSpeed);
    rig.buildOn(replay);
    rig.app->load();
    rig.state().dispatch.gpsReceiveMode = true;
    rig.app->gpsAnalyzer().m_gps_Click();
    const long before = maxRssKb();
    const auto start = std::chrono::steady_clock::now();
    rig.app->link().openPort();
    rig.scheduler.runUntil([&] { return replay.finished(); }, Millis(24L * 3600 * 1000));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
    state.counters["lines/s"] = kLines / took.count();
    state.counters["rss_before_MB"] = static_cast<double>(before) / 1024;
    state.counters["rss_after_MB"] = static_cast<double>(maxRssKb()) / 1024;
    state.counters["analyzer_utc"] =
        std::stod(rig.app->context().gpsForm.Label56.caption().substr(0, 2));
    rig.app.reset();
  }
}
BENCHMARK(ReplayAtFullSpeed)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// What the recorder adds to a read of the port: a paced 115200-baud NMEA stream is about
// 200 reads a second of some 60 bytes each, so the cost per read times 200 is the share of
// a core. Arg 0 reads through the recorder without a recording, 1 with one (file on disk,
// written out every 100 ms of virtual time as the program does).
void RecordingARead(benchmark::State& state) {
  d7o::test::Rig rig;
  rig.port.setSettings("115200,n,8,1");
  rig.port.open();
  capture::RecordingPort recorder(rig.port, rig.scheduler);
  if (state.range(0) == 1) recorder.start(rig.folder.path() / "bench.d7ocap", "bench");
  const std::string chunk = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
  std::size_t reads = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    rig.fromModem(chunk);
    rig.scheduler.runFor(Millis(5));  // 200 reads a second
    bytes += recorder.readAll().size();
    ++reads;
  }
  state.counters["bytes_per_read"] = static_cast<double>(bytes) / static_cast<double>(reads);
}
BENCHMARK(RecordingARead)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
