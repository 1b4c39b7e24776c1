#pragma once

#include "sim/command_table.h"
#include "sim/device_firmware.h"
#include "sim/gps_receiver.h"
#include "sim/nmea_sentences.h"
#include "sim/remote_device.h"
#include "sim/sim_clock.h"
#include "sim/sim_phonebook.h"
#include "sim/sms_format.h"
#include "sim/sms_store.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
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
  PukRequired,  // "+CPIN: SIM PUK" until the PUK and a new PIN are given
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

// How the far end answers a data call the modem dials ("ATD<number>", no ";").
enum class DataDialOutcome {
  Connect,     // "CONNECT 9600" after ModemConfig::dataConnectDelay, carrier detect high
  Busy,        // "BUSY" after ModemConfig::dataRefusedDelay
  NoDialtone,  // "NO DIALTONE" after ModemConfig::dataRefusedDelay
  NoAnswer,    // "NO CARRIER" after ModemConfig::dataNoAnswerTimeout
};

// The data call as the modem sees it.
enum class DataCallState { Idle, Dialling, Connected };

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
  // The field strength wanders around `rssi` with time, as while someone moves the
  // antenna: now and then a few readings are not detectable, and the bit error rate
  // rises as the field falls.
  bool rssiWander = false;
  // "AT+CREG?" answers before the modem reports itself registered; negative: never.
  int pollsUntilRegistered = 0;
  bool roaming = false;
  // The network the modem registers with (AT+COPS) and the cell it is in (AT+CREG=2).
  std::string operatorLong = "Telekom.de";
  std::string operatorShort = "TDG";
  std::string operatorNumeric = "26201";
  std::string locationArea = "0B5F";
  std::string cellId = "4E21";
  // The battery's charge in percent (AT+CBC).
  int batteryCharge = 100;
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
  // What a data dial reaches: by the number as dialled (blanks removed; "0123", ">5"), or
  // else by the number called with its separators - ( ) . left out; any other number gets
  // dataDialDefault. The results come that long after the command line.
  std::map<std::string, DataDialOutcome> dataDialOutcomes;
  DataDialOutcome dataDialDefault = DataDialOutcome::Connect;
  Millis dataConnectDelay{3000};
  Millis dataRefusedDelay{1500};  // busy, no dial tone
  Millis dataNoAnswerTimeout{30000};
  // The silence "+++" needs before its first "+" and after its last to leave online data
  // mode (register S12 of 50: one second).
  Millis escapeGuardTime{1000};
  // Dropping DTR during a data call hangs it up, "NO CARRIER" (AT&D2).
  bool dtrDropHangsUp = true;
  // The R7O-3 device a data call reaches: where its vehicle starts (signed degrees), the
  // seed of its drive, its firmware version and password. Its receiver has its fix.
  double remoteLatitude = -33.8568;
  double remoteLongitude = 151.2153;
  std::uint32_t remoteGpsSeed = 2;
  std::string remoteFirmware = "V1.63";
  std::string remotePassword = "0000";
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
  // The SIM's message store: its positions, and the messages on it at power-on (positions
  // 1, 2, ... in order; one no PDU could carry is left out).
  int smsStoreSize = 20;
  std::vector<StoredSms> smsAtStart;
  // The service centre stored on the SIM (AT+CSCA); empty: none, and sending fails.
  std::string serviceCentre = "+491710760000";
  bool smsTextMode = true;  // AT+CMGF=1 from power-on
  // From the end of a message to the network's acceptance ("+CMGS: <mr>").
  Millis smsSendTime{1000};
  // The network's wall-clock time at power-on and its zone in quarter hours: the time
  // stamps of incoming messages count on from it.
  std::chrono::sys_seconds networkTime = std::chrono::sys_days{std::chrono::year{2026} / 12 / 9} +
                                         std::chrono::hours{14} + std::chrono::minutes{5};
  int networkZoneQuarters = 4;
  // The GSM engine's identification (AT+CGSN, AT+CIMI); empty model or revision: the
  // engine's own.
  std::string imei = "356938035643809";
  std::string imsi = "262019876543210";
  std::string model;
  std::string revision;
  // The SIM phone book ("SM"): its positions, and the entries on it at power-on (one that
  // does not fit the SIM, or lies beyond its size, is left out).
  int phonebookSize = 250;
  std::vector<PhonebookEntry> phonebookAtStart = {
      {1, "0123456789", 129, "Testnumber"},
      {2, "+491711234567", 145, "Office"},
      {5, "0301234567", 129, "Workshop"},
  };
  // The SIM's PUK: after three wrong PINs "AT+CPIN=<puk>,<new PIN>" unlocks the SIM and
  // gives it the new PIN.
  std::string puk = "12345678";
  // How long the SIM is busy after power-on and after each restart, while the modem reads
  // it: its commands answer "+CME ERROR: 14" meanwhile.
  Millis simBusyTime{0};
  // The modem takes the rate of each command line it receives and answers at the program's
  // rate, whatever it is (AT+IPR=0); `baud` is then the rate it detected last.
  bool autoBaud = false;
};

// What became of an incoming message (ModemEngine::deliverSms).
enum class SmsArrival {
  Stored,     // on the SIM at `index`, announced with "+CMTI" unless AT+CNMI says otherwise
  Forwarded,  // AT+CNMI=...,2: shown at once with "+CMT", not stored
  Waiting,    // the store is full: the centre keeps it until a position is free
  Refused,    // the modem cannot receive now (off, restarting, SIM locked, no network), or
              // the number or text cannot be a message
};
struct SmsDelivery {
  SmsArrival arrival = SmsArrival::Refused;
  int index = 0;
};

// The settings of the modem's command interpreter (V.250) that "ATZ" goes back to, "AT&W"
// stores and "AT&F" sets to the factory's. The echo itself is ModemConfig::echo.
struct CommandProfile {
  bool echo = true;
  bool quiet = false;    // Q1: no result codes at all
  bool verbose = true;   // V0: result codes as numbers, information text without a CR LF first
  int resultSet = 4;     // X0..X4: which call results are told apart
  int speakerMode = 1;   // M0..M2
  int speakerLevel = 1;  // L0..L3
  int dcdMode = 1;       // &C0: carrier detect always on; &C1: it follows the carrier
  int dtrMode = 2;       // &D0: DTR ignored; &D1: to command mode; &D2: hang up
  // S0 rings before answering (0: never), S2 escape character, S3 line end, S4 line feed,
  // S5 backspace, S6 dial-tone wait, S7 seconds to wait for the carrier, S8 comma pause,
  // S10 carrier-loss delay, S12 escape guard time in 1/50 s.
  std::array<int, 13> s = {0, 0, 43, 13, 10, 8, 2, 30, 2, 0, 14, 0, 50};
};

// The registration as the network gives it, and how it is reported unasked ("AT+CREG=").
enum class CregReport { Off, Status, WithCell };

// The SMS settings a command line changes; they are lost with a restart.
struct SmsSettings {
  bool textMode = true;  // AT+CMGF
  int service = 0;       // AT+CSMS
  // AT+CNMI: how new-message indications reach the program, and the unused rest.
  int indicationMode = 1;
  int deliverIndication = 1;
  int broadcastIndication = 0;
  int statusReport = 0;
  int bufferFlush = 0;
  bool showHeader = false;  // AT+CSDH
  TeCharset charset = TeCharset::Ira;
  // AT+CSMP: first octet, validity period, protocol identifier, data coding scheme.
  int firstOctet = 17;
  int validityPeriod = 167;
  int protocolId = 0;
  int dataCoding = 0;
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
  // Whether a program whose side of the line runs at `programBaud` and the modem understand
  // each other: the same rate, or any while the modem detects the rate itself.
  bool understandsRate(int programBaud) const {
    return m_config.autoBaud || programBaud == m_config.baud;
  }

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
  // High while a data call is connected (in online data mode or escaped to command mode).
  // After "AT&C0" it is high whenever the modem is on.
  bool carrierDetect() const {
    return (m_carrier || m_profile.dcdMode == 0) && m_config.powered && !m_restarting;
  }

  // The command lines the modem understood, in order (for scenario checks).
  const std::vector<std::string>& commandLog() const { return m_commandLog; }

  // What bytes sent at one rate look like to a receiver at another: no line ends, so a
  // program at the wrong rate never completes a reply.
  static std::string garble(std::string_view bytes);

  // Sends text to the program as if the modem produced it now (unsolicited results).
  void sendUnsolicited(std::string_view text);

  // An incoming voice call from `caller` ("+49171...", "0301..."; empty: the number is not
  // known): "+CRING: VOICE" and "RING" now and every 3 s, `rings` times, until "ATA" takes
  // it, each followed by the caller's number once AT+CLIP=1 asks for it; unanswered,
  // "NO CARRIER" follows. False (nothing happens) when the modem is off, restarting or not
  // idle, its SIM cannot be used or it has no network, or `rings` is not positive.
  bool incomingCall(int rings, std::string_view caller = {});
  // The far end hangs up the call in progress: "NO CARRIER". False when no call is up.
  bool farEndHangUp();
  CallState callState() const { return m_call; }
  // The number of the last voice dial, as given ("0123", ">5" for phone-book position 5),
  // and the number it called (for ">5" the one stored at position 5).
  const std::string& dialledNumber() const { return m_dialled; }
  const std::string& calledNumber() const { return m_called; }

  // Data calls (data_calls.cpp). "ATD<number>" without ";" dials one; connected, the
  // modem is in online data mode: every byte goes over the link to the remote device, none
  // is echoed or read as a command, and the remote device's answers come back at the link
  // rate. "+++" between a second of silence on each side returns to command mode ("OK",
  // the call still up); "ATO" goes back online ("CONNECT 9600"), "ATH" ends the call.
  // Another dial, voice or data, while a call is up or being dialled is refused, "ERROR".
  DataCallState dataCallState() const { return m_dataCall; }
  bool dataCallUp() const {
    return m_dataCall == DataCallState::Connected && m_config.powered && !m_restarting;
  }
  bool onlineDataMode() const { return dataCallUp() && m_online; }
  // The number of the last data dial as given, and the number it called.
  const std::string& dataDialledNumber() const { return m_dataDialled; }
  const std::string& dataCalledNumber() const { return m_dataCalled; }
  // The remote side hangs up the connected data call: "NO CARRIER" once what it sent
  // before is through, carrier detect low, command mode. False when no data call is up.
  bool remoteHangUp();
  // The device at the far end of data calls; it keeps its settings from call to call.
  const RemoteDevice& remoteDevice() const { return m_remote; }
  RemoteDevice& remoteDevice() { return m_remote; }
  // One line for each data call event (dialled, connected, refused, ended), for a log.
  void setCallLog(std::function<void(std::string_view message)> log) { m_callLog = std::move(log); }

  // The SIM phone book (phonebook_commands.cpp); it stays on the SIM over a restart.
  const SimPhonebook& phonebook() const { return m_phonebook; }
  SimPhonebook& phonebook() { return m_phonebook; }

  const AudioSettings& audio() const { return m_audio; }

  // The alarm/GPS firmware's settings ("&CNF", "&PASS") and requests seen.
  const DeviceState& device() const { return m_device; }
  DeviceState& device() { return m_device; }

  // An alarm input (1..3, pins 11..13) goes high (`rising`) or low. Where its KEY line
  // listens for that edge the device reports it the way the line says: an SMS with the
  // alarm text (and the position as an RMC sentence after "P") to the line's number. None
  // when the input is not configured for this edge or the device is off or restarting.
  std::optional<AlarmReport> inputEdge(int input, bool rising);
  const std::vector<AlarmReport>& alarmReports() const { return m_alarmReports; }

  // Whether the device sends its NMEA sentences once a second now ("&REQ INT", or
  // nmeaFromPowerOn), and what its receiver reads at this moment.
  bool gpsStreaming() const;
  GpsReading gpsReading();

  // Restarts so far ("&RESET" or a BREAK of at least kLongBreak), and whether one is on.
  int restarts() const { return m_restarts; }
  bool restarting() const { return m_restarting; }
  static constexpr Millis kLongBreak{250};

  // SMS (sms_*.cpp). An incoming message from `originator` ("+49...", digits only), text in
  // UTF-8: stored at the first free position of the SIM and announced as AT+CNMI says.
  SmsDelivery deliverSms(std::string_view originator, std::string_view text);
  const SmsStore& smsStore() const { return m_smsStore; }
  SmsStore& smsStore() { return m_smsStore; }
  // What AT+CMGS passed to the network, in order.
  const std::vector<SentSms>& sentSms() const { return m_sentSms; }
  const SmsSettings& smsSettings() const { return m_sms; }
  const std::string& serviceCentre() const { return m_serviceCentre; }
  // Between AT+CMGS and the end of its text (Ctrl-Z, or ESC to cancel).
  bool awaitingSmsText() const { return m_smsEntry.has_value(); }
  // Messages the centre holds back because the store was full.
  std::size_t smsWaiting() const { return m_smsAtCentre.size(); }

 private:
  // The text of an AT+CMGS after its prompt.
  struct SmsEntry {
    bool pduMode = false;
    std::string number;     // text mode: the destination as given
    int tpduLength = 0;     // PDU mode: the octets announced
    std::string typed;      // what came after the prompt
    bool overflow = false;  // more came than any message can hold
    // AT+CMGW: stored on the SIM with this status instead of sent.
    std::optional<SmsStatus> store;
  };

  void handleLine(const std::string& typed);
  // The answer to one AT command line: its information lines and final result, the
  // commands run through the command table (command_table.cpp) one by one.
  std::string answerAt(const std::string& line);
  static std::span<const CommandRow> commandTable();
  // The row that runs `command` (upper-cased) on this modem's engine; none: it is unknown.
  const CommandRow* findCommand(const std::string& command, bool lineStart) const;

  // The handlers the rows of the command table name; one may serve several rows.
  // General (modem_commands.cpp):
  bool atEcho(const AtCommand& c, Answer& a);
  bool atRestoreProfile(const AtCommand& c, Answer& a);
  bool atStoreProfile(const AtCommand& c, Answer& a);
  bool atFactoryProfile(const AtCommand& c, Answer& a);
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
  bool atRowInfo(const AtCommand& c, Answer& a);
  // The V.250 command interpreter (v250_commands.cpp):
  bool atQuiet(const AtCommand& c, Answer& a);
  bool atVerbose(const AtCommand& c, Answer& a);
  bool atResultSet(const AtCommand& c, Answer& a);
  bool atSpeakerMode(const AtCommand& c, Answer& a);
  bool atSpeakerLevel(const AtCommand& c, Answer& a);
  bool atDcdMode(const AtCommand& c, Answer& a);
  bool atDtrMode(const AtCommand& c, Answer& a);
  bool atSRegister(const AtCommand& c, Answer& a);
  bool atFclassQuery(const AtCommand& c, Answer& a);
  bool atFclassSet(const AtCommand& c, Answer& a);
  CommandProfile currentProfile() const;
  void applyProfile(const CommandProfile& profile);
  // A result code ("OK", "NO CARRIER", "CONNECT 9600") as V, Q and X want it sent.
  std::string resultLine(std::string_view result) const;
  // Information text as V wants it: without the CR LF before each line after "ATV0".
  std::string informationText(std::string info) const;
  // The network (network_commands.cpp):
  bool atCregSet(const AtCommand& c, Answer& a);
  bool atCrcQuery(const AtCommand& c, Answer& a);
  bool atCrcSet(const AtCommand& c, Answer& a);
  bool atCgregQuery(const AtCommand& c, Answer& a);
  bool atCgregSet(const AtCommand& c, Answer& a);
  bool atCgattSet(const AtCommand& c, Answer& a);
  bool atCopsQuery(const AtCommand& c, Answer& a);
  bool atCopsRange(const AtCommand& c, Answer& a);
  bool atCopsSet(const AtCommand& c, Answer& a);
  bool atCfunQuery(const AtCommand& c, Answer& a);
  bool atCfunSet(const AtCommand& c, Answer& a);
  bool atCclkQuery(const AtCommand& c, Answer& a);
  bool atCclkSet(const AtCommand& c, Answer& a);
  bool atCbc(const AtCommand& c, Answer& a);
  bool atCcfc(const AtCommand& c, Answer& a);
  bool atCusdQuery(const AtCommand& c, Answer& a);
  bool atCusdSet(const AtCommand& c, Answer& a);
  // The registration status AT+CREG reports now (1 home, 5 roaming, 2 searching), and
  // the "+CREG:" of an unasked report of it.
  int registrationStatus() const;
  std::string cregReport(int status) const;
  // Looks whether the registration changed since it was last reported, and reports it.
  void reportRegistration();
  // Identification (identity_commands.cpp):
  bool atIdentify(const AtCommand& c, Answer& a);
  bool atCgmm(const AtCommand& c, Answer& a);
  bool atCgmr(const AtCommand& c, Answer& a);
  bool atCgsn(const AtCommand& c, Answer& a);
  bool atCimi(const AtCommand& c, Answer& a);
  // SMS settings (sms_settings.cpp):
  bool atCmgfQuery(const AtCommand& c, Answer& a);
  bool atCmgfSet(const AtCommand& c, Answer& a);
  bool atCsmsQuery(const AtCommand& c, Answer& a);
  bool atCsmsSet(const AtCommand& c, Answer& a);
  bool atCnmiQuery(const AtCommand& c, Answer& a);
  bool atCnmiSet(const AtCommand& c, Answer& a);
  bool atCsmpQuery(const AtCommand& c, Answer& a);
  bool atCsmpSet(const AtCommand& c, Answer& a);
  bool atCsdhQuery(const AtCommand& c, Answer& a);
  bool atCsdhSet(const AtCommand& c, Answer& a);
  bool atCscsQuery(const AtCommand& c, Answer& a);
  bool atCscsSet(const AtCommand& c, Answer& a);
  bool atCscaQuery(const AtCommand& c, Answer& a);
  bool atCscaSet(const AtCommand& c, Answer& a);
  bool atCnma(const AtCommand& c, Answer& a);
  // The message store (sms_store_commands.cpp):
  bool atCpmsQuery(const AtCommand& c, Answer& a);
  bool atCpmsSet(const AtCommand& c, Answer& a);
  bool atCmglRange(const AtCommand& c, Answer& a);
  bool atCmgl(const AtCommand& c, Answer& a);
  bool atCmgr(const AtCommand& c, Answer& a);
  bool atCmgdRange(const AtCommand& c, Answer& a);
  bool atCmgd(const AtCommand& c, Answer& a);
  // False, with the SIM's "+CMS ERROR", when the store cannot be reached.
  bool smsSimReady(Answer& a) const;
  bool registered() const;
  std::string cmsError(bool pduMode, int code) const;
  // One stored message as AT+CMGL lists it or AT+CMGR reads it.
  std::string listedSms(int index, const StoredSms& sms) const;
  std::string readSms(const StoredSms& sms, std::string_view command) const;
  StoredSms stamped(const StoredSms& sms) const;
  // Sending (sms_sending.cpp):
  bool atCmgs(const AtCommand& c, Answer& a);
  bool atCmgw(const AtCommand& c, Answer& a);
  bool startSmsEntry(const AtCommand& c, Answer& a, std::optional<SmsStatus> store);
  std::optional<StoredSms> storedOf(const SmsEntry& entry) const;
  void smsEntryByte(char c, std::string& echo);
  void finishSmsEntry(bool send);
  // The PDU or text of the entry as a message; a "+CMS ERROR" code when it is none.
  std::optional<int> sendSms(const SmsEntry& entry, SentSms& sent);
  // Incoming messages (sms_incoming.cpp):
  void indicate(std::string text);
  // Unasked output: at once, after the answer of the line being answered, or held while a
  // message's text is typed or the data call is online.
  void unsolicited(std::string text);
  void flushHeldIndications();
  SmsTime networkTimeNow() const;
  void deliverWaiting();
  void resetSmsSettings();
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
  // The phone book (phonebook_commands.cpp):
  bool atCpbsQuery(const AtCommand& c, Answer& a);
  bool atCpbsSet(const AtCommand& c, Answer& a);
  bool atCpbrRange(const AtCommand& c, Answer& a);
  bool atCpbr(const AtCommand& c, Answer& a);
  bool atCpbwRange(const AtCommand& c, Answer& a);
  bool atCpbw(const AtCommand& c, Answer& a);
  // False, with the SIM's "+CME ERROR", while the SIM cannot be read (the phone book,
  // the IMSI).
  bool simReady(Answer& a) const;
  // The number at phone-book position `memory` (">5" -> "5") for a dial; none, with the
  // "+CME ERROR" in `a`, when it is not there.
  std::optional<std::string> phonebookNumber(std::string_view memory, Answer& a) const;
  // Voice calls (voice_calls.cpp):
  bool atDial(const AtCommand& c, Answer& a);
  bool atAnswerCall(const AtCommand& c, Answer& a);
  bool atHangUp(const AtCommand& c, Answer& a);
  void setCall(CallState state);
  void ring(unsigned call, int ringsLeft);
  // Data calls (data_calls.cpp):
  void startDataCall(std::string dialled, std::string called);
  DataDialOutcome dataOutcomeFor() const;
  void setDataCall(DataCallState state);
  void connectDataCall();
  void superviseDataCall(unsigned call);
  // Ends the data call (nothing when none is dialled or up); `noCarrier`: says so to the
  // program once the link has delivered what was on it.
  void endDataCall(std::string_view why, bool noCarrier);
  bool atOnline(const AtCommand& c, Answer& a);
  void onlineData(std::string_view bytes);
  void escapeCheck(unsigned serial);
  // Bytes from the remote device, out to the program at the link's rate; held while the
  // program is in command mode during the call.
  void sendOverLink(std::string bytes);
  void resumeOnline(Millis connectOutAt);
  void logCall(const std::string& message);
  // Sends `bytes` once `delay` and their time on the line have passed, unless the device
  // restarts meanwhile; returns when they will be out.
  Millis emitLater(std::string bytes, Millis delay);
  // The same, but never before what is queued already.
  Millis emitInOrder(std::string bytes, Millis delay);
  // GPS output (gps_output.cpp): the once-a-second sentences, from the next whole second
  // of the receiver's clock that is at least `notBefore` away.
  void startGpsStream(Millis notBefore);
  void gpsTick();
  // A switched-off device forgets "&REQ INT"; switched on again, its receiver starts over.
  void noticePower();
  void beginRestart();
  void dtrDropped();

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
  CommandProfile m_profile;
  CommandProfile m_storedProfile;  // what "ATZ" restores, "AT&W" stores
  CregReport m_cregReport = CregReport::Off;
  int m_reportedRegistration = -1;
  int m_crc = 1;            // AT+CRC
  int m_ringsHeard = 0;     // rings of the incoming call so far, for "ATS0=n"
  int m_cgregReport = 0;    // AT+CGREG=n; the modem has no packet service to report
  int m_copsFormat = 0;     // AT+COPS=3,n: 0 long name, 1 short, 2 numeric
  int m_functionality = 1;  // AT+CFUN
  // The clock AT+CCLK sets: the difference to the network's time.
  std::chrono::seconds m_clockOffset{0};
  std::optional<int> m_clockZone;
  bool m_ussd = false;          // AT+CUSD=1
  bool m_deregistered = false;  // AT+COPS=2
  // Call forwarding per reason (AT+CCFC): the number registered, if any.
  std::array<std::optional<std::string>, 6> m_forwarding;
  bool m_gpsTicking = false;
  bool m_gpsWasOff = false;
  GpsReceiver m_receiver;
  CallState m_call = CallState::Idle;
  unsigned m_callSerial = 0;  // changes with each call state, so stale call timers do nothing
  std::string m_dialled;
  std::string m_called;
  DataCallState m_dataCall = DataCallState::Idle;
  bool m_online = false;       // online data mode; false: command mode
  bool m_goingOnline = false;  // "ATO" answered on the line being answered
  std::string m_dataDialled;
  std::string m_dataCalled;
  RemoteDevice m_remote;
  unsigned m_linkSession = 0;  // changes when the modem drops a call: what was on its way is lost
  Millis m_linkUntil{0};       // when what the link carries now is through
  std::string m_heldFromRemote;
  // The escape: the program's last byte online, "+" typed of a possible "+++" (not yet
  // passed on), and a count of bytes so a late check sees whether one came since.
  Millis m_lastDataAt{0};
  int m_pluses = 0;
  unsigned m_dataBytes = 0;
  std::function<void(std::string_view)> m_callLog;
  SimPhonebook m_phonebook;
  AudioSettings m_audio;
  DeviceState m_device;
  std::vector<AlarmReport> m_alarmReports;
  bool m_restarting = false;
  unsigned m_epoch = 0;  // changes with each restart, so output queued before it is lost
  int m_restarts = 0;
  std::optional<Millis> m_breakSince;
  // Output queued with emitLater is on the line by then; what must follow it (the echo of
  // a message's text after its prompt) waits for it.
  Millis m_outputQueuedUntil{0};
  Millis m_answersUntil{0};  // when the answer to the last command line is out
  // While a command line is answered, output that must follow its answer collects here.
  bool m_answering = false;
  std::string m_afterAnswer;
  SmsSettings m_sms;
  SmsStore m_smsStore;
  std::string m_serviceCentre;
  std::vector<SentSms> m_sentSms;
  std::optional<SmsEntry> m_smsEntry;
  int m_lastMessageReference = 0;
  // Indications AT+CNMI mode 0 keeps in the modem, and those held back while a message's
  // text is typed (they would land in the middle of its echo).
  std::vector<std::string> m_bufferedIndications;
  std::string m_heldIndications;
  std::vector<StoredSms> m_smsAtCentre;
  Millis m_networkTimeBase{0};

  // The SIM's locks, the line rate and the caller's number.
  // What keeps the SIM from being used now (modem_commands.cpp); none: it can be.
  enum class SimBlock { Unreadable, Missing, Busy, PinNeeded, PukNeeded };
  std::optional<SimBlock> simBlock() const;
  // The "+CME ERROR" and "+CMS ERROR" numbers of a blocked SIM.
  struct SimErrors {
    int cme;
    int cms;
  };
  static SimErrors errorsOf(SimBlock block);
  // The same as a "+CME ERROR" code (phone book, identity, calls) and as a "+CMS ERROR"
  // code (SMS).
  std::optional<int> simCmeError() const;
  std::optional<int> simCmsError() const;
  bool enterPin(const std::string& pin, Answer& a);
  bool enterPuk(const std::string& puk, const std::string& newPin, Answer& a);
  // The line rate (rate_commands.cpp).
  bool atIprQuery(const AtCommand& c, Answer& a);
  bool atIprSet(const AtCommand& c, Answer& a);
  void takeRate(int rate);
  // The caller's number (voice_calls.cpp).
  bool atClipQuery(const AtCommand& c, Answer& a);
  bool atClipSet(const AtCommand& c, Answer& a);
  // Wrong PINs the SIM still takes before it wants its PUK; the SIM counts them, so a
  // restart does not give them back.
  int m_pinTriesLeft = 3;
  Millis m_simBusyUntil{0};
  // "AT+IPR=<rate>": the rate (0: detect it) the modem takes once the answer is out.
  std::optional<int> m_rateAfterAnswer;
  bool m_clip = false;  // AT+CLIP=1; lost with a restart
  std::string m_caller;
};

}  // namespace d7o::sim
