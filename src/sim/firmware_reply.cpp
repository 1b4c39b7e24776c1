#include "sim/firmware_reply.h"

#include "sim/modem_text.h"

namespace d7o::sim {

FirmwareReply replyToDeviceLine(DeviceState& state, std::string_view line,
                                std::string_view firmware, Millis now,
                                const std::function<GpsReading()>& position) {
  const int positionRequests = state.positionRequests;
  // The device's own lines keep their case: texts and passwords are stored as typed.
  const DeviceAnswer answer = runDeviceLine(state, line, firmware, now);
  FirmwareReply reply;
  if (state.positionRequests != positionRequests) reply.text += "\r\n" + rmcSentence(position());
  for (const std::string& text : answer.lines) reply.text += framed(text);
  reply.restart = answer.restart;
  return reply;
}

}  // namespace d7o::sim
