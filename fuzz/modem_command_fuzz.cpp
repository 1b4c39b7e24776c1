// Arbitrary bytes from the program to the simulated modem at its rate: the command-line
// parser, the command table and the firmware's line answers behind it. A NUL byte stands
// for a pause of 1.1 s on the line, so escapes with guard times and timed results (answers,
// dial outcomes, restarts) come within the fuzzer's reach; virtual time keeps it cheap.
#include "sim/modem_bench.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // A fresh modem per input, so a finding replays from its input alone.
  d7o::sim::ModemBench bench;
  while (!bytes.empty()) {
    const auto end = bytes.find('\0');
    bench.modem.receive(bytes.substr(0, end), 9600);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    bench.scheduler.runFor(d7o::platform::Millis(end == std::string_view::npos ? 50 : 1100));
    // Keep the collected answers small; only what the modem does with them matters here.
    bench.out.clear();
  }
  bench.scheduler.runFor(d7o::platform::Millis(5000));
  return 0;
}
