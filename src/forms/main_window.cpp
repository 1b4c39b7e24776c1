#include "forms/main_window.h"

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
  m_gps.setVisible(false);
  Label1.setVisible(false);
}

void MainWindow::attachTimers(platform::Scheduler* scheduler) {
  for (Timer* t : {&HS_Timer, &Timer1, &Timer2, &Timer3}) t->attach(scheduler);
}

}  // namespace d7o::forms
