#pragma once

#include "forms/controls.h"
#include "forms/form.h"

#include <array>

namespace d7o::forms {

inline constexpr const char* kRemoteTitle = "Tarvik remote access";
inline constexpr const char* kRemoteAccessTitle = "... remote access mode ...";
inline constexpr const char* kRemoteControlOnTitle = "remote control ON";

// The remote control tool Remote: a data call to a distant device, its GPS output and free
// command lines over that call, the call history, and the choice of the Map&Guide program.
// It lives for the whole run; `loaded` tells whether it has been opened since the start.
struct RemoteForm : Form {
  RemoteForm();

  bool loaded = false;

  // --- the call controls, shown once the Map&Guide path is known ---
  Frame Frame13{*this, "Frame13", ""};
  ComboBox Combo3{*this, "Combo3", {}, -1, true};  // destination; its list is the history
  CommandButton Command13{*this, "Command13", "start remote access"};
  CommandButton Command14{*this, "Command14", "stop remote access"};
  CommandButton Command16{*this, "Command16", "del entry"};
  CommandButton Command17{*this, "Command17", "clear list"};
  Label Label52{*this, "Label52", "change GPS protocol"};
  ComboBox Combo2{*this, "Combo2", {"GPRMC", "GPGGA", "GPGSV", "GPGSA", "all protocols"}, -1};
  CommandButton Command18{*this, "Command18", "all protocols OFF"};
  CommandButton Command19{*this, "Command19", "restart GPS data transfer"};
  TextBox Text6{*this, "Text6"};  // a command line for the device, sent on Enter
  // the call's activity lamps
  std::array<Label, 10> Led1{Label{*this, "Led1(0)", ""}, Label{*this, "Led1(1)", ""},
                             Label{*this, "Led1(2)", ""}, Label{*this, "Led1(3)", ""},
                             Label{*this, "Led1(4)", ""}, Label{*this, "Led1(5)", ""},
                             Label{*this, "Led1(6)", ""}, Label{*this, "Led1(7)", ""},
                             Label{*this, "Led1(8)", ""}, Label{*this, "Led1(9)", ""}};
  Label Label62{*this, "Label62", ""};  // status line

  // --- the choice of the Map&Guide program, beneath Frame13 ---
  ComboBox Drive1{*this, "Drive1", {}, -1};  // the file system's roots and mounted volumes
  ListBox Dir1{*this, "Dir1"};               // the folder's subfolders; a double click opens one
  ListBox File1{*this, "File1"};             // the folder's files; a double click chooses one
  Label Label1{*this, "Label1", ""};         // the folder Dir1 shows

  // --- menus ---
  Menu m_exit{*this, "m_exit", "E&xit"};
  Menu m_port{*this, "m_port", "&close port"};
  Menu m_tracking{*this, "m_tracking", "&Tracking"};
  Menu m_mapquestzoom{*this, "m_mapquestzoom", "to &MapQuest zoomed"};
  Menu m_mapquestoverview{*this, "m_mapquestoverview", "to &MapQuest Overview"};
  Menu m_openstreetmap{*this, "m_openstreetmap", "to &OpenStreetMap"};
  Menu m_mapandguide{*this, "m_mapandguide", "to Map and &Guide"};
};

}  // namespace d7o::forms
