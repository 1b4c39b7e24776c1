#include "sms/sms_tab.h"

#include "app/tarvik_ini.h"
#include "app/text.h"
#include "link/serial_link.h"
#include "sms/pdu_creator.h"

namespace d7o::sms {

namespace {
constexpr char kCtrlZ = 26;
constexpr const char* kToPduMode = "switch to PDU-Mode";
constexpr const char* kToTextMode = "switch to Text-Mode";
}  // namespace

SmsTab::SmsTab(app::Context& ctx, link::SerialLink& link, PduCreator& pduCreator)
    : m_ctx(ctx), m_link(link), m_pduCreator(pduCreator) {
  auto& w = m_ctx.main;
  w.Command16.Click.connect([this] { Command16_Click(); });
  w.Command17.Click.connect([this] { Command17_Click(); });
  w.Command18.Click.connect([this] { Command18_Click(); });
  w.DelSMS.Click.connect([this] { DelSMS_Click(); });
  w.Command4.Click.connect([this] { Command4_Click(); });
  w.Command5.Click.connect([this] { Command5_Click(); });
  w.Command6.Click.connect([this] { Command6_Click(); });
  w.Command42.Click.connect([this] { Command42_Click(); });
}

void SmsTab::send(const std::string& command) {
  m_link.sendOrReport(command);
}

void SmsTab::Command16_Click() {
  auto& w = m_ctx.main;
  auto& sms = m_ctx.state.sms;
  m_ctx.state.dispatch.receiveBuffer.clear();
  sms.pendingPromptText.clear();
  if (sms.pduModeActive) {
    send("AT+CMGF=0");
    m_link.Delay(2);
    sms.messageReference = sms.autoMessageReference ? 0 : sms.messageReference + 1;
    sms.pendingPromptText = w.Text6.text();
    // The PDU length line ends with two carriage returns.
    if (auto error = m_link.sendRaw("AT+CMGS=" + w.Text5.text() + "\r\r")) {
      m_ctx.showError(link::SerialLink::errorText(*error));
    }
    return;
  }
  send(m_ctx.state.link.manufacturer == "SIEMENS" ? "AT+CMGF=1;+CNMI=1,1,0;+CSMS=1"
                                                  : "AT+CMGF=1;+CNMI=1,1,0,0,0");
  m_link.Delay(2);
  std::string text;
  for (const char c : w.Text6.text()) {
    if (c != '\r' && c != '\n') text += c;
  }
  sms.pendingPromptText = text;
  send("AT+CMGS=\"" + w.Text5.text() + "\"");
}

void SmsTab::Command17_Click() {
  send(m_ctx.state.sms.pduModeActive ? "AT+CMGL=4" : "AT+CMGL=\"ALL\"");
}

void SmsTab::Command18_Click() {
  // The answer goes out as typed; Cancel gives "AT+CMGD=" alone, which the modem refuses.
  send("AT+CMGD=" + m_ctx.dialogs.inputBox("Enter SMS-Number for Delete", "Delete SMS", "1"));
}

void SmsTab::DelSMS_Click() {
  auto& sms = m_ctx.state.sms;
  if (app::numericValue(sms.smsDeleteLast) == 0) {
    send("AT+CPMS?");
    m_link.Delay(2);
  }
  if (sms.smsDeleteIndex > app::numericValue(sms.smsDeleteLast) - 1) {
    sms.smsDeleteRunning = false;
    sms.smsDeleteIndex = 0;
    return;
  }
  send("AT+CMGD=" + std::to_string(sms.smsDeleteIndex + 1));
  sms.smsDeleteRunning = true;
}

void SmsTab::Command4_Click() {
  auto& w = m_ctx.main;
  auto& sms = m_ctx.state.sms;
  sms.pduModeActive = !sms.pduModeActive;
  if (sms.pduModeActive) {
    // "AT+CMGF=0" goes out with the next "Send SMS".
    w.Command5.setEnabled(true);
    w.Command4.setCaption(kToTextMode);
    m_pduCreator.open();
    return;
  }
  w.Command5.setEnabled(false);
  w.Command4.setCaption(kToPduMode);
  send("AT+CMGF=1");
  m_link.Delay(2);
  w.Text5.setText(m_ctx.configItem(app::ini_index::kSmsNumber));
  w.Text6.setText(forms::kInitialSmsText);
  w.Text7.setText(m_ctx.configItem(app::ini_index::kServiceCentre));
}

void SmsTab::Command5_Click() {
  m_ctx.pduForm.Text14.setText(m_ctx.state.sms.serviceCentreNumber);
  m_pduCreator.open();
}

void SmsTab::Command6_Click() {
  m_ctx.main.Text7.setText("");
  send("AT+CSCA?");
}

void SmsTab::Command42_Click() {
  const std::string& number = m_ctx.main.Text7.text();
  const bool international = number.starts_with("00") || number.starts_with("+");
  send("AT+CSCA=\"" + number + "\"," + (international ? "145" : "129"));
}

void SmsTab::deletionAnswered() {
  auto& sms = m_ctx.state.sms;
  if (app::numericValue(sms.smsDeleteLast) == sms.smsDeleteIndex) sms.smsDeleteRunning = false;
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  if (app::contains(reply, "OK") || app::contains(reply, "+CMS ERROR: 0")) {
    ++sms.smsDeleteIndex;
    DelSMS_Click();
  }
}

void SmsTab::storeCounts() {
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  const std::size_t comma = reply.rfind(',');
  if (comma == std::string::npos) return;
  // The whole size, so a store of 100 or 255 positions is deleted to its end.
  std::string size;
  for (std::size_t i = comma + 1; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i) {
    size += reply[i];
  }
  m_ctx.state.sms.smsDeleteLast = size;
}

void SmsTab::newMessage() {
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  const std::size_t comma = reply.find(',');
  if (comma == std::string::npos) return;
  // Everything after the comma, the blanks of the line end included.
  const std::string position = reply.substr(comma + 1);
  if (m_ctx.state.link.manufacturer == "SIEMENS") {
    send("AT+CNMA");
    m_ctx.main.List3.addItem("new SMS received, stored to Pos. " + position + " on SIM card");
  } else {
    send("AT+CMGR=" + position);
  }
}

void SmsTab::textEcho() {
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  if (reply.find(kCtrlZ) == std::string::npos) return;
  auto& list = m_ctx.main.List3;
  if (list.count() > 1) list.removeItem(list.count() - 1);
  list.addItem("> " + reply);
}

void SmsTab::prompt() {
  auto& sms = m_ctx.state.sms;
  const std::string text = sms.pendingPromptText + kCtrlZ;
  sms.pendingPromptText.clear();
  if (auto error = m_link.sendRaw(text)) m_ctx.showError(link::SerialLink::errorText(*error));
}

void SmsTab::serviceCentre() {
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  const std::size_t open = reply.find('"');
  const std::size_t close = open == std::string::npos ? open : reply.find('"', open + 1);
  // Without the closing quote the number is not all there: the previous one stays.
  if (close == std::string::npos) return;
  const std::string number = reply.substr(open + 1, close - open - 1);
  m_ctx.state.sms.serviceCentreNumber = number;
  m_ctx.main.Text7.setText(number);
  m_ctx.pduForm.Text14.setText(number);
}

void SmsTab::textModeConfirmed() {
  m_ctx.state.sms.pduModeActive = false;
  m_ctx.main.Command4.setCaption(kToPduMode);
}

}  // namespace d7o::sms
