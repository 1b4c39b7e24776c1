#pragma once

#include "app/context.h"

namespace d7o::link {
class SerialLink;
}

namespace d7o::sms {

class PduCreator;

// The "SMS" tab: sending in text and PDU mode through the modem's "> " prompt, listing,
// deleting one or all messages, the service-centre number, the mode switch, and the
// replies about messages.
class SmsTab {
 public:
  SmsTab(app::Context& ctx, link::SerialLink& link, PduCreator& pduCreator);

  void Command16_Click();  // "Send SMS"
  void Command17_Click();  // " List SMS"
  void Command18_Click();  // "Delete SMS"
  void DelSMS_Click();     // "Delete all SMS", and each next step of its chain
  void Command4_Click();   // "switch to PDU-Mode" / "switch to Text-Mode"
  void Command5_Click();   // "create new PDU"
  void Command6_Click();   // "read CSCA"
  void Command42_Click();  // "set CSCA"

  // Reply rows.
  void deletionAnswered();   // 18: "OK" or "+CMS ERROR: 0" while all are deleted
  void storeCounts();        // 19: "+CPMS: "
  void newMessage();         // 20: "+CMTI:"
  void textEcho();           // 25: the echo of a sent text, which ends with Ctrl-Z
  void prompt();             // 26: "> "
  void serviceCentre();      // 30: "+CSCA: " and a double quote
  void textModeConfirmed();  // 31: "+CMGF=1"

 private:
  void send(const std::string& command);

  app::Context& m_ctx;
  link::SerialLink& m_link;
  PduCreator& m_pduCreator;
};

}  // namespace d7o::sms
