// What the NMEA statistics cost on the paced 115200-baud stream (11520 bytes a second,
// scripts/gps_stream_bench.sh): counting each reply as the receive path hands it over,
// and one refresh of the analyzer's statistics panel (once a second while it shows), each
// turned into a share of one core at that stream.
#include "gps/analyzer.h"
#include "gps/nmea_statistics.h"
#include "gps_second.h"
#include "support/rig.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using d7o::gps::NmeaStatistics;
using d7o::platform::Millis;

constexpr double kStreamBytesPerSecond = 11520;

const auto& kSecond = d7o::bench::kGpsSecond;

std::size_t bytesOfSecond() {
  std::size_t n = 0;
  for (const auto& reply : kSecond) n += reply.size();
  return n;
}

// The share of one core, in percent, that iterations take when the stream asks for
// `perSecondAtStream` of them a second. The benchmark counts kIsIterationInvariantRate |
// kInvert as time / (iterations x value), and prints it with an SI prefix ("896u" is
// 0.000896 %).
void shareOfCore(benchmark::State& state, double perSecondAtStream) {
  state.counters["%core@115200"] = benchmark::Counter(
      1.0 / (100.0 * perSecondAtStream),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void CountReply(benchmark::State& state) {
  NmeaStatistics statistics;
  std::int64_t ms = 0;
  for (auto _ : state) {
    for (const auto& reply : kSecond) {
      statistics.countReply(reply, Millis(ms));
      ms += 10;
    }
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(statistics.bytes());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesOfSecond()));
  state.counters["sentences/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kSecond.size()), benchmark::Counter::kIsRate);
  // The stream brings this many such groups a second.
  shareOfCore(state, kStreamBytesPerSecond / static_cast<double>(bytesOfSecond()));
}
BENCHMARK(CountReply);

// One tick of the panel's timer while it shows, on counters that change between ticks, so
// the labels are really written (the view copies them on its refresh beat).
void PanelRefresh(benchmark::State& state) {
  d7o::test::Rig rig;
  rig.startWithOpenPort();
  rig.main().HS_Timer.setEnabled(false);
  auto& g = rig.app->context().gpsForm;
  for (const auto& reply : kSecond) rig.fromModem(reply.substr(0, reply.size() - 2) + "\r\n");
  rig.scheduler.runFor(Millis(0));
  rig.app->gpsAnalyzer().m_gps_Click();
  g.CheckStatistics.setChecked(true);
  g.StatisticsTimer.setEnabled(false);  // ticked by hand below
  for (auto _ : state) {
    state.PauseTiming();
    rig.fromModem("$GPGSV,3,3,11,24,52,201,44,25,13,090,,29,05,160,22*70\r\n");
    rig.scheduler.runFor(Millis(0));
    state.ResumeTiming();
    g.StatisticsTimer.Tick.emit();
  }
  shareOfCore(state, 1.0);  // once a second
}
BENCHMARK(PanelRefresh);

}  // namespace

BENCHMARK_MAIN();
