#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace d7o::platform {

// An error of a port operation, numbered like the serial control's own errors so the
// technician sees the familiar "Error No.: 8002 - Invalid Port Number".
struct PortError {
  int number = 0;
  std::string description;
};

namespace port_errors {
inline constexpr int kInvalidPortNumber = 8002;
inline constexpr int kPortAlreadyOpen = 8005;
inline constexpr int kUnsupportedBaudRate = 8007;
inline constexpr int kHardwareNotAvailable = 8010;
inline constexpr int kPortNotOpen = 8018;
inline constexpr int kWriteFailed = 8020;
}  // namespace port_errors

enum class Handshaking { None = 0, RtsCts = 2 };

using PortResult = std::optional<PortError>;  // empty: the operation succeeded

// The one serial line to the modem. The operations are those the program uses of the
// classic serial control: port number, line settings, open/close, DTR/RTS, handshake,
// output, input, discard, CTS, carrier detect and BREAK.
//
// An implementation never raises a dialog and never pumps events: a modal dialog would
// run the event loop from inside a port operation.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // 1..16; anything else is kInvalidPortNumber. Switching the number of an open port is
  // refused with kPortAlreadyOpen (the caller closes first).
  virtual PortResult setCommPort(int number) = 0;
  virtual int commPort() const = 0;

  // "9600,n,8,1" and the other settings of the baud-rate search.
  virtual PortResult setSettings(std::string_view settings) = 0;
  virtual std::string settings() const = 0;

  virtual PortResult open() = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Line signals. A driver that cannot drive them (a pseudo-terminal) skips them quietly.
  virtual void setDtr(bool high) = 0;
  virtual void setRts(bool high) = 0;
  virtual void setBreak(bool on) = 0;
  virtual void setHandshaking(Handshaking mode) = 0;
  virtual Handshaking handshaking() const = 0;

  // Writes the bytes as they are; a closed port gives kPortNotOpen.
  virtual PortResult write(std::string_view bytes) = 0;
  // Reads and removes everything received so far.
  virtual std::string readAll() = 0;
  virtual std::size_t bytesAvailable() const = 0;
  virtual void discardInput() = 0;

  // A closed port reads low on both. A driver that cannot report CTS counts an open port
  // as CTS high.
  virtual bool ctsHolding() const = 0;
  virtual bool cdHolding() const = 0;

  // The open port's device went away (a USB adapter unplugged) and the port closed
  // itself; an open() that succeeds again clears it.
  virtual bool deviceLost() const { return false; }

  // Who the device now at the port is, where the system tells (USB vendor, product and
  // serial number: "0403:6001 A10K5JX4"); empty where it does not (a built-in port, a
  // pseudo-terminal) or nothing is there.
  virtual std::string deviceIdentity() const { return {}; }
  // The identity of the device the port opened last, as deviceIdentity() told it then.
  virtual std::string openedIdentity() const { return {}; }
  // Another device than the one the port opened last is at its place (both known).
  bool anotherDeviceInPlace() const {
    const std::string was = openedIdentity();
    const std::string now = deviceIdentity();
    return !was.empty() && !now.empty() && now != was;
  }

  // Called (from the event loop, never from inside a port call) when characters arrived.
  virtual void setReceiveHandler(std::function<void()> handler) = 0;
};

}  // namespace d7o::platform
