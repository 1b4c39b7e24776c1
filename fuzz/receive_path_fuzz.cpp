// Arbitrary bytes from the modem through the program's receive path in GPS receive mode:
// completeness per character, the reply rows and the NMEA evaluation behind them. The
// same bytes, cut into lines, also go straight through the evaluation with the state
// carried from line to line, so the analyzer is fuzzed however the receive path uses it.
#include "gps/nmea_evaluation.h"
#include "support/rig.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void evaluateLines(std::string_view bytes) {
  d7o::gps::GpsFix fix;
  d7o::gps::GPSformRefresh(fix);
  int slotPointer = 0;
  double gpsSpeed = 0;
  d7o::gps::NmeaState state{slotPointer, gpsSpeed, !bytes.empty() && (bytes[0] & 1) != 0};
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    const std::string line(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    d7o::gps::evaluateReply(line, fix, state);
    (void)d7o::gps::gpsClockText(line);
    if (line.find("reset") != std::string::npos) d7o::gps::resetSatelliteDisplay(fix);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // A fresh program per input, so a finding replays from its input alone.
  d7o::test::Rig rig;
  rig.startWithOpenPort();
  rig.state().dispatch.gpsReceiveMode = true;
  rig.fromModem(bytes);
  rig.run(d7o::platform::Millis(0));

  evaluateLines(bytes);
  return 0;
}
