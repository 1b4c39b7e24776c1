#pragma once

#include "app/context.h"

namespace d7o::link {
class SerialLink;
}

namespace d7o::sms {

// The SIM phone book on the "Voice-Call" tab: read into a list, an entry picked for
// dialling from memory, one entry written back. The number is the call-number field Text8.
class PhoneBook {
 public:
  PhoneBook(app::Context& ctx, link::SerialLink& link);

  void Command11_Click();  // "read Phone - Book"
  void List4_Click();      // pick an entry: ">n" for the dial
  void Command12_Click();  // "new PhoneBookEntry "
  void step(int delta);    // "+", "-", "+ +", "- -"
  void Option1_Click();    // "national"
  void Option2_Click();    // "international"
  void Command13_Click();  // "write to Phonebook"
  void Command14_Click();  // "cancel"

  // Reply rows.
  void storageSize();  // 23: "+CPBS: " and a double quote
  void entry();        // 24: "+CPBR: "

 private:
  void enableEntry(bool enabled);

  app::Context& m_ctx;
  link::SerialLink& m_link;
};

}  // namespace d7o::sms
