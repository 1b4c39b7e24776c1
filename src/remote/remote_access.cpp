#include "remote/remote_access.h"

#include "app/file_io.h"
#include "app/path_text.h"
#include "device/command_set.h"
#include "link/serial_link.h"
#include "remote/call_history.h"
#include "remote/file_choice.h"
#include "remote/map_address.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace d7o::remote {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using namespace forms::colors;

namespace {

constexpr const char* kAllProtocols = "all protocols";
constexpr const char* kSerialPortClosed = "serial port closed";
constexpr const char* kRemoteAccess = "remote access";
// The window opens 900 twips (60 pixels) below the main window's top, less its height.
constexpr int kTopOffset = 900 / 15;
constexpr int kLampCount = 10;

}  // namespace

RemoteAccess::RemoteAccess(app::Context& ctx, link::SerialLink& link,
                           std::function<void()> activateMain)
    : m_ctx(ctx), m_link(link), m_activateMain(std::move(activateMain)) {
  auto& r = m_ctx.remoteForm;
  if (const char* host = std::getenv("REZEDEV7_MAP_HOST"); host != nullptr && *host != '\0') {
    m_ctx.state.remote.mapHost = host;
  }
  r.Command13.Click.connect([this] { Command13_Click(); });
  r.Command14.Click.connect([this] { Command14_Click(); });
  r.Command16.Click.connect([this] { Command16_Click(); });
  r.Command17.Click.connect([this] { Command17_Click(); });
  r.Combo2.Click.connect([this] { Combo2_Click(); });
  r.Command18.Click.connect([this] { Command18_Click(); });
  r.Command19.Click.connect([this] { Command19_Click(); });
  r.Text6.KeyUp.connect([this](int key) { Text6_KeyUp(key); });
  r.m_port.Click.connect([this] { m_port_Click(); });
  r.m_exit.Click.connect([this] { m_exit_Click(); });
  r.m_mapquestzoom.Click.connect([this] { webMap(kZoomed); });
  r.m_mapquestoverview.Click.connect([this] { webMap(kOverview); });
  r.m_openstreetmap.Click.connect([this] { openStreetMap(); });
  r.m_mapandguide.Click.connect([this] { m_mapandguide_Click(); });
  r.Drive1.Click.connect([this] { Drive1_Click(); });
  r.Dir1.DblClick.connect([this] { Dir1_DblClick(); });
  r.File1.DblClick.connect([this] { File1_DblClick(); });
  // After the main window's own part of the tick.
  m_ctx.main.HS_Timer.Tick.connect([this] { tick(); });
}

std::filesystem::path RemoteAccess::programFile(const char* name) const {
  return m_ctx.host.programFolder() / name;
}

void RemoteAccess::open() {
  auto& r = m_ctx.remoteForm;
  if (!r.loaded) Form_Load();
  r.setVisible(true);
  Form_Activate();
}

void RemoteAccess::Form_Load() {
  auto& r = m_ctx.remoteForm;
  auto& w = m_ctx.main;
  r.loaded = true;
  m_ctx.CenterForm(w);
  // Right edge on the main window's right edge, a little below its top; never off the
  // screen's top.
  r.move(w.left() + w.width() - r.width(), std::max(0, w.top() - r.height() + kTopOffset));
  ReadRemote();
  showPortState();
  r.Drive1.setItems(drives());
  r.Drive1.setListIndex(0);
  Drive1_Click();
}

void RemoteAccess::Form_Activate() {
  auto& r = m_ctx.remoteForm;
  const std::filesystem::path tracking = programFile(kTrackingIni);
  std::error_code ec;
  if (!std::filesystem::exists(tracking, ec)) {
    // The lists beneath the call controls show; the user picks the program there.
    r.Frame13.setVisible(false);
    m_ctx.dialogs.messageBox("Enter path to MGstart.EXE", "Select path to MGstart.EXE",
                             MessageIcon::Exclamation, MessageButtons::Ok);
    return;
  }
  r.Frame13.setVisible(true);
  const auto values = readValues(tracking);
  if (values && !values->empty()) m_ctx.state.remote.mapGuidePath = values->back();
}

bool RemoteAccess::openPort() {
  return m_link.openOrReport();
}

void RemoteAccess::Command13_Click() {
  auto& r = m_ctx.remoteForm;
  auto& d = m_ctx.state.dispatch;
  const std::string number = r.Combo3.text();
  if (number.empty()) {
    m_ctx.showError("Destination number is missing");
    return;
  }
  d.remoteConnectPending = true;
  const auto& history = r.Combo3.items();
  if (std::find(history.begin(), history.end(), number) == history.end()) {
    r.Combo3.addItem(number);
    WriteRemote();
  }
  r.Label62.setCaption("... wait for connect");
  openPort();
  m_ctx.main.List3.addItem("send ATD" + number);
  m_link.sendOrReport("ATD" + number);
  r.setCaption(forms::kRemoteAccessTitle);
  r.Combo2.setListIndex(0);
  m_ctx.state.gps.gpsSentenceShown = r.Combo2.text();
  r.Command13.setEnabled(false);
  d.dataLinkState = "ON";
}

void RemoteAccess::Command14_Click() {
  auto& r = m_ctx.remoteForm;
  auto& d = m_ctx.state.dispatch;
  d.dataLinkState = "OFF";
  d.remoteConnectPending = false;
  m_ctx.main.List3.addItem("send +++ATH to modem");
  openPort();
  d.remoteLocalModePending = true;
  // The modem leaves the data call for its command mode after a second of silence each
  // side of the escape; its "OK" comes while the program waits.
  if (auto error = m_link.sendRaw("+++")) m_ctx.showError(link::SerialLink::errorText(*error));
  m_link.Delay(2);
  if (m_ctx.ended) return;
  m_link.sendOrReport("ATH");
  r.setCaption(forms::kRemoteTitle);
  r.Command13.setEnabled(true);
  ResetLEDs();
}

void RemoteAccess::Combo2_Click() {
  auto& r = m_ctx.remoteForm;
  app::SharedState& s = m_ctx.state;
  const bool portReady = openPort();
  const std::string chosen = r.Combo2.text();
  s.gps.gpsSentenceShown = chosen;
  m_ctx.port.discardInput();
  s.dispatch.receiveBuffer.clear();
  // While the call is dialled the line is the modem's: the device hears nothing yet.
  if (s.dispatch.remoteConnectPending || !portReady) return;
  m_link.sendOrReport(chosen == kAllProtocols ? device::cnfGps(device::kAllSentences)
                                              : device::cnfGps(chosen));
}

void RemoteAccess::Command18_Click() {
  if (openPort()) m_link.sendOrReport(device::cnfGps(std::string_view()));
  m_ctx.main.List3.addItem("...local protocol OFF");
}

void RemoteAccess::Command19_Click() {
  if (openPort()) m_link.sendOrReport(device::kRequestInterval);
}

void RemoteAccess::Text6_KeyUp(int key) {
  if (key != forms::TextBox::kEnterKey) return;
  auto& r = m_ctx.remoteForm;
  // An empty line sends its carriage return alone.
  if (openPort()) m_link.sendOrReport(r.Text6.text());
  r.Text6.setText("");
}

void RemoteAccess::m_port_Click() {
  if (m_ctx.port.isOpen()) {
    m_ctx.port.close();
  } else if (auto error = m_ctx.port.open()) {
    m_ctx.showError(error->description + " ,please check");
  }
  showPortState();
}

void RemoteAccess::m_exit_Click() {
  auto& r = m_ctx.remoteForm;
  if (m_ctx.port.cdHolding()) {
    m_ctx.showError("data connection active, please stop remote access");
    return;
  }
  openPort();
  // Unloaded: the next opening reads the history afresh.
  r.loaded = false;
  r.setVisible(false);
  r.Combo3.setItems({});
  r.Combo3.setText("");
  r.Label62.setCaption("");
  m_ctx.main.Tab1.setTab(forms::tabs::kTerminal);
  if (m_activateMain) m_activateMain();
}

void RemoteAccess::ReadRemote() {
  auto& r = m_ctx.remoteForm;
  const auto values = readValues(programFile(kRemoteIni));
  if (!values) return;
  for (const std::string& number : *values) {
    r.Combo3.addItem(number);
    r.Combo3.setText(r.Combo3.items().front());
  }
}

void RemoteAccess::WriteRemote() {
  const std::filesystem::path file = programFile(kRemoteIni);
  if (auto error = app::replaceFile(file, quotedLines(m_ctx.remoteForm.Combo3.items()))) {
    m_ctx.showError("The call history cannot be saved: " + *error);
  }
}

void RemoteAccess::Command16_Click() {
  auto& r = m_ctx.remoteForm;
  const std::string number = r.Combo3.text();
  if (number.empty()) {
    m_ctx.dialogs.messageBox("nothig to delete", "delete entry", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    return;
  }
  std::vector<std::string> kept;
  for (const std::string& entry : r.Combo3.items()) {
    if (entry != number) kept.push_back(entry);
  }
  r.Combo3.setItems(kept);
  if (!kept.empty()) r.Combo3.setText(kept.front());
  WriteRemote();
}

void RemoteAccess::Command17_Click() {
  auto& r = m_ctx.remoteForm;
  if (r.Combo3.items().empty()) {
    m_ctx.dialogs.messageBox("nothig to delete", "clear call history", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    return;
  }
  const MessageAnswer answer =
      m_ctx.dialogs.messageBox("delete all entries in call history", "delete call history",
                               MessageIcon::Question, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  r.Combo3.setItems({});
  r.Combo3.setText("");
  std::error_code ec;
  std::filesystem::remove(programFile(kRemoteIni), ec);
  if (ec) m_ctx.showError("Remote.ini cannot be deleted: " + ec.message());
}

namespace {
MapPosition positionOf(const forms::GpsForm& g) {
  return {g.Label61.caption(), g.Label87.caption(), g.Label86.caption(), g.Label62.caption()};
}
}  // namespace

void RemoteAccess::webMap(int zoom) {
  showMap(mapQuestAddress(m_ctx.state.remote.mapHost, positionOf(m_ctx.gpsForm), zoom));
}

void RemoteAccess::openStreetMap() {
  showMap(openStreetMapAddress(positionOf(m_ctx.gpsForm), kZoomed + 6));
}

// The address in the status line, then in the browser.
void RemoteAccess::showMap(const std::string& address) {
  m_ctx.remoteForm.Label62.setCaption(address);
  if (!m_ctx.shell.openUrl(address)) m_ctx.showError("No web browser opens " + address);
}

void RemoteAccess::showPortState() {
  m_ctx.remoteForm.m_port.setCaption(m_ctx.port.isOpen() ? "&close port" : "&open port");
}

void RemoteAccess::m_mapandguide_Click() {
  auto& w = m_ctx.main;
  if (m_ctx.port.isOpen()) {
    m_ctx.port.close();
    w.List3.addItem("COM port closed");
    showPortState();
  }
  w.List3.addItem("...check installation Map&Guide");
  const std::string& path = m_ctx.state.remote.mapGuidePath;
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(app::pathFromText(path), ec)) {
    w.List3.addItem("...failed");
    m_ctx.showError("MGstart.EXE not found in " + path);
    return;
  }
  w.List3.addItem("...OK");
  if (!m_ctx.shell.startProgram(path)) m_ctx.showError("The program cannot be started: " + path);
}

void RemoteAccess::Drive1_Click() {
  const std::string drive = m_ctx.remoteForm.Drive1.text();
  if (!drive.empty()) showFolder(app::pathFromText(drive));
}

void RemoteAccess::showFolder(const std::filesystem::path& folder) {
  auto& r = m_ctx.remoteForm;
  m_folder = folder;
  r.Label1.setCaption(app::pathText(folder));
  r.Dir1.clear();
  if (folder.has_relative_path()) r.Dir1.addItem("..");
  m_subfolders = subfolders(folder);
  for (const auto& name : m_subfolders) r.Dir1.addItem(app::pathText(name));
  r.File1.clear();
  m_files = filesIn(folder);
  for (const auto& name : m_files) r.File1.addItem(app::pathText(name));
}

void RemoteAccess::Dir1_DblClick() {
  auto& r = m_ctx.remoteForm;
  const int row = r.Dir1.listIndex();
  if (row < 0) return;
  const int up = m_folder.has_relative_path() ? 1 : 0;
  if (row < up) {
    showFolder(m_folder.parent_path());
  } else if (static_cast<std::size_t>(row - up) < m_subfolders.size()) {
    showFolder(m_folder / m_subfolders[static_cast<std::size_t>(row - up)]);
  }
}

void RemoteAccess::File1_DblClick() {
  auto& r = m_ctx.remoteForm;
  const int row = r.File1.listIndex();
  if (row < 0 || static_cast<std::size_t>(row) >= m_files.size()) return;
  const std::filesystem::path chosen = m_folder / m_files[static_cast<std::size_t>(row)];
  if (auto error =
          app::replaceFile(programFile(kTrackingIni), quotedLines({app::pathText(chosen)}))) {
    m_ctx.showError("The Map&Guide path cannot be saved: " + *error);
    return;
  }
  Form_Activate();
}

void RemoteAccess::firstReplyAfterStop(bool hasOk) {
  auto& r = m_ctx.remoteForm;
  m_ctx.state.dispatch.remoteLocalModePending = false;
  if (!hasOk) return;
  r.setCaption(forms::kRemoteTitle);
  r.Label62.setCaption("GPS  - local mode");
  r.Command13.setEnabled(true);
}

void RemoteAccess::connected() {
  auto& d = m_ctx.state.dispatch;
  d.remoteConnectPending = false;
  m_ctx.remoteForm.setCaption(forms::kRemoteAccessTitle);
  d.dataLinkState = "DATA";
  m_ctx.remoteForm.Label62.setCaption("connection established");
}

void RemoteAccess::callEnded(const char* status) {
  auto& r = m_ctx.remoteForm;
  auto& d = m_ctx.state.dispatch;
  d.dataLinkState = "OFF";
  d.remoteConnectPending = false;
  r.setCaption(forms::kRemoteTitle);
  r.Label62.setCaption(status);
  r.Command13.setEnabled(true);
  ResetLEDs();
}

void RemoteAccess::ResetLEDs() {
  for (forms::Label& lamp : m_ctx.remoteForm.Led1) lamp.setBackColor(kSystemInactiveBorder);
}

void RemoteAccess::tick() {
  if (m_ctx.ended) return;
  auto& r = m_ctx.remoteForm;
  const auto& g = m_ctx.gpsForm;
  r.m_tracking.setVisible(!g.Label61.caption().empty() && !g.Label86.caption().empty());

  if (m_ctx.port.ctsHolding()) {
    if (r.Label62.caption() == kSerialPortClosed) r.Label62.setCaption("");
    r.Frame13.setEnabled(true);
  } else {
    r.Label62.setCaption(kSerialPortClosed);
    r.Frame13.setEnabled(false);
  }

  const bool carrier = m_ctx.port.cdHolding();
  if (carrier) {
    m_ctx.state.dispatch.dataLinkState = "DATA";
    r.setCaption(forms::kRemoteControlOnTitle);
    r.Command13.setEnabled(false);
    r.Label62.setCaption(kRemoteAccess);
  } else if (m_carrierSeen) {
    // The carrier dropped: the window is the user's again. (Only on the drop: a call being
    // dialled has no carrier yet and keeps its caption and its disabled start button.)
    // The call is over, also when it ended without a "NO CARRIER" (after "ATH").
    m_ctx.state.dispatch.dataLinkState = "OFF";
    r.setCaption(forms::kRemoteTitle);
    r.Command13.setEnabled(true);
    if (r.Label62.caption() == kRemoteAccess) r.Label62.setCaption("remote connection released");
  }
  m_carrierSeen = carrier;
  runLamps(carrier);
}

void RemoteAccess::runLamps(bool carrier) {
  auto& lamps = m_ctx.remoteForm.Led1;
  int& t = m_ctx.state.remote.hsTickCount;
  const std::string& state = m_ctx.state.dispatch.dataLinkState;
  auto lamp = [&lamps](int i) -> forms::Label& { return lamps[static_cast<std::size_t>(i)]; };
  if (state == "ON") {
    // Two lights run from both ends to the middle while the call is dialled.
    if (t == 0) {
      lamp(0).setBackColor(kMagenta);
      lamp(5).setBackColor(kSystemInactiveBorder);
    } else {
      lamp(t).setBackColor(kMagenta);
      lamp(10 - t).setBackColor(kMagenta);
      lamp(t - 1).setBackColor(kSystemInactiveBorder);
      if (t >= 2) lamp(11 - t).setBackColor(kSystemInactiveBorder);
    }
    t = t >= 5 ? 0 : t + 1;
  } else if (state == "DATA" && carrier) {
    // One light runs along the row while the connection stands.
    lamp(t).setBackColor(kRed);
    lamp(t > 0 ? t - 1 : kLampCount - 1).setBackColor(kSystemInactiveBorder);
    t = t >= kLampCount - 1 ? 0 : t + 1;
  } else if (state == "OFF") {
    ResetLEDs();
    t = 0;
  }
}

}  // namespace d7o::remote
