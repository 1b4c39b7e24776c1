#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"

#include <array>

namespace d7o::forms {

// Tabs of Tab1, numbered as the program numbers them.
namespace tabs {
inline constexpr int kTerminal = 0;
inline constexpr int kVoiceCall = 1;
inline constexpr int kSms = 2;
inline constexpr int kOptions = 3;
inline constexpr int kAlarm = 4;
inline constexpr int kGps = 5;
inline constexpr int kAbout = 6;
}  // namespace tabs

inline constexpr const char* kStandardTitle = "Tarvik D7O Test & Development Tool  V8.0.7";
// The message both SMS windows start with, line end included.
inline constexpr const char* kInitialSmsText = "Test-SMS\r\n";
inline constexpr const char* kInitialisingTitle = "...please wait while initialising Tarvik-Module";

// The main window REZEDEV7. Controls keep the program's numbered names; the caption is in
// the comment beside each. Controls whose behaviour is not built yet are present and inert.
struct MainWindow : Form {
  MainWindow();

  TabControl Tab1{
      *this,
      "Tab1",
      {"Terminal", "Voice-Call", "SMS", "Options", "R7O-3 Alarm", "R7O-3 GPS", "...about"}};

  // --- tab 0 "Terminal" ---
  Label Label2{*this, "Label2", ""};                      // network lamp
  Label Label20{*this, "Label20", "CREG"};                //
  ProgressBar Gauge1{*this, "Gauge1"};                    // field strength
  Label Label11{*this, "Label11", "GSM field strength"};  //
  Label Label25{*this, "Label25", "dbm"};                 // status line under the gauge
  Shape CTS{*this, "CTS"};                                // CTS indicator; right-click opens/closes
  Label Label33{*this, "Label33", "CTS"};                 //
  Label PortState{*this, "PortState", "no data"};         // what the port receives, how fast
  Label Label48{*this, "Label48", ""};                    // clock
  Label Label12{*this, "Label12", "PC-Time"};             //
  Label Label14{*this, "Label14", ""};                    //
  Label Label53{*this, "Label53", "iChip active"};        //
  Label Label3{*this, "Label3", "main AT-Commands"};      //
  ListBox List1{*this, "List1"};                          // prepared commands
  ListBox List3{*this, "List3"};                          // terminal
  // A command typed under the terminal and sent with Return; Up and Down recall those of
  // this run. Not one of the program's numbered controls: named by its role.
  TextBox CommandLine{*this, "CommandLine"};
  // Shows each terminal row with its time of arrival and the sent lines marked; off at
  // start. Not one of the program's numbered controls either.
  CheckBox CheckTimeStamps{*this, "CheckTimeStamps", "time stamps"};
  ListBox List2{*this, "List2"};                           // configuration items, hidden
  TextBox Text1{*this, "Text1"};                           // port
  TextBox Text2{*this, "Text2"};                           // line settings
  TextBox Text3{*this, "Text3"};                           // status
  CommandButton Command31{*this, "Command31", "GPS"};      //
  CommandButton Command3{*this, "Command3", "answer"};     //
  Frame Frame18{*this, "Frame18", ""};                     //
  CommandButton Command1{*this, "Command1", "INIT"};       //
  CommandButton Command2{*this, "Command2", "Enter PIN"};  //

  // --- tab 1 "Voice-Call" ---
  Label Label4{*this, "Label4", "Enter Call-Number"};
  TextBox Text8{*this, "Text8"};                  // number to dial
  CommandButton Command9{*this, "Command9", ""};  // dial (a picture button)
  // the SIM phone book
  CommandButton Command11{*this, "Command11", "read Phone - Book"};
  ListBox List4{*this, "List4"};  // one row per entry as the modem reports it
  CommandButton Command12{*this, "Command12", "new PhoneBookEntry "};
  TextBox Text9{*this, "Text9"};  // name of the entry
  Label Label21{*this, "Label21", "write to Position in PhoneBook"};
  Label Label22{*this, "Label22", "1"};    // position to write
  Label Label23{*this, "Label23", "129"};  // type of number
  OptionGroup numberTypeGroup;
  OptionButton Option1{*this, "Option1", "national", numberTypeGroup};
  OptionButton Option2{*this, "Option2", "international", numberTypeGroup};
  CommandButton Command46{*this, "Command46", "+"};
  CommandButton Command47{*this, "Command47", "-"};
  CommandButton Command48{*this, "Command48", "+ +"};
  CommandButton Command49{*this, "Command49", "- -"};
  CommandButton Command13{*this, "Command13", "write to Phonebook"};
  CommandButton Command14{*this, "Command14", "cancel"};
  Shape Shape1{*this, "Shape1"};  // the frame drawn around the phone book

  // --- tab 2 "SMS" ---
  Label Label8{*this, "Label8", "Enter Call-Number"};
  TextBox Text5{*this, "Text5"};  // destination; the PDU length in PDU mode
  Label Label9{*this, "Label9", "Enter SMS"};
  TextBox Text6{*this, "Text6"};  // message text; the PDU in PDU mode
  Label Label15{*this, "Label15", "Enter Service-Center-Number"};
  TextBox Text7{*this, "Text7"};  // service centre
  CommandButton Command16{*this, "Command16", "Send SMS"};
  CommandButton Command17{*this, "Command17", " List SMS"};
  CommandButton Command18{*this, "Command18", "Delete SMS"};
  CommandButton DelSMS{*this, "DelSMS", "Delete all SMS"};
  CommandButton Command4{*this, "Command4", "switch to PDU-Mode"};
  CommandButton Command5{*this, "Command5", "create new PDU"};
  CommandButton Command6{*this, "Command6", "read CSCA"};
  CommandButton Command42{*this, "Command42", "set CSCA"};
  Shape Shape3{*this, "Shape3"};  // the frame drawn around the buttons

  // --- tab 3 "Options" ---
  Frame Frame1{*this, "Frame1", "Audio-Level"};
  Slider Slider1{*this, "Slider1"};          // speaker (receive gain)
  Slider Slider2{*this, "Slider2"};          // microphone (transmit gain)
  Label Label5{*this, "Label5", ""};         // speaker value
  Label Label6{*this, "Label6", ""};         // microphone value
  Label Label17{*this, "Label17", "Spkr."};  //
  Label Label18{*this, "Label18", "Mic."};   //
  CommandButton Command53{*this, "Command53", "set values"};
  Frame Frame2{*this, "Frame2", ""};
  Frame Frame12{*this, "Frame12", "Ringer melody"};
  CommandButton Command51{*this, "Command51", "set"};
  Label Label32{*this, "Label32", "available from Firmware Rev.4.20"};
  Label Label38{*this, "Label38", "melody"};
  Frame Frame13{*this, "Frame13", ""};
  ComboBox Combo1{*this,
                  "Combo1",
                  {"no melody", "melody 1", "melody 2", "melody 3", "melody 4", "melody 5",
                   "melody 6", "melody 7", "melody 8", "melody 9", "melody 10"},
                  1};
  OptionGroup ringerGroup;
  OptionButton Option13{*this, "Option13", "Buzzer", ringerGroup, true};
  OptionButton Option12{*this, "Option12", "Speaker", ringerGroup};
  Frame Frame6{*this, "Frame6", "Reset functions"};
  CommandButton Command15{*this, "Command15", "Reset R7O-3 Alarm/GPS"};
  CommandButton Command29{*this, "Command29", "Reset D7O-1/3 (TX-break)"};
  CheckBox Check1{*this, "Check1", "write LogFile"};
  CheckBox Check5{*this, "Check5", "Handshake RTS/CTS", true};
  Label Label19{*this, "Label19", "Tarvik D7O - InitString"};
  TextBox Text4{*this, "Text4"};                             // initialisation string
  CommandButton Command7{*this, "Command7", "Send to D7O"};  //
  CommandButton Command10{*this, "Command10", "save configuration"};

  // --- tab 4 "R7O-3 Alarm" ---
  Frame Frame4{*this, "Frame4", "Input - Parameters"};
  // column captions and row labels
  Label Label34{*this, "Label34", "IN1 (Pin11)"};
  Label Label35{*this, "Label35", "IN2 (Pin12)"};
  Label Label36{*this, "Label36", "IN3 (Pin13)"};
  Label Label37{*this, "Label37", "KIND"};
  Label Label39{*this, "Label39", "Dest. No."};
  Label Label40{*this, "Label40", "Alarm text"};
  Label Label41{*this, "Label41", "appendGPS protocol"};
  Label Label42{*this, "Label42", "Input detect-->"};
  Label Label43{*this, "Label43", "KEY1"};
  Label Label46{*this, "Label46", "KEY2"};
  Label Label47{*this, "Label47", "KEY3"};
  Label Label51{*this, "Label51", "OUT1"};
  // kind of each input's alarm; a kind the list does not offer may be typed
  ComboBox Combo2{*this, "Combo2", {"SMS", "Data", "Voice", "GPS"}, -1, true};
  ComboBox Combo3{*this, "Combo3", {"SMS", "Data", "Voice", "GPS"}, -1, true};
  ComboBox Combo4{*this, "Combo4", {"SMS", "Data", "Voice", "GPS"}, -1, true};
  CommandButton Command24{*this, "Command24", "set"};  // sends Text24
  CommandButton Command26{*this, "Command26", "set"};  // sends Text25
  CommandButton Command27{*this, "Command27", "set"};  // sends Text26
  TextBox Text13{*this, "Text13"};                     // destination of IN1
  TextBox Text19{*this, "Text19"};                     // destination of IN2
  TextBox Text22{*this, "Text22"};                     // destination of IN3
  TextBox Text17{*this, "Text17"};                     // alarm text of IN1
  TextBox Text20{*this, "Text20"};                     // alarm text of IN2
  TextBox Text23{*this, "Text23"};                     // alarm text of IN3
  CheckBox Check2{*this, "Check2", ""};                // append the position to IN1's alarm
  CheckBox Check6{*this, "Check6", ""};                // ... IN2's
  CheckBox Check7{*this, "Check7", ""};                // ... IN3's
  // the edge each input reports
  Frame Frame15{*this, "Frame15", ""};
  OptionGroup edge1Group;
  OptionButton Option3{*this, "Option3", " rising edge", edge1Group, true};
  OptionButton Option4{*this, "Option4", "falling edge", edge1Group};
  OptionButton Option9{*this, "Option9", "each edge", edge1Group};
  Frame Frame16{*this, "Frame16", ""};
  OptionGroup edge2Group;
  OptionButton Option5{*this, "Option5", "rising edge", edge2Group, true};
  OptionButton Option6{*this, "Option6", "falling edge", edge2Group};
  OptionButton Option8{*this, "Option8", "each edge", edge2Group};
  Frame Frame17{*this, "Frame17", ""};
  OptionGroup edge3Group;
  OptionButton Option10{*this, "Option10", "rising edge", edge3Group, true};
  OptionButton Option11{*this, "Option11", "falling edge", edge3Group};
  OptionButton Option7{*this, "Option7", "each edge", edge3Group};
  TextBox Text24{*this, "Text24"};  // IN1's line
  TextBox Text25{*this, "Text25"};  // IN2's line
  TextBox Text26{*this, "Text26"};  // IN3's line
  // the output OUT1
  Frame Frame7{*this, "Frame7", "Out1-Parameters"};
  ComboBox Combo5{*this, "Combo5", {"ON", "OFF", "one Time Imp.", "cycled switching"}, 3, true};
  Label Label44{*this, "Label44", "Time1"};
  Label Spin3{*this, "Spin3", "10"};  // time 1
  Label Label45{*this, "Label45", "Time2"};
  Label Spin4{*this, "Spin4", "10"};                 // time 2
  CommandButton Command34{*this, "Command34", "+"};  // time 1 up
  CommandButton Command35{*this, "Command35", "-"};  // time 1 down
  CommandButton Command36{*this, "Command36", "+"};  // time 2 up
  CommandButton Command37{*this, "Command37", "-"};  // time 2 down
  TextBox Text28{*this, "Text28"};                   // OUT1's line
  CommandButton Command33{*this, "Command33", "Set Out1  "};
  CommandButton Command52{*this, "Command52", "Sample"};
  PictureBox Picture2{*this, "Picture2"};  // wiring sample, hidden at start
  CommandButton Command28{*this, "Command28", "clear all fail messages"};
  CommandButton Command32{*this, "Command32", "read Configuration"};
  // Lines that set the input columns, the lines as they go out and OUT1 apart.
  Frame Frame8{*this, "Frame8", ""};
  Frame Frame9{*this, "Frame9", ""};
  Frame Frame10{*this, "Frame10", ""};

  // --- tab 5 "R7O-3 GPS" ---
  Frame Frame3{*this, "Frame3", ""};
  Label Label26{*this, "Label26", "Configuration string"};
  TextBox Text10{*this, "Text10"};                                    // staging field
  CommandButton Command22{*this, "Command22", "send to V7-3-I GPS"};  //
  Label Label7{*this, "Label7", "Servicecenter address"};
  TextBox Text14{*this, "Text14"};      // service centre, shown only
  Label Label50{*this, "Label50", ""};  // how the tab works, under its buttons
  CommandButton Command19{*this, "Command19", "CNF TIME"};
  // the mode
  Frame Frame5{*this, "Frame5", "Mode configuration"};
  OptionGroup modeGroup;
  OptionButton Option14{*this, "Option14", "auto DATA mode", modeGroup, true};
  OptionButton Option15{*this, "Option15", "auto GPS mode", modeGroup};
  CheckBox Check3{*this, "Check3", "answer voice call also"};
  CheckBox Check4{*this, "Check4", "configuration counter"};
  Label Label29{*this, "Label29", "Start cnfCounter"};
  Label Spin2{*this, "Spin2", "0"};  // start of the configuration counter
  Label Label31{*this, "Label31", "(0 to 255)"};
  CommandButton Command41{*this, "Command41", "-"};
  CommandButton Command40{*this, "Command40", "+"};
  CommandButton Command20{*this, "Command20", "CNF MODE"};
  // where the device's messages go
  Frame Frame14{*this, "Frame14", "Destination No."};
  TextBox Text15{*this, "Text15"};  // destination number
  OptionGroup messageKindGroup;
  OptionButton Option16{*this, "Option16", "SMS", messageKindGroup, true};
  OptionButton Option17{*this, "Option17", "Data", messageKindGroup};
  OptionButton Option18{*this, "Option18", "GPS (Data)", messageKindGroup};
  TextBox Text29{*this, "Text29"};  // kind letter, as the options set it or as typed
  Label Label16{*this, "Label16", "Source name"};
  TextBox Text16{*this, "Text16"};  // the name the device signs with
  Label Label27{*this, "Label27", "Data-Interval (min.)"};
  Label Spin1{*this, "Spin1", "0"};  // data interval
  CommandButton Command38{*this, "Command38", "-"};
  CommandButton Command39{*this, "Command39", "+"};
  CommandButton Command21{*this, "Command21", "CNF MSG"};
  // the NMEA sentences the device sends
  Label Label24{*this, "Label24", "GPS - Protocol"};
  ListBox List5{*this, "List5"};
  CommandButton Command23{*this, "Command23", "CNF GPS"};
  // the ignition line
  Frame Frame19{*this, "Frame19", "Ignition line"};
  CheckBox Check8{*this, "Check8", "ignition ignored"};
  Label Label52{*this, "Label52", "time (min.)"};
  Label Label49{*this, "Label49", "0"};  // ignition delay
  CommandButton Command43{*this, "Command43", "-"};
  CommandButton Command44{*this, "Command44", "+"};
  CommandButton Command45{*this, "Command45", "Ignition"};
  // the device password
  Label Label30{*this, "Label30", "old Password  "};
  TextBox Text11{*this, "Text11"};
  Label Label28{*this, "Label28", "new Password "};
  TextBox Text30{*this, "Text30"};
  CommandButton Command25{*this, "Command25", "Password"};
  CommandButton Command8{*this, "Command8", "read GPS-String"};
  CommandButton Command30{*this, "Command30", "GPS-continue"};

  // --- tab 6 "...about" ---
  PictureBox Picture1{*this, "Picture1"};           // the product
  Image Image1{*this, "Image1"};                    // the modem
  Image Image2{*this, "Image2"};                    // the manual
  Label Label10{*this, "Label10", "TARVIK GmbH "};  // the maker
  Label Label13{*this, "Label13", "Internet: "};    // the maker's web site
  Label Label1{*this, "Label1", "incoming Call"};   // on Picture1; blinks while a call comes in

  // --- menus ---
  Menu m_exit{*this, "m_exit", "E&xit"};
  Menu m_gps{*this, "m_gps", "&GPS-Analyzer"};
  // The "Capture" menu: recording the serial line to a file and playing one back.
  Menu m_signal{*this, "m_signal", "&Signal"};     // the signal and registration window
  Menu m_capture{*this, "m_capture", "&Capture"};  // the menu's title only
  Menu m_recordStart{*this, "m_recordStart", "start recording..."};
  Menu m_recordStop{*this, "m_recordStop", "stop recording"};
  Menu m_replay{*this, "m_replay", "replay..."};
  Menu m_replayEnd{*this, "m_replayEnd", "end replay"};

  // --- the capture bar: what is recorded or replayed, and the replay's controls ---
  Label CaptureState{*this, "CaptureState", ""};
  Label ReplayPosition{*this, "ReplayPosition", ""};
  CommandButton ReplayPause{*this, "ReplayPause", "pause"};
  ComboBox ReplaySpeed{*this, "ReplaySpeed", {"1x", "2x", "5x", "10x", "100x", "max"}, 0};
  CommandButton ReplayToEnd{*this, "ReplayToEnd", "to end"};

  // --- timers ---
  Timer HS_Timer{"HS_Timer", 100};        // indicators and clock, always running
  Timer Timer1{"Timer1", 3000};           // network poll
  Timer Timer2{"Timer2", 2000};           // initialisation tick
  Timer Timer3{"Timer3", 500};            // blinking "incoming Call"
  Timer ReplayTimer{"ReplayTimer", 250};  // the replay bar's position

  // Every timer of the window: attached at the start, stopped at the end.
  std::array<Timer*, 5> timers() { return {&HS_Timer, &Timer1, &Timer2, &Timer3, &ReplayTimer}; }
  void attachTimers(platform::Scheduler* scheduler);
};

}  // namespace d7o::forms
