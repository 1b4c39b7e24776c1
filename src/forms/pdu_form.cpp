#include "forms/pdu_form.h"

#include "forms/main_window.h"

namespace d7o::forms {

PduForm::PduForm() : Form("PDU", "Sample for send SMS in PDU - Mode") {
  resize(760, 620);
  Slider1.setMin(0);
  Slider1.setMax(255);
  Slider1.setTickFrequency(15);
  Text12.setMultiLine(true);
  Text22.setMultiLine(true);
  Text22.setReadOnly(true);
  Text16.setToolTip("national=81H, international=91H");
  Text14.setToolTip("enter SMSC number");
  Text2.setToolTip("SMS-Submit, VP-Field as Integer");
  Text3.setToolTip("MessageReference");
  Text5.setToolTip("national=81H, international=91H");
  Text6.setToolTip("enter DestinationPhoneNumber");
  Text8.setToolTip("00H-send as Short Message");
  Text9.setToolTip("Message Class (F0..F7)");
  Text13.setToolTip("Message Class (F0..F7)");
  Text10.setToolTip("A7H for 167 min.");
  Text11.setToolTip("UserDataLenth");
  Text12.setToolTip("Enter SMS-String");
  Text20.setToolTip("SMS-String Coded");
  Option3.setToolTip("immediate Display");
  Option4.setToolTip("Mobile Equipment");
  Option5.setToolTip("SIM specific Message");
  Option6.setToolTip("Terminate Equipment");
  Option7.setToolTip("SMS-7-Bit-Coding");
  Option8.setToolTip("SMS-8-Bit-Coding");
  Text21.setToolTip("paste a PDU (as listed by AT+CMGL=4 or AT+CMGR) to see its fields");
  restoreDesign();
}

void PduForm::restoreDesign() {
  loaded = false;
  setVisible(false);
  // The fields that others follow first (the behaviour derives Text1, Text7, Text13 ...
  // from them), then the derived ones, then the options: the designed selection raises
  // no Click.
  Slider1.setValue(167);
  Text10.setText("167");
  Text14.setText("");
  Text6.setText("0123456789");
  for (TextBox* box :
       {&Text1, &Text15, &Text4, &Text7, &Text11, &Text17, &Text20, &Text21, &Text22}) {
    box->setText("");
  }
  Text16.setText("91");
  Text2.setText("11");
  Text3.setText("00");
  Text5.setText("81");
  Text8.setText("00");
  Text9.setText("F6");
  Text13.setText("A7");
  Text12.setText(kInitialSmsText);
  Text12.setMaxLength(0);
  Check1.restoreDesignValue(true);
  for (OptionButton* chosen : {&Option9, &Option1, &Option12, &Option5, &Option8}) {
    chosen->restoreDesignValue();
  }
  deb.setCaption("");
  Command2.setEnabled(false);
}

}  // namespace d7o::forms
