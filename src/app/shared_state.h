#pragma once

#include <string>

namespace d7o::app {

// The receive buffer and the states that change how replies are treated.
struct DispatchState {
  std::string receiveBuffer;  // characters received since the last complete reply
  int promptPos = 0;          // 1-based position of "> " in the reply; 0 without a prompt

  // data call and GPS receive mode
  std::string dataLinkState = "OFF";  // "OFF", "ON" or "DATA"
  bool remoteConnectPending = false;
  bool remoteLocalModePending = false;
  bool intervalRequestPending = false;  // the next "OK" is followed by "&REQ INT"
  bool gpsReceiveMode = false;          // on with the first NMEA sentence, for the whole run
};

// The serial link and the module dialogue: baud-rate search, wake-up, SIM and PIN, the
// engine, the network poll.
struct LinkState {
  bool baudSearchActive = false;
  int baudSearchStep = 0;
  bool baudRateKnown = false;
  bool modemAnswered = false;

  bool initAwaitingOk = false;
  int initTickCount = 0;
  bool simReady = false;
  bool pinDialogActive = false;
  bool pinSentAwaitingOk = false;

  bool manufacturerQueryPending = false;
  int manufacturerTries = 0;
  std::string manufacturer;  // "SIEMENS", "Tarvik", "BRELLSTOWEN" or "unknown"

  int networkPollCount = 0;
  bool pollCsqNext = false;
  int rssiDbm = 0;
  bool audioQueryPending = false;

  bool firmwareSupported = false;
  bool iChipPresent = false;
  bool hwHandshakeReported = false;  // the modem echoed the RTS/CTS setting
};

// The log switch and what start-up read from TARVIK.INI.
struct LogState {
  bool logEnabled = false;
  std::string logFilePath;
  int iniLineCount = 0;
};

// The NMEA evaluation and the GPS clock.
struct GpsState {
  std::string timeDisplay;  // the GPS time shown, or empty for the PC clock
  std::string gpsSentenceShown;
  int satelliteSlotPointer = 0;  // none filled yet: the first new satellite goes to row 1
  double gpsSpeed = 0;
};

// Messages: the mode, the text waiting for the modem's prompt, the PDU creator's values
// that outlive its window, the service centre and the "Delete all SMS" chain.
struct SmsState {
  bool pduModeActive = false;
  std::string pendingPromptText;  // sent with Ctrl-Z at the next "> " prompt

  int messageReference = 0;
  bool autoMessageReference = true;
  int pduLength = 0;  // TPDU octets of the last "create PDU"
  double validityPeriodValue = 0;
  std::string serviceCentreNumber;  // from the last "+CSCA: " reply

  // The 7-bit converter's last result, kept when its window closes: the packed octets as
  // hex and how many septets they hold (the UDL of a 7-bit message).
  std::string convertedHex;
  int convertedSeptets = 0;

  bool smsDeleteRunning = false;  // the "Delete all SMS" chain
  int smsDeleteIndex = 0;
  std::string smsDeleteLast;  // the store's size as the modem reported it; empty: unknown
};

// The SIM phone book panel.
struct PhonebookState {
  int phonebookSize = 0;  // the last position, from "+CPBS: "; 0: not reported yet
  int phonebookNumberType = 129;
  std::string savedNationalNumber;  // the call number before "international" rewrote it
};

// The device's settings the panels keep between their lines.
struct DeviceSettingsState {
  std::string modeLetters = "D";
  std::string gpsSentenceList;  // the chosen NMEA sentences, joined by ";"
};

// Voice call and audio.
struct VoiceState {
  int ringPos = 0;  // 1-based position of "RING" in the last reply that held it
  std::string receiveGainText;
  std::string transmitGainText;
  std::string melodyIndex = "1";
  std::string ringerOutput = "0";
};

// Program-wide state shared by all windows for the whole run, one group per subsystem
// that owns it. Handlers that expect an answer set a flag here before they send; the
// reply rows clear it.
// The remote control tool (the data-call state itself is the dispatcher's).
struct RemoteState {
  std::string mapGuidePath;  // the Map&Guide program, as Tracking.ini names it
  int hsTickCount = 0;       // the step of the lamp row's running light
  std::string mapHost = "https://www.mapquest.com";  // the web map's service
};

struct SharedState {
  DispatchState dispatch;
  LinkState link;
  LogState log;
  GpsState gps;
  SmsState sms;
  PhonebookState phonebook;
  DeviceSettingsState device;
  VoiceState voice;
  RemoteState remote;
};

}  // namespace d7o::app
