// Arbitrary bytes as the input of d7o-tool nmea: cut into lines at LF as the tool reads
// them, each evaluated with the analyzer's state carried on and printed as JSON, in km/h
// and in knots. The JSON printer throws on text that is not UTF-8, so any Latin-1 byte
// that slipped through unconverted is a finding here.
#include "cli/nmea_to_json.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void run(std::string_view bytes, bool speedInKmh) {
  d7o::cli::NmeaToJson analyzer(speedInKmh);
  // As std::getline: a last line without its LF still counts, an empty rest does not.
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    (void)analyzer.line(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  run(bytes, true);
  run(bytes, false);
  return 0;
}
