#pragma once

#include "app/application.h"
#include "forms/signal_form.h"
#include "ui/modal_form_view.h"

namespace d7o::ui {

// The signal window as Qt widgets: the current reading in large type, the plot (Qt Charts)
// of the field strength with the registration as a coloured band beneath it and the bit
// error rate, and the monitor's controls. Unlike the other side windows it does not hold
// the user: it stays open beside the main window while the antenna is moved. Destroy it
// before the Application.
class SignalFormView : public ModalFormView {
  Q_OBJECT

 public:
  explicit SignalFormView(app::Application& app, QWidget* parent = nullptr);

 private:
  QLayout* buildReading();
  QLayout* buildSpan();
  QLayout* buildMonitor();
  QLayout* buildButtons();

  forms::SignalForm& m_model;
};

}  // namespace d7o::ui
