// Sentences per second through the NMEA evaluation, headless: evaluateReply on what a
// D7O in GPS receive mode sends each second (GGA, RMC, GSA and three GSV), each as the
// receive path hands it over, its CR LF turned into two blanks.
#include "gps/nmea_evaluation.h"
#include "gps_second.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>

namespace {

const auto& kSecond = d7o::bench::kGpsSecond;

void EvaluateReply(benchmark::State& state) {
  d7o::gps::GpsFix fix;
  d7o::gps::GPSformRefresh(fix);
  int slotPointer = 0;
  double gpsSpeed = 0;
  d7o::gps::NmeaState nmea{slotPointer, gpsSpeed, true};
  for (auto _ : state) {
    for (const auto& sentence : kSecond) {
      benchmark::DoNotOptimize(d7o::gps::evaluateReply(sentence, fix, nmea));
    }
    benchmark::ClobberMemory();
  }
  state.counters["sentences/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kSecond.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(EvaluateReply);

}  // namespace

BENCHMARK_MAIN();
