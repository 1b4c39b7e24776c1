#pragma once

#include "forms/controls.h"
#include "forms/form.h"

namespace d7o::forms {

// The 7-bit converter BinCode: the text to pack, every stage of the packing in its lists
// (each character as 8 bits, each octet as bits and as hex) and the packed result. It
// lives for the whole run; unloading it restores its design.
struct BinCodeForm : Form {
  BinCodeForm();

  void restoreDesign();

  bool loaded = false;

  Label Label3{*this, "Label3", "String to convert"};
  TextBox Text1{*this, "Text1"};  // text to convert
  TextBox Text2{*this, "Text2"};  // the character being converted, as 8 bits
  TextBox Text3{*this, "Text3"};  // emptied by "convert"
  Label Label4{*this, "Label4", "7-Bit converted String"};
  TextBox Text4{*this, "Text4"};  // the packed octets as hex
  Label Label1{*this, "Label1", "8-Bit binary"};
  ListBox List1{*this, "List1"};  // each septet as 8 bits, and a final 00000000
  Label Label5{*this, "Label5", "7-Bit binary"};
  ListBox List4{*this, "List4"};  // each octet as bits
  ListBox List2{*this, "List2"};  // the same rows as List4
  Label Label6{*this, "Label6", "Hex-Code"};
  ListBox List3{*this, "List3"};  // each octet as two hex digits
  CommandButton Command2{*this, "Command2", " convert to 7-Bit"};
  CommandButton Command1{*this, "Command1", "send to PDU-Creator"};
  CommandButton Command3{*this, "Command3", "cancel"};
};

}  // namespace d7o::forms
