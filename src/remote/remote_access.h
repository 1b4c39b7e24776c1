#pragma once

#include "app/context.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace d7o::link {
class SerialLink;
}

namespace d7o::remote {

// The remote control tool: a data call from the local modem to a distant device, the
// device's GPS output and free command lines over it, hang-up with the modem's escape,
// the call history (Remote.ini) and the maps of the last position (the web map, or the
// Map&Guide program named in Tracking.ini). The data-call state is shared with the reply
// rows and the 100 ms tick, which drive the window as the modem and the line report.
class RemoteAccess {
 public:
  // `activateMain` runs when the main window becomes active again after the window closes.
  RemoteAccess(app::Context& ctx, link::SerialLink& link, std::function<void()> activateMain);

  // "&REMOTE" in the terminal: the window, modal over the main window.
  void open();

  void Command13_Click();  // "start remote access"
  void Command14_Click();  // "stop remote access"
  void Combo2_Click();     // the sentences the remote device sends
  void Command18_Click();  // "all protocols OFF"
  void Command19_Click();  // "restart GPS data transfer"
  void Text6_KeyUp(int key);
  void m_port_Click();
  void m_exit_Click();
  // The call history.
  void Command16_Click();  // "del entry"
  void Command17_Click();  // "clear list"
  // The maps.
  void webMap(int zoom);
  void openStreetMap();
  void m_mapandguide_Click();
  // The choice of the Map&Guide program.
  void Drive1_Click();
  void Dir1_DblClick();
  void File1_DblClick();

  // Reply rows: 4 (the first reply after a stop), 5 "CONNECT", 6 to 8 the call's end with
  // its status text ("NO CARRIER received", ...).
  void firstReplyAfterStop(bool hasOk);
  void connected();
  void callEnded(const char* status);

  // The lamps off.
  void ResetLEDs();

 private:
  void Form_Load();
  void Form_Activate();
  // The remote part of the 100 ms tick: the tracking menu, the port and carrier lines,
  // the lamp row.
  void tick();
  void runLamps(bool carrier);
  void ReadRemote();
  void WriteRemote();
  // The folder Dir1 shows, and its files in File1.
  void showFolder(const std::filesystem::path& folder);
  bool openPort();
  void showMap(const std::string& address);
  // The port menu names what it would do: close an open port, open a closed one.
  void showPortState();
  std::filesystem::path programFile(const char* name) const;

  app::Context& m_ctx;
  link::SerialLink& m_link;
  std::function<void()> m_activateMain;
  std::filesystem::path m_folder;  // what Dir1 shows
  // The names behind Dir1's rows (after ".." where it has one) and File1's.
  std::vector<std::filesystem::path> m_subfolders;
  std::vector<std::filesystem::path> m_files;
  bool m_carrierSeen = false;  // carrier detect at the last tick
};

}  // namespace d7o::remote
