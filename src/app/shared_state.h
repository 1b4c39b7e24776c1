#pragma once

#include <string>

namespace d7o::app {

// Program-wide state shared by all windows for the whole run. Handlers that expect an
// answer set a flag here before they send; the reply rows clear it.
struct SharedState {
  // receive buffer and reply dispatch
  std::string receiveBuffer;
  std::string pendingPromptText;
  int promptPos = 0;
  int loopIndex = 0;

  // baud-rate search
  bool baudSearchActive = false;
  int baudSearchStep = 0;
  bool baudRateKnown = false;
  bool modemAnswered = false;

  // wake-up, SIM and PIN
  bool initAwaitingOk = false;
  int initTickCount = 0;
  bool simReady = false;
  bool pinDialogActive = false;
  bool pinSentAwaitingOk = false;

  // modem engine
  bool manufacturerQueryPending = false;
  int manufacturerTries = 0;
  std::string manufacturer;

  // network poll and field strength
  int networkPollCount = 0;
  bool pollCsqNext = false;
  int rssiDbm = 0;
  bool audioQueryPending = false;

  bool firmwareSupported = false;
  bool iChipPresent = false;
  bool hwHandshakeReported = false;

  // log and configuration
  bool logEnabled = false;
  std::string logFilePath;
  int iniLineCount = 0;

  // clock and lamps
  std::string timeDisplay;
  int hsTickCount = 0;

  // data call and GPS receive mode
  std::string dataLinkState = "OFF";
  bool remoteConnectPending = false;
  bool remoteLocalModePending = false;
  bool intervalRequestPending = false;
  bool gpsReceiveMode = false;

  // GPS evaluation
  std::string gpsSentenceShown;
  int satelliteSlotPointer = 0;  // none filled yet: the first new satellite goes to row 1
  double gpsSpeed = 0;

  // SMS and PDU creator
  bool pduModeActive = false;
  bool autoMessageReference = true;
  int messageReference = 0;
  int pduLength = 0;
  int validityPeriodValue = 0;
  std::string serviceCentreNumber;
  bool smsDeleteRunning = false;
  int smsDeleteIndex = 0;
  int smsDeleteLast = 0;

  // phone book
  int phonebookSize = 0;
  int phonebookNumberType = 129;
  std::string savedNationalNumber;

  // device settings
  std::string modeLetters = "D";
  std::string gpsSentenceList;

  // voice call and audio
  int ringPos = 0;
  std::string receiveGainText;
  std::string transmitGainText;
  std::string melodyIndex = "1";
  std::string ringerOutput = "0";

  std::string mapGuidePath;
};

}  // namespace d7o::app
