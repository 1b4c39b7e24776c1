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

  // --- tab 3 "Options" ---
  Frame Frame1{"Frame1", "Audio-Level"};
  Slider Slider1{"Slider1"};  // receive gain
  Slider Slider2{"Slider2"};  // transmit gain
  Frame Frame2{"Frame2", ""};
  Frame Frame12{"Frame12", "Ringer melody"};
  CheckBox Check1{"Check1", "write LogFile"};
  CheckBox Check5{"Check5", "Handshake RTS/CTS", true};
  Label Label19{"Label19", "K7-INIT-String"};
  TextBox Text4{"Text4"};  // initialisation string

  // --- tab 5 "R7O-3 GPS" ---
  Frame Frame3{"Frame3", ""};
  Label Label7{"Label7", "Servicecenter address"};
  Label Label16{"Label16", "Source name"};

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
