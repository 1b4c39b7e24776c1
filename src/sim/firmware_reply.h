#pragma once

#include "sim/device_firmware.h"
#include "sim/nmea_sentences.h"
#include "sim/sim_clock.h"

#include <functional>
#include <string>
#include <string_view>

namespace d7o::sim {

// The firmware's answer to one "&" line as it goes out on the line: each line framed, and
// for "&REQ POS" the position, as one RMC sentence, before the confirmation.
struct FirmwareReply {
  std::string text;
  bool restart = false;  // "&RESET": the device restarts once the answer is out
};

// Runs the line against `state` (runDeviceLine); `position` reads the device's receiver,
// only when the line asks for the position.
FirmwareReply replyToDeviceLine(DeviceState& state, std::string_view line,
                                std::string_view firmware, Millis now,
                                const std::function<GpsReading()>& position);

}  // namespace d7o::sim
