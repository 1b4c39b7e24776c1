#pragma once

#include "sim/sim_clock.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// How a scenario wants the modem to behave.
struct ModemConfig {
  int baud = 9600;         // the only rate it understands and answers at
  bool echo = true;        // echo of each command line (ATE0/ATE1 change it)
  bool powered = true;     // switched off: silent, CTS low
  Millis answerDelay{30};  // from the end of a command line to the start of its answer
};

// The simulated D7O modem: takes what the program writes, answers like the device.
// Everything goes out through the output callback, at the modem's own baud rate; a
// transport that runs at another rate garbles it (see `garble`).
class ModemEngine {
 public:
  using Output = std::function<void(std::string_view bytes)>;

  ModemEngine(SimClock& clock, ModemConfig config);

  void setOutput(Output output) { m_output = std::move(output); }
  const ModemConfig& config() const { return m_config; }
  ModemConfig& config() { return m_config; }

  // Bytes from the program, sent at `programBaud`. At a rate other than the modem's they
  // arrive as noise and are dropped, as is any half line.
  void receive(std::string_view bytes, int programBaud);

  // Line signals from the program.
  void setDtr(bool high);
  void setRts(bool high);
  void setBreak(bool on);
  void setHardwareHandshake(bool on) { m_hostHandshake = on; }

  bool cts() const { return m_config.powered; }
  bool carrierDetect() const { return m_carrier; }

  // The command lines the modem understood, in order (for scenario checks).
  const std::vector<std::string>& commandLog() const { return m_commandLog; }

  // What bytes sent at one rate look like to a receiver at another: no line ends, so a
  // program at the wrong rate never completes a reply.
  static std::string garble(std::string_view bytes);

  // Sends text to the program as if the modem produced it now (unsolicited results).
  void sendUnsolicited(std::string_view text);

 private:
  void handleLine(const std::string& line);
  std::string answerAt(const std::string& command);
  void emitLater(std::string bytes, Millis delay);

  SimClock& m_clock;
  ModemConfig m_config;
  Output m_output;
  std::string m_line;
  std::vector<std::string> m_commandLog;
  bool m_carrier = false;
  bool m_hostHandshake = false;
  bool m_dtr = true;
  bool m_rts = true;
  int m_ifcLocal = 0;
  int m_ifcRemote = 0;
};

}  // namespace d7o::sim
