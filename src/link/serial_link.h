#pragma once

#include "app/context.h"
#include "forms/signal.h"

#include <functional>
#include <string_view>

namespace d7o::link {

// The program's use of the one serial port: command lines out, open/close/switch, the
// RTS/CTS handshake and its test, the CTS lamp, and the event-pumping waits.
class SerialLink {
 public:
  explicit SerialLink(app::Context& ctx);

  // One command line: the text and a single carriage return, in one write.
  // "AT+CSQ" -> "AT+CSQ\r".
  platform::PortResult sendCommand(std::string_view command);
  // A command the user asked for: a port that cannot take it is reported, not ignored.
  // Shows a port error: the device gone in words, any other by its number and text.
  void report(const platform::PortError& error);
  bool sendOrReport(std::string_view command);
  // Opens the port if it is closed and shows the result in Text3 ("PORT open" / "Port
  // close"), as the user's send buttons do; a port that cannot be opened is reported.
  bool openForUser();
  // Bytes exactly as given (the "+++" escape, the text after the SMS prompt).
  platform::PortResult sendRaw(std::string_view bytes);
  // Each command line written, without its carriage return: the terminal marks its echo.
  forms::Signal<std::string_view> lineSent;

  // Opens the port only where it is found closed.
  platform::PortResult openPort();
  // The same for an action that sends next: a port that cannot be opened is reported.
  bool openOrReport();
  void closePort();
  // Closes, takes the new number, shows it in Text1, opens, and says so in the terminal.
  void switchPort(int number);

  // Drops DTR and RTS for a second and raises them again: the modem resets its view of
  // the line (before the baud-rate search and on every wake-up tick).
  void pulseDtrRts();

  // Waits `seconds` pumping events (the modem's replies are handled meanwhile).
  void Delay(int seconds) { wait(platform::Millis(seconds * 1000)); }
  void wait(platform::Millis time);
  // Pumps events until `done` holds or `limit` has passed; true when it held.
  bool waitUntil(platform::Millis limit, const std::function<bool()>& done);
  // Whether a wait pumps events now (a request is waiting for its answer, or a pacing).
  bool waiting() const { return m_waitDepth > 0; }
  // Up to 3 seconds for the modem's echo of the handshake command.
  bool TestHS();

  void Check5_Click();
  void CTS_MouseUp(forms::MouseButton button);

  // "Error No.: 8002 - Invalid Port Number"
  static std::string errorText(const platform::PortError& error);

 private:
  app::Context& m_ctx;
  bool m_revertingHandshake = false;
  int m_waitDepth = 0;
};

}  // namespace d7o::link
