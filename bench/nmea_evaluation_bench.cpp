// Sentences per second through the NMEA evaluation, headless: evaluateReply on what a
// D7O in GPS receive mode sends each second (GGA, RMC, GSA and three GSV), each as the
// receive path hands it over, its CR LF turned into two blanks.
#include "gps/nmea_evaluation.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>

namespace {

const std::array<std::string, 6> kSecond = {
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47  ",
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A  ",
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39  ",
    "$GPGSV,3,1,11,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*7E  ",
    "$GPGSV,3,2,11,15,11,052,,18,64,117,42,21,33,280,38,22,08,045,31*7C  ",
    "$GPGSV,3,3,11,24,52,201,44,25,13,090,,29,05,160,22*70  ",
};

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
