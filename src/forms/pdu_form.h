#pragma once

#include "forms/controls.h"
#include "forms/form.h"

namespace d7o::forms {

// The PDU creator PDU: one box per field of an SMS-SUBMIT, in PDU order, the options that
// fill the type, PID and DCS octets, and the finished PDU. It lives for the whole run;
// unloading it restores its design, so the next opening starts from the initial texts.
struct PduForm : Form {
  PduForm();

  // Back to the window as designed (initial texts and options), hidden, not loaded.
  void restoreDesign();

  bool loaded = false;

  // --- service centre ---
  Frame Frame1{*this, "Frame1", "ServiceCenterAddress"};
  OptionGroup scaGroup;
  OptionButton Option11{*this, "Option11", "none (from AT+CSCA)", scaGroup};
  OptionButton Option10{*this, "Option10", "national", scaGroup};
  OptionButton Option9{*this, "Option9", "international (without + or 00)", scaGroup, true};
  TextBox Text1{*this, "Text1"};    // SCA length in octets; "00": none
  TextBox Text16{*this, "Text16"};  // SCA type of address
  TextBox Text14{*this, "Text14"};  // SCA number as typed
  TextBox Text15{*this, "Text15"};  // SCA digits, swapped

  // --- first octet and message reference ---
  Label Label1{*this, "Label1", "PDU-Type"};
  TextBox Text2{*this, "Text2"};
  Label Label3{*this, "Label3", "MR"};
  TextBox Text3{*this, "Text3"};
  CheckBox Check1{*this, "Check1", "auto", true};

  // --- destination ---
  Frame Frame2{*this, "Frame2", "DestinationAddress"};
  OptionGroup destinationGroup;
  OptionButton Option1{*this, "Option1", "national ", destinationGroup, true};
  OptionButton Option2{*this, "Option2", "international (without + or 00)", destinationGroup};
  TextBox Text4{*this, "Text4"};  // length in digits
  TextBox Text5{*this, "Text5"};  // type of address
  Label Label6{*this, "Label6", "Digits"};
  TextBox Text6{*this, "Text6"};  // number as typed
  TextBox Text7{*this, "Text7"};  // digits, swapped

  // --- protocol identifier ---
  Frame Frame4{*this, "Frame4", "Protocol-Identifier"};
  OptionGroup pidGroup;
  OptionButton Option12{*this, "Option12", "Short Message", pidGroup, true};
  OptionButton Option14{*this, "Option14", "Telex", pidGroup};
  OptionButton Option13{*this, "Option13", "Grp3-Fax", pidGroup};
  OptionButton Option15{*this, "Option15", "Grp4-Fax", pidGroup};
  TextBox Text8{*this, "Text8"};

  // --- data coding scheme ---
  Frame Frame5{*this, "Frame5", "DataCodingScheme"};
  Frame Frame3{*this, "Frame3", "Message Class"};
  OptionGroup classGroup;
  OptionButton Option3{*this, "Option3", "Class 0", classGroup};
  OptionButton Option4{*this, "Option4", "Class 1", classGroup};
  OptionButton Option5{*this, "Option5", "Class 2", classGroup, true};
  OptionButton Option6{*this, "Option6", "Class 3", classGroup};
  OptionGroup codingGroup;
  OptionButton Option7{*this, "Option7", "7-Bit-Coding", codingGroup};
  OptionButton Option8{*this, "Option8", "8-Bit-Coding", codingGroup, true};
  TextBox Text9{*this, "Text9"};

  // --- validity period ---
  Frame Frame6{*this, "Frame6", "validity Period"};
  Label Label10{*this, "Label10", "VP"};
  TextBox Text13{*this, "Text13"};  // the VP octet
  TextBox Text10{*this, "Text10"};  // the VP as decimal 0..255
  Slider Slider1{*this, "Slider1"};
  Label Label7{*this, "Label7", "0..255"};
  TextBox Text17{*this, "Text17"};  // the period in words
  Label Label15{*this, "Label15", "Time from where the"};
  Label Label4{*this, "Label4", "Message is no longer "};
  Label Label5{*this, "Label5", "   valid in SMSC "};

  // --- user data ---
  Frame Frame7{*this, "Frame7", "User Data"};
  Label Label11{*this, "Label11", "UDL"};
  TextBox Text11{*this, "Text11"};  // user-data length
  TextBox Text12{*this, "Text12"};  // message text, or the converter's hex

  // --- result ---
  TextBox Text20{*this, "Text20"};  // the finished PDU
  Label deb{*this, "deb", ""};      // the length for AT+CMGS
  CommandButton Command1{*this, "Command1", "create PDU"};
  CommandButton Command2{*this, "Command2", "PDU to Host"};
  CommandButton Command3{*this, "Command3", "cancel"};

  // --- reading a PDU back: pasted from the terminal, every field decoded ---
  Frame Frame8{*this, "Frame8", "decode PDU"};
  TextBox Text21{*this, "Text21"};  // a PDU as hex
  TextBox Text22{*this, "Text22"};  // its fields, one a line
};

}  // namespace d7o::forms
