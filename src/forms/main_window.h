#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/timer.h"

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
inline constexpr const char* kInitialisingTitle = "...please wait while initialising Tarvik-Module";

// The main window REZEDEV7. Controls keep the program's numbered names; the caption is in
// the comment beside each. Controls whose behaviour is not built yet are present and inert.
struct MainWindow : Form {
  MainWindow();

  TabControl Tab1{
      "Tab1", {"Terminal", "Voice-Call", "SMS", "Options", "R7O-3 Alarm", "R7O-3 GPS", "...about"}};

  // --- tab 0 "Terminal" ---
  Label Label2{"Label2", ""};                       // network lamp
  Label Label20{"Label20", "CREG"};                 //
  ProgressBar Gauge1{"Gauge1"};                     // field strength
  Label Label11{"Label11", "GSM field strength"};   //
  Label Label25{"Label25", "dbm"};                  // status line under the gauge
  Shape CTS{"CTS"};                                 // CTS indicator; right-click opens/closes
  Label Label33{"Label33", "CTS"};                  //
  Label Label48{"Label48", ""};                     // clock
  Label Label12{"Label12", "PC-Time"};              //
  Label Label14{"Label14", ""};                     //
  Label Label53{"Label53", "iChip active"};         //
  Label Label3{"Label3", "main AT-Commands"};       //
  ListBox List1{"List1"};                           // prepared commands
  ListBox List3{"List3"};                           // terminal
  ListBox List2{"List2"};                           // configuration items, hidden
  TextBox Text1{"Text1"};                           // port
  TextBox Text2{"Text2"};                           // line settings
  TextBox Text3{"Text3"};                           // status
  CommandButton Command31{"Command31", "GPS"};      //
  CommandButton Command3{"Command3", "answer"};     //
  Frame Frame18{"Frame18", ""};                     //
  CommandButton Command1{"Command1", "INIT"};       //
  CommandButton Command2{"Command2", "Enter PIN"};  //

  // --- tab 1 "Voice-Call" ---
  Label Label4{"Label4", "Enter Call-Number"};
  TextBox Text8{"Text8"};                  // number to dial
  CommandButton Command9{"Command9", ""};  // dial (a picture button)

  // --- tab 3 "Options" ---
  Frame Frame1{"Frame1", "Audio-Level"};
  Slider Slider1{"Slider1"};          // speaker (receive gain)
  Slider Slider2{"Slider2"};          // microphone (transmit gain)
  Label Label5{"Label5", ""};         // speaker value
  Label Label6{"Label6", ""};         // microphone value
  Label Label17{"Label17", "Spkr."};  //
  Label Label18{"Label18", "Mic."};   //
  CommandButton Command53{"Command53", "set values"};
  Frame Frame2{"Frame2", ""};
  Frame Frame12{"Frame12", "Ringer melody"};
  CommandButton Command51{"Command51", "set"};
  Label Label32{"Label32", "available from Firmware Rev.4.20"};
  Label Label38{"Label38", "melody"};
  Frame Frame13{"Frame13", ""};
  ComboBox Combo1{"Combo1",
                  {"no melody", "melody 1", "melody 2", "melody 3", "melody 4", "melody 5",
                   "melody 6", "melody 7", "melody 8", "melody 9", "melody 10"},
                  1};
  OptionGroup ringerGroup;
  OptionButton Option13{"Option13", "Buzzer", ringerGroup, true};
  OptionButton Option12{"Option12", "Speaker", ringerGroup};
  Frame Frame6{"Frame6", "Reset functions"};
  CommandButton Command15{"Command15", "Reset R7O-3 Alarm/GPS"};
  CommandButton Command29{"Command29", "Reset D7O-1/3 (TX-break)"};
  CheckBox Check1{"Check1", "write LogFile"};
  CheckBox Check5{"Check5", "Handshake RTS/CTS", true};
  Label Label19{"Label19", "Tarvik D7O - InitString"};
  TextBox Text4{"Text4"};                             // initialisation string
  CommandButton Command7{"Command7", "Send to D7O"};  //
  CommandButton Command10{"Command10", "save configuration"};

  // --- tab 5 "R7O-3 GPS" ---
  Frame Frame3{"Frame3", ""};
  Label Label26{"Label26", "Configuration string"};
  TextBox Text10{"Text10"};                                    // staging field
  CommandButton Command22{"Command22", "send to V7-3-I GPS"};  //
  Label Label7{"Label7", "Servicecenter address"};
  TextBox Text14{"Text14"};  // service centre, shown only
  Label Label16{"Label16", "Source name"};
  CommandButton Command8{"Command8", "read GPS-String"};
  CommandButton Command30{"Command30", "GPS-continue"};

  // --- tab 6 "...about" ---
  Label Label1{"Label1", "incoming Call"};  // blinks while a call comes in

  // --- menus ---
  Menu m_exit{"m_exit", "E&xit"};
  Menu m_gps{"m_gps", "&GPS-Analyzer"};

  // --- timers ---
  Timer HS_Timer{"HS_Timer", 100};  // indicators and clock, always running
  Timer Timer1{"Timer1", 3000};     // network poll
  Timer Timer2{"Timer2", 2000};     // initialisation tick
  Timer Timer3{"Timer3", 500};      // blinking "incoming Call"

  void attachTimers(platform::Scheduler* scheduler);
};

}  // namespace d7o::forms
