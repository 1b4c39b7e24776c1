#include "link/module_init.h"

#include "app/tarvik_ini.h"
#include "app/text.h"
#include "link/modem_replies.h"
#include "link/serial_link.h"

namespace d7o::link {

using app::contains;
using namespace forms::colors;
using platform::MessageButtons;
using platform::MessageIcon;

namespace {
constexpr const char* kSiemens = "SIEMENS";
constexpr int kFullGain = 255;
}  // namespace

ModuleInit::ModuleInit(app::Context& ctx, SerialLink& link) : m_ctx(ctx), m_link(link) {
  auto& w = m_ctx.main;
  w.Command1.Click.connect([this] { Command1_Click(); });
  w.Command2.Click.connect([this] { Command2_Click(); });
  w.Tab1.Click.connect([this](int previous) { Tab1_Click(previous); });
}

void ModuleInit::restoreTitle() {
  m_ctx.main.setCaption(forms::kStandardTitle);
}

void ModuleInit::Command1_Click() {
  app::SharedState& s = m_ctx.state;
  if (!s.link.modemAnswered) return;
  auto& w = m_ctx.main;
  w.Label53.setVisible(false);
  w.Gauge1.setValue(0);
  w.List3.clear();
  if (s.link.iChipPresent) {
    w.List3.addItem("---> iChip test funtionality activated");
    w.List3.addItem("---> wait while initialization the modem");
  }
  s.link.networkPollCount = 0;
  s.link.simReady = false;
  w.Command1.setEnabled(false);
  w.Label25.setCaption("dbm");
  w.Label2.setBackColor(kRed);
  s.link.initAwaitingOk = true;
  s.link.initTickCount = 0;
  w.Timer2.setEnabled(true);
}

void ModuleInit::Command2_Click() {
  app::SharedState& s = m_ctx.state;
  if (!s.link.modemAnswered) return;
  auto& w = m_ctx.main;
  s.link.simReady = false;
  w.Gauge1.setValue(0);
  w.List3.clear();
  w.Timer1.setEnabled(false);
  s.link.networkPollCount = 0;
  const std::string pin = m_ctx.dialogs.inputBox("Enter PIN", "", kDefaultPin);
  if (pin.empty()) return;
  if (auto error = m_link.sendCommand("AT+CPIN=" + pin)) {
    m_ctx.showError(SerialLink::errorText(*error));
  }
}

void ModuleInit::Test_Manufacturer() {
  m_ctx.main.setCaption(forms::kInitialisingTitle);
  m_link.Delay(1);
  if (m_ctx.ended) return;
  m_link.sendCommand("AT+CGMI");
  // The wait let the rest of the SIM answer (its blank line and "OK") and whatever else the
  // modem said meanwhile arrive: none of it answers the query, so none of it counts as one
  // of its tries.
  afterReceivedSoFar([this] { m_ctx.state.link.manufacturerQueryPending = true; });
}

void ModuleInit::afterReceivedSoFar(std::function<void()> action) {
  if (m_receivePath != nullptr) {
    m_receivePath->afterReceivedSoFar(std::move(action));
  } else {
    action();
  }
}

void ModuleInit::Tab1_Click(int /*previousTab*/) {
  auto& w = m_ctx.main;
  const app::SharedState& s = m_ctx.state;
  w.Timer3.setEnabled(false);
  const int tab = w.Tab1.tab();
  switch (tab) {
    case forms::tabs::kVoiceCall:
    case forms::tabs::kSms:
      if (!s.link.modemAnswered) w.Tab1.setTab(forms::tabs::kVoiceCall);
      break;
    case forms::tabs::kOptions:
      if (!s.link.modemAnswered) {
        w.Tab1.setTab(forms::tabs::kVoiceCall);
      } else {
        w.Label5.setCaption(std::to_string(w.Slider1.value()));
        w.Label6.setCaption(std::to_string(w.Slider2.value()));
      }
      break;
    case forms::tabs::kAlarm:
    case forms::tabs::kGps:
      if (!s.link.modemAnswered) {
        w.Tab1.setTab(forms::tabs::kVoiceCall);
      } else if (!s.link.firmwareSupported) {
        m_ctx.dialogs.messageBox(
            "Firmware revision incorrect or\ndevice is not a R7O-3 Alarm/GPS\nplease install the "
            "newest Firmware",
            "Firmware ERROR ", MessageIcon::Critical, MessageButtons::Ok);
        w.Tab1.setTab(forms::tabs::kTerminal);
      } else if (m_deviceTabShown) {
        m_deviceTabShown();
      }
      break;
    default:
      break;
  }
}

void ModuleInit::iChipAnswered() {
  m_ctx.main.Label53.setVisible(true);
}

void ModuleInit::moduleAnswered() {
  auto& w = m_ctx.main;
  w.List3.clear();
  m_ctx.state.link.initAwaitingOk = false;
  w.Timer2.setEnabled(false);
  w.Timer1.setEnabled(true);
  w.Label25.setCaption("dbm");
}

void ModuleInit::errorReply() {
  auto& w = m_ctx.main;
  w.Command1.setEnabled(true);
  w.Command2.setEnabled(true);
  w.Command31.setVisible(false);
  m_ctx.state.link.audioQueryPending = false;
}

void ModuleInit::simError(const std::string& status) {
  m_ctx.showError("SIM card Error, please check");
  m_ctx.main.Label25.setCaption(status);
  restoreTitle();
}

void ModuleInit::firmwareReply() {
  const auto version = firmwareVersionOf(m_ctx.state.dispatch.receiveBuffer);
  m_ctx.state.link.firmwareSupported = version && isSupportedFirmware(*version);
}

void ModuleInit::manufacturerFound() {
  app::SharedState& s = m_ctx.state;
  m_ctx.main.Command2.setEnabled(true);
  m_ctx.main.Timer1.setEnabled(true);
  s.link.manufacturerQueryPending = false;
  s.link.manufacturerTries = 0;
}

// Each match overwrites the one before, so a reply naming two makers ends with the last.
void ModuleInit::manufacturerReply() {
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;
  const std::string& reply = s.dispatch.receiveBuffer;
  ++s.link.manufacturerTries;
  bool found = false;
  if (contains(reply, "BRELLSTOWEN")) {
    s.link.manufacturer = "BRELLSTOWEN";
    w.Slider1.setMax(kFullGain);
    w.Slider2.setMax(kFullGain);
    found = true;
  }
  // A port header naming "VAD" marks the maker's own engine whatever the reply says.
  const bool vad = w.List2.count() > app::ini_index::kPortHeader &&
                   contains(w.List2.item(app::ini_index::kPortHeader), "VAD");
  if (contains(reply, "Tarvik") || contains(reply, "TARVIK") || vad) {
    s.link.manufacturer = "Tarvik";
    w.Frame12.setEnabled(true);
    if (contains(reply, "Tarvik")) {
      w.Slider1.setMax(kFullGain);
      w.Slider2.setMax(kFullGain);
    }
    found = true;
  }
  if (contains(reply, kSiemens)) {
    s.link.manufacturer = kSiemens;
    w.Frame12.setEnabled(false);
    found = true;
  }
  if (found) manufacturerFound();
}

void ModuleInit::manufacturerUnknown() {
  m_ctx.state.link.manufacturer = "unknown";
  m_ctx.main.Frame12.setEnabled(true);
  manufacturerFound();
}

void ModuleInit::fieldStrength() {
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;
  const int rssi = rssiOf(s.dispatch.receiveBuffer);
  if (rssi == 99) {
    w.Label25.setCaption("RSSI not detectable");
    w.Label2.setBackColor(kLightRed);
    w.Gauge1.setValue(0);
    return;
  }
  // The top reading, 31 (-51 dBm or more), fills the gauge as the strongest field does.
  if (rssi <= 31) w.Gauge1.setValue(3 * rssi);
  s.link.rssiDbm = dbmOfRssi(rssi);
  w.Label25.setCaption(std::to_string(s.link.rssiDbm) + " dbm");
  // The reading sits with its right edge under the middle of the gauge.
  w.Label25.setLeft(w.Gauge1.left() + w.Gauge1.width() / 2 - w.Label25.width());
}

void ModuleInit::registration() {
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;
  const int status = registrationStatusOf(s.dispatch.receiveBuffer);
  if (status != 1 && status != 5) {
    w.Label2.setBackColor(kRed);  // not (yet) registered: the poll goes on
    return;
  }
  w.Label2.setBackColor(kGreen);
  if (s.link.manufacturer != kSiemens && w.Timer1.enabled()) {
    // The registration the sequence waited for: the configured string, and the gains.
    m_link.sendCommand(w.Text4.text() + ";+VGR?" + ";+VGT?");
    s.link.audioQueryPending = true;
  } else if (s.link.manufacturer == kSiemens) {
    m_link.sendCommand("AT+CMGF=1;+CNMI=1,1,0");
    w.Slider1.setMax(4);
    w.Slider1.setValue(3);
    w.Slider2.setMax(7);
    w.Slider2.setValue(6);
    restoreTitle();
    w.Text3.setBackColor(kSystemMenu);
  } else {
    m_link.sendCommand("AT+CMGF=1;+CNMI=1,1,0,0,0");
  }
  w.Timer1.setEnabled(false);
  w.Command1.setEnabled(true);
}

void ModuleInit::initComplete() {
  app::SharedState& s = m_ctx.state;
  if (s.link.manufacturer != kSiemens) m_link.sendCommand("&REQ TM");
  if (s.link.iChipPresent) m_link.sendCommand("AT+iRP1");
  restoreTitle();
  m_ctx.main.Text3.setBackColor(kSystemMenu);
}

void ModuleInit::pinAccepted() {
  m_ctx.state.link.pinSentAwaitingOk = false;
  Command1_Click();
}

app::Flow ModuleInit::simStatus() {
  app::SharedState& s = m_ctx.state;
  auto& w = m_ctx.main;
  if (contains(s.dispatch.receiveBuffer, "READY")) {
    if (s.link.simReady) {
      // A repeated report: shown as it came, nothing else done, not logged.
      w.List3.addItem(s.dispatch.receiveBuffer);
      w.List3.setListIndex(w.List3.count() - 1);
      s.dispatch.receiveBuffer.clear();
      return app::Flow::EndHandling;
    }
    s.link.simReady = true;
    s.link.pinDialogActive = false;
    Test_Manufacturer();
    return app::Flow::Continue;
  }
  if (contains(s.dispatch.receiveBuffer, "SIM PIN")) {
    // The port stays unread while the box is open; what arrives meanwhile waits in it.
    s.link.pinDialogActive = true;
    s.dispatch.receiveBuffer.clear();
    w.Timer1.setEnabled(false);
    const std::string pin = m_ctx.dialogs.inputBox(
        "SIM/PIN - Error, check SIM-Card\nand Enter PIN !!!", "SIM / PIN - Error", kDefaultPin);
    if (pin.empty()) {
      m_ctx.showError("PIN incorrect, exit program");
      m_ctx.endProgram(1);
      return app::Flow::EndHandling;
    }
    s.link.simReady = true;
    m_link.sendCommand("AT+CPIN=\"" + pin + "\"");
    s.link.pinDialogActive = false;
    // The "OK" that ends the SIM query is still on its way; only a later one answers the PIN.
    afterReceivedSoFar([&s] { s.link.pinSentAwaitingOk = true; });
  }
  return app::Flow::Continue;
}

}  // namespace d7o::link
