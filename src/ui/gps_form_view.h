#pragma once

#include "app/application.h"
#include "forms/gps_form.h"

#include <QWidget>

namespace d7o::ui {

// The GPS analyzer window GPSform as Qt widgets, each bound to its control of the model;
// it opens and closes as the model's form becomes visible or not. Destroy it before the
// Application.
class GpsFormView : public QWidget {
  Q_OBJECT

 public:
  explicit GpsFormView(app::Application& app, QWidget* parent = nullptr);
  ~GpsFormView() override;
  GpsFormView(const GpsFormView&) = delete;
  GpsFormView& operator=(const GpsFormView&) = delete;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildTimeAndPosition();
  QWidget* buildMotion();
  QWidget* buildCompass();
  QWidget* buildReceiver();
  QWidget* buildSolution();
  QWidget* buildSatellitePanel();
  QWidget* buildProtocolRow();
  void followVisibility();

  app::Application& m_app;
  forms::GpsForm& m_model;
  forms::Signal<>::Connection m_visibility = 0;
  QWidget* m_check1 = nullptr;
};

}  // namespace d7o::ui
