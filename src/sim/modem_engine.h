#pragma once

#include "sim/command_table.h"
#include "sim/device_firmware.h"
#include "sim/nmea_sentences.h"
#include "sim/sim_clock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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

// How the far end answers a voice call the modem dials ("ATD<number>;").
enum class DialOutcome {
  Connected,   // "OK", the call is up
  NoCarrier,   // "NO CARRIER"
  Busy,        // "BUSY"
  NoDialtone,  // "NO DIALTONE"
};

// The voice call as the modem sees it.
enum class CallState { Idle, Dialling, Ringing, Active };

// Audio settings beyond the gains (those are ModemConfig::receiveGain/transmitGain).
struct AudioSettings {
  int melody = 0;        // AT+WCDM, ringer melody 0..10
  int ringerOutput = 0;  // AT+WCDM, 0 or 1
  // The SIEMENS engine's: speaker level (AT+CLVL), audio mode (AT^SNFS), output
  // calibration (AT^SNFO, eight figures) and microphone setting (AT^SNFI, two figures).
  int speakerLevel = 2;
  int audioMode = 1;
  std::vector<int> outputCalibration;
  int microphoneGain = 0;
  int microphoneCalibration = 32767;
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
  // The device streams NMEA sentences once a second from power-on (and again after a
  // restart), without "&REQ INT".
  bool nmeaFromPowerOn = false;
  // What a voice dial reaches, and how long after the command line the result comes.
  DialOutcome dialOutcome = DialOutcome::Connected;
  Millis ringOutDelay{4000};
  // How long the device stays silent, CTS low, after "&RESET" or a long BREAK.
  Millis restartTime{3000};
  // The device password "&PASS" must quote to change it.
  std::string devicePassword = "0000";
  // Where the vehicle with the device starts its drive, in signed degrees (south and west
  // negative), and the UTC time and date its receiver reads at power-on.
  double gpsLatitude = 48.1173;
  double gpsLongitude = 11.5167;
  std::chrono::sys_seconds gpsStartUtc = std::chrono::sys_days{std::chrono::year{2024} / 3 / 23} +
                                         std::chrono::hours{12} + std::chrono::minutes{35};
  // How long the receiver needs for a fix after power-on or a restart; until then RMC
  // says "V" and no position is given.
  Millis gpsAcquisition{3000};
  // Seed of the small variations of the drive and the sky; one seed, one drive.
  std::uint32_t gpsSeed = 1;
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

  // Low while switched off or restarting.
  bool cts() const { return m_config.powered && !m_restarting; }
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

  // An incoming voice call: "+CRING: VOICE" and "RING" now and every 3 s, `rings` times,
  // until "ATA" takes it; unanswered, "NO CARRIER" follows. False (nothing happens) when
  // the modem is off, restarting or not idle, or `rings` is not positive.
  bool incomingCall(int rings);
  // The far end hangs up the call in progress: "NO CARRIER". False when no call is up.
  bool farEndHangUp();
  CallState callState() const { return m_call; }
  // The number of the last voice dial, as given ("0123", ">5" for phone-book position 5).
  const std::string& dialledNumber() const { return m_dialled; }

  const AudioSettings& audio() const { return m_audio; }

  // The alarm/GPS firmware's settings ("&CNF", "&PASS") and requests seen.
  const DeviceState& device() const { return m_device; }
  DeviceState& device() { return m_device; }

  // Whether the device sends its NMEA sentences once a second now ("&REQ INT", or
  // nmeaFromPowerOn), and what its receiver reads at this moment.
  bool gpsStreaming() const;
  GpsReading gpsReading();

  // Restarts so far ("&RESET" or a BREAK of at least kLongBreak), and whether one is on.
  int restarts() const { return m_restarts; }
  bool restarting() const { return m_restarting; }
  static constexpr Millis kLongBreak{250};

 private:
  void handleLine(const std::string& line);
  // The answer to one AT command line: its information lines and final result, the
  // commands run through the command table (command_table.cpp) one by one.
  std::string answerAt(const std::string& line);
  static std::span<const CommandRow> commandTable();
  // The row that runs `command` (upper-cased) on this modem's engine; none: it is unknown.
  const CommandRow* findCommand(const std::string& command, bool lineStart) const;

  // The handlers the rows of the command table name; one may serve several rows.
  // General (modem_commands.cpp):
  bool atEcho(const AtCommand& c, Answer& a);
  bool atAccept(const AtCommand& c, Answer& a);
  bool atReject(const AtCommand& c, Answer& a);
  bool atIfcRange(const AtCommand& c, Answer& a);
  bool atIfcQuery(const AtCommand& c, Answer& a);
  bool atIfcSet(const AtCommand& c, Answer& a);
  bool atIChip(const AtCommand& c, Answer& a);
  bool atCpinQuery(const AtCommand& c, Answer& a);
  bool atCpinSet(const AtCommand& c, Answer& a);
  bool atCgmi(const AtCommand& c, Answer& a);
  bool atCsq(const AtCommand& c, Answer& a);
  bool atCregQuery(const AtCommand& c, Answer& a);
  // Audio (audio_commands.cpp):
  bool atGainQuery(const AtCommand& c, Answer& a);
  bool atGainRange(const AtCommand& c, Answer& a);
  bool atGainSet(const AtCommand& c, Answer& a);
  bool atWcdmQuery(const AtCommand& c, Answer& a);
  bool atWcdmSet(const AtCommand& c, Answer& a);
  bool atClvlQuery(const AtCommand& c, Answer& a);
  bool atClvlSet(const AtCommand& c, Answer& a);
  bool atSnfsQuery(const AtCommand& c, Answer& a);
  bool atSnfsSet(const AtCommand& c, Answer& a);
  bool atSnfiQuery(const AtCommand& c, Answer& a);
  bool atSnfiSet(const AtCommand& c, Answer& a);
  bool atSnfoQuery(const AtCommand& c, Answer& a);
  bool atSnfoSet(const AtCommand& c, Answer& a);
  // Voice calls (voice_calls.cpp):
  bool atDial(const AtCommand& c, Answer& a);
  bool atAnswerCall(const AtCommand& c, Answer& a);
  bool atHangUp(const AtCommand& c, Answer& a);
  void setCall(CallState state);
  void ring(unsigned call, int ringsLeft);
  // Sends `bytes` once `delay` and their time on the line have passed, unless the device
  // restarts meanwhile; returns when they will be out.
  Millis emitLater(std::string bytes, Millis delay);
  // GPS output (gps_output.cpp): the once-a-second sentences, from the next whole second
  // of the receiver's clock that is at least `notBefore` away.
  void startGpsStream(Millis notBefore);
  void gpsTick();
  // A switched-off device forgets "&REQ INT"; switched on again, its receiver starts over.
  void noticePower();
  void beginRestart();

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
  bool m_bootEcho = true;
  Millis m_powerOnAt{0};
  Millis m_gpsAcquiringSince{0};
  bool m_gpsTicking = false;
  bool m_gpsWasOff = false;
  std::optional<GpsRoute> m_route;  // made on first use, so a scenario may move the start
  std::optional<GpsSky> m_sky;
  CallState m_call = CallState::Idle;
  unsigned m_callSerial = 0;  // changes with each call state, so stale call timers do nothing
  std::string m_dialled;
  AudioSettings m_audio;
  DeviceState m_device;
  bool m_restarting = false;
  unsigned m_epoch = 0;  // changes with each restart, so output queued before it is lost
  int m_restarts = 0;
  std::optional<Millis> m_breakSince;
};

}  // namespace d7o::sim
