// Arbitrary text as d7o-tool decode's HEX argument: read as with and without a
// service-centre address and as either that fits, and a decoded PDU printed as JSON, so
// neither the octet reader nor the JSON of what it read can be led astray by a PDU.
#include "sms/pdu_codec.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view hex(reinterpret_cast<const char*>(data), size);
  for (const std::optional<bool> hasSca :
       {std::optional<bool>(), std::optional<bool>(true), std::optional<bool>(false)}) {
    const d7o::sms::DecodeResult result = d7o::sms::decodePdu(hex, hasSca);
    if (result.pdu) (void)d7o::sms::toJson(*result.pdu);
  }
  return 0;
}
