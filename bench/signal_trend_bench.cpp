// A day of the signal window: the monitor asking AT+CSQ every 2 s of a modem whose field
// strength wanders, through the whole core in virtual time, with the window open (its
// summary and plot recomputed with every reading). Reports the memory the day added and
// what a reading costs.
#include "app/subsystems.h"
#include "support/rig.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using d7o::platform::Millis;

// The resident memory now, in kB (not the peak: the day's growth is what counts).
long residentKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void SignalWindowForADay(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    d7o::sim::ModemConfig wandering;
    wandering.rssiWander = true;
    d7o::test::Rig rig(wandering);
    if (!rig.bringUp()) {
      state.SkipWithError("the module did not come up");
      return;
    }
    auto& window = rig.app->context().signalForm;
    rig.main().m_signal.click();
    window.SliderInterval.setValue(2);
    window.CheckMonitor.setChecked(true);
    rig.run(Millis(60'000));  // settle: the first readings, the first plot
    const long before = residentKb();
    const std::size_t readingsBefore = rig.app->parts().signalMonitor.trend().readings().size();
    state.ResumeTiming();

    rig.run(Millis(24LL * 3600 * 1000));

    state.PauseTiming();
    const long after = residentKb();
    const auto& trend = rig.app->parts().signalMonitor.trend();
    state.counters["readings"] = double(trend.readings().size() - readingsBefore);
    state.counters["growth_MB"] = double(after - before) / 1024.0;
    state.counters["plot_points"] = double(window.SignalPlot.picture().dbm.size());
    state.counters["time_per_reading"] =
        benchmark::Counter(double(trend.readings().size() - readingsBefore),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.ResumeTiming();
  }
}
BENCHMARK(SignalWindowForADay)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
