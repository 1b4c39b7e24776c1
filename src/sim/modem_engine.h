#pragma once

#include "sim/sim_clock.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// The GSM engine inside the modem, as its answer to AT+CGMI tells.
enum class Engine { Maker, Siemens, Brellstowen, Other };

// The SIM card as AT+CPIN? finds it.
enum class SimCard {
  Ready,
  PinRequired,  // "+CPIN: SIM PIN" until the right PIN is given
  Unreadable,   // "+CME ERROR: 10"
  Missing,      // "+CME ERROR: 13"
};

// How a scenario wants the modem to behave.
struct ModemConfig {
  int baud = 9600;         // the only rate it understands and answers at
  bool echo = true;        // echo of each command line (ATE0/ATE1 change it)
  bool powered = true;     // switched off: silent, CTS low
  Millis answerDelay{30};  // from the end of a command line to the start of its answer
  Engine engine = Engine::Maker;
  SimCard sim = SimCard::Ready;
  std::string pin = "5937";
  int rssi = 17;  // 0..31, 99 unknown
  // "AT+CREG?" answers before the modem reports itself registered; negative: never.
  int pollsUntilRegistered = 0;
  bool roaming = false;
  // The alarm/GPS firmware version in the device's identification; empty: none given.
  std::string firmware = "V1.63";
  bool iChip = false;  // an iChip answers its own commands with "I/OK"
  int receiveGain = 64;
  int transmitGain = 48;
  // The device streams NMEA sentences once a second from power-on.
  bool nmeaFromPowerOn = false;
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
  // DTR drops seen (the program pulses DTR low before it wakes the module).
  int dtrPulses() const { return m_dtrPulses; }
  bool simUnlocked() const { return m_simUnlocked; }
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
  // The answer to one AT command line: its information lines and final result.
  std::string answerAt(const std::string& command);
  // The answer to one of the device's own "&" lines.
  std::string answerDevice(const std::string& line);
  // One command of a line ("+CSQ", "Z", "+CREG?"): false when the modem rejects it.
  bool runCommand(const std::string& command, std::string& info, std::string& final);
  void emitLater(std::string bytes, Millis delay);
  void streamNmea();

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
  int m_dtrPulses = 0;
  int m_cregPolls = 0;
  bool m_simUnlocked = false;
  int m_nmeaSecond = 0;
};

}  // namespace d7o::sim
