#pragma once

#include "platform/serial_port.h"

#include <string_view>

namespace d7o::platform {

// The classic line settings text of SerialPort::setSettings, field by field: "9600,n,8,1"
// -> 9600 baud, no parity, 8 data bits, 1 stop bit. Every port reads it with the one parser
// below, so the simulated port takes and refuses exactly what the real one does.
struct LineSettings {
  enum class Parity { None, Even, Odd, Mark, Space };
  enum class StopBits { One, OneAndHalf, Two };

  int baud = 9600;
  Parity parity = Parity::None;
  int dataBits = 8;
  StopBits stopBits = StopBits::One;
};

// The serial control's answer to a settings text it cannot take.
inline constexpr int kInvalidPropertyValue = 380;

// Parses "baud,parity,data,stop"; parity is one of n e o m s (either case), data bits
// 5..8, stop bits 1, 1.5 or 2. On failure `out` is left as it was.
// "115200,N,8,1" -> {115200, None, 8, One}; "9600,x,8,1" -> error 380.
PortResult parseLineSettings(std::string_view text, LineSettings& out);

}  // namespace d7o::platform
