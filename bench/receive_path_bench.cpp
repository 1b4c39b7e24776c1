// Bytes per second through the receive path: per-character completeness, normalisation,
// the ordered reply rows, the terminal list model and the log switch, on a mix of what a
// D7O sends (command echoes, results, information replies, NMEA sentences).
#include "dispatch/receive_handler.h"
#include "link/port_state.h"
#include "support/rig.h"

#include <benchmark/benchmark.h>

namespace {

using d7o::platform::Millis;

const std::string kMix =
    "AT+CSQ\r\r\n+CSQ: 17,99\r\n\r\nOK\r\n"
    "AT+CREG?\r\r\n+CREG: 0,1\r\n\r\nOK\r\n"
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n"
    "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n"
    "$GPGSV,2,2,08,15,11,052,,18,64,117,42,21,33,280,38,22,08,045,31*7F\r\n"
    "&REQ TM\r\r\n$TARVIK R7O-3 Alarm/GPS V1.63\r\n\r\n$CNFOK\r\n"
    "RING\r\n\r\n+CMTI: \"SM\",3\r\n"
    "AT+IFC=2,2\r\r\nOK\r\n";

void ReceivePath(benchmark::State& state) {
  d7o::test::Rig rig;
  rig.startWithOpenPort();
  rig.main().HS_Timer.setEnabled(false);  // only the receive path is measured
  std::string chunk;
  while (chunk.size() < 4096) chunk += kMix;
  for (auto _ : state) {
    rig.fromModem(chunk);
    rig.scheduler.runFor(Millis(0));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * chunk.size()));
  state.counters["replies"] = static_cast<double>(rig.app->receiver().repliesHandled());
}
BENCHMARK(ReceivePath);

// What counting a read for the port state adds to the receive path: one pass over the
// chunk, at 115200 baud some 11 kB a second.
void CountingARead(benchmark::State& state) {
  std::string chunk;
  while (chunk.size() < 4096) chunk += kMix;
  d7o::link::ReceiveCounters counters;
  for (auto _ : state) {
    d7o::link::countBytes(counters, chunk);
    benchmark::DoNotOptimize(counters);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * chunk.size()));
}
BENCHMARK(CountingARead);

}  // namespace

BENCHMARK_MAIN();
