#include "forms/bin_code_form.h"

namespace d7o::forms {

BinCodeForm::BinCodeForm() : Form("BinCode", "7-Bit Converter") {
  resize(640, 460);
  Text1.setMultiLine(true);
  Text1.setToolTip("to send SMS from PDU-Window");
  restoreDesign();
}

void BinCodeForm::restoreDesign() {
  loaded = false;
  setVisible(false);
  Text1.setText("");
  Text2.setText("Text2");
  Text3.setText("Text3");
  Text4.setText("");
  for (ListBox* list : {&List1, &List2, &List3, &List4}) list->clear();
}

}  // namespace d7o::forms
