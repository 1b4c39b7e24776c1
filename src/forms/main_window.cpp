#include "forms/main_window.h"

#include <initializer_list>

namespace d7o::forms {

namespace {
constexpr int kWidth = 980;
constexpr int kHeight = 640;
}  // namespace

MainWindow::MainWindow() : Form("REZEDEV7", kStandardTitle) {
  resize(kWidth, kHeight);
  Label2.setBackColor(colors::kRed);
  Label53.setVisible(false);
  List2.setVisible(false);
  Command31.setVisible(false);
  Command3.setVisible(false);
  Command1.setToolTip("check RSSI - Level and Network");
  List1.setToolTip("select Command or free row");
  List3.setToolTip("double click for send AT-Command, right mouse key for edit selected command");
  Command9.setToolTip("dial");
  // The phone book is read before an entry can be written; its entry controls wait.
  Command12.setEnabled(false);
  Text9.setText("Testnumber");
  Option2.setToolTip("Enter + before the PhoneNumber");
  for (Control* c : std::initializer_list<Control*>{&Text9, &Label21, &Label22, &Label23, &Option1,
                                                    &Option2, &Command46, &Command47, &Command48,
                                                    &Command49, &Command13, &Command14}) {
    c->setEnabled(false);
  }
  for (Slider* s : {&Slider1, &Slider2}) {
    s->setMax(255);
    s->setTickFrequency(15);
  }
  Slider1.setToolTip("change speaker level");
  Slider2.setToolTip("change microphone level");
  Command15.setToolTip("Reset for K7-1 and K7-3");
  Command29.setToolTip("send BREAK to V7-3-I");
  Command10.setToolTip("AT&W for save UserConfiguration");
  Command22.setEnabled(false);
  Command8.setToolTip("Reset for K7-1 and K7-3");
  Command30.setToolTip("Reset for K7-1 and K7-3");
  Text14.setEnabled(false);
  Label50.setCaption(
      "Each CNF button writes its line into the Configuration string; check or edit it there "
      "and send it with \"send to V7-3-I GPS\".");
  Spin2.setToolTip("DoubleClick=255, Click=0");
  Spin1.setToolTip("DoubleClick=9999, Click=0");
  Label49.setToolTip("DoubleClick=255, Click=0");
  Text29.setText("S");
  Text16.setText("Car number 222");
  List5.setMultiSelect(true);
  Text6.setMultiLine(true);
  Text6.setText(kInitialSmsText);
  Command5.setEnabled(false);
  Text17.setText("KEY1 switched");
  Text20.setText("KEY2 switched");
  Text23.setText("KEY3 switched");
  Picture2.setVisible(false);
  Image2.setToolTip("Documentation for K7");
  m_gps.setVisible(false);
  Label1.setVisible(false);
}

void MainWindow::attachTimers(platform::Scheduler* scheduler) {
  for (Timer* t : timers()) t->attach(scheduler);
}

}  // namespace d7o::forms
