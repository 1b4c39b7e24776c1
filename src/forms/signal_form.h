#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/trend_plot.h"

namespace d7o::forms {

// The signal window: the field strength over time with the registration beneath it, the
// current reading large enough to read from a step away, and the monitor that asks the
// modem for it while the dialogue is idle. A side window that stays open beside the main
// window; closing it only hides it.
struct SignalForm : Form {
  SignalForm();

  // The spans the plot can show, in minutes, in the order of the SignalSpan entries.
  static constexpr int kSpanMinutes[] = {10, 60, 360, 1440};
  static constexpr int kDefaultSpan = 1;  // the last hour
  static constexpr int kMinInterval = 2;  // the monitor's interval, in seconds
  static constexpr int kMaxInterval = 60;
  static constexpr int kDefaultInterval = 5;

  Label SignalNow{*this, "SignalNow", "no reading yet"};  // "-79 dBm", large
  Label SignalDetail{*this, "SignalDetail", ""};      // "RSSI 17, BER unknown, registered (home)"
  Label SignalOperator{*this, "SignalOperator", ""};  // from a "+COPS:" reply
  TrendPlot SignalPlot{*this, "SignalPlot"};
  Label SpanLabel{*this, "SpanLabel", "show the last"};
  ComboBox SignalSpan{
      *this, "SignalSpan", {"10 minutes", "hour", "6 hours", "24 hours"}, kDefaultSpan};
  Label SpanSummary{*this, "SpanSummary", ""};  // min, mean and max over the span shown
  CheckBox CheckMonitor{*this, "CheckMonitor", "monitor signal"};
  Label IntervalLabel{*this, "IntervalLabel", "every"};
  Slider SliderInterval{*this, "SliderInterval"};  // seconds between two polls
  Label IntervalValue{*this, "IntervalValue", "5 s"};
  Label MonitorState{*this, "MonitorState", "off"};  // what the monitor does, or waits for
  CommandButton CommandExport{*this, "CommandExport", "export CSV..."};
  CommandButton CommandClearTrend{*this, "CommandClearTrend", "clear"};
  CommandButton CommandClose{*this, "CommandClose", "close"};
};

}  // namespace d7o::forms
