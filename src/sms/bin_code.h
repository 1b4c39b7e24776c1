#pragma once

#include "app/context.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sms {

// ByteToBinary: the low eight bits of `code`, most significant first (65 -> "01000001").
std::string ByteToBinary(int code);
// BinaryToNumber: the value of a text of binary digits; any other character counts as 0.
int BinaryToNumber(std::string_view text);

// Every stage of packing a text into GSM septets, as the converter's lists show it.
struct SeptetWalk {
  std::vector<std::string> septetBits;  // List1: each septet as 8 bits, then "00000000"
  std::vector<std::string> octetBits;   // List4 (and List2): each packed octet as 8 bits
  std::vector<std::string> octetHex;    // List3: each packed octet as two hex digits
  std::string hex;                      // the packed octets, the result
  int septets = 0;                      // the user-data length of the packed text
  std::u32string notGsm;                // the characters that went as "?", in text order
};
// The text is in the windows' code page (Windows-1252, where the euro sign is 80); each
// character becomes its septet of the GSM default alphabet (an extension character two,
// ESC and its code; one outside both tables "?"), packed into exactly ceil(7 n / 8) octets.
SeptetWalk walkSeptets(std::string_view text);

// The 7-bit converter window BinCode: the PDU creator's user data packed into septets,
// and handed back as hex.
class BinCode {
 public:
  // `showPduCreator` shows the PDU creator again (it runs its activation).
  BinCode(app::Context& ctx, std::function<void()> showPduCreator);

  // Opened by the PDU creator's 7-bit option, which is hidden meanwhile.
  void open();

  void Command2_Click();  // " convert to 7-Bit"
  void Command1_Click();  // "send to PDU-Creator"
  void Command3_Click();  // "cancel"

 private:
  void unloadToPduCreator();

  app::Context& m_ctx;
  std::function<void()> m_showPduCreator;
};

}  // namespace d7o::sms
