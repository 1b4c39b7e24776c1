#include "forms/signal_form.h"

namespace d7o::forms {

SignalForm::SignalForm() : Form("Signal", "Signal and registration") {
  resize(720, 520);
  SliderInterval.setMin(kMinInterval);
  SliderInterval.setMax(kMaxInterval);
  SliderInterval.setValue(kDefaultInterval);
  SliderInterval.setToolTip("seconds between two field-strength requests (AT+CSQ)");
  CheckMonitor.setToolTip(
      "ask the modem for the field strength (AT+CSQ) while nothing else waits for it");
  SignalSpan.setToolTip("the time the plot shows");
  CommandExport.setToolTip("write every reading as CSV: time, RSSI, dBm, BER, registration");
  CommandClearTrend.setToolTip("forget the readings so far");
}

}  // namespace d7o::forms
