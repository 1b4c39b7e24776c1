#pragma once

#include "app/application.h"
#include "forms/gps_form.h"
#include "ui/modal_form_view.h"

namespace d7o::ui {

// The GPS analyzer window GPSform as Qt widgets, each bound to its control of the model;
// it opens and closes as the model's form becomes visible or not. Destroy it before the
// Application.
class GpsFormView : public ModalFormView {
  Q_OBJECT

 public:
  explicit GpsFormView(app::Application& app, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildTimeAndPosition();
  QWidget* buildMotion();
  QWidget* buildCompass();
  QWidget* buildReceiver();
  QWidget* buildSolution();
  QWidget* buildSatellitePanel();
  QWidget* buildStatisticsPanel();
  QWidget* buildProtocolRow();

  forms::GpsForm& m_model;
  QWidget* m_check1 = nullptr;
};

}  // namespace d7o::ui
