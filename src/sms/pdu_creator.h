#pragma once

#include "app/context.h"
#include "sms/bin_code.h"

#include <functional>
#include <string>

namespace d7o::link {
class SerialLink;
}

namespace d7o::sms {

// DCS of a message class (0..3) in 7-bit or 8-bit coding: F0..F3, F4..F7.
std::string dcsFor(int messageClass, bool eightBit);
// The relative validity period in the PDU creator's words: 5 min. .. 720 min., 12.5 h ..
// 24 h, 2 day .. 30 day, 5 week .. 63 week; none for a value outside the four ranges.
std::optional<std::string> validityPeriodWords(double v);
// The semi-octet swap of an even-length digit string: "0123456789" -> "1032547698".
std::string swapPairs(const std::string& digits);

// The PDU creator window PDU: an SMS-SUBMIT assembled field by field for PDU mode, handed
// to the main window's "Send SMS"; and the 7-bit converter it opens.
class PduCreator {
 public:
  // `activateMain` runs when the main window becomes active again after this window.
  PduCreator(app::Context& ctx, link::SerialLink& link, std::function<void()> activateMain);

  // Hides the main window and shows this one (loaded afresh after an unload).
  void open();
  // Form_Activate: every time the window becomes active.
  void activate();

  void Command1_Click();  // "create PDU"
  void Command2_Click();  // "PDU to Host"
  void Command3_Click();  // "cancel"

 private:
  void scaLengthFromNumber();  // Text1 from the digits of Text14
  void scaNumberChanged();
  void destinationChanged();
  void validityPeriodChanged();
  void classOrCodingClicked(bool opensConverter);
  void decodePasted();
  int selectedClass() const;
  void unloadToMain();

  app::Context& m_ctx;
  link::SerialLink& m_link;
  std::function<void()> m_activateMain;
  BinCode m_converter;
};

}  // namespace d7o::sms
