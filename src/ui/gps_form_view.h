#pragma once

#include "app/application.h"
#include "forms/gps_form.h"
#include "gps/gps_fix.h"

#include <functional>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace d7o::ui {

class CompassPanel;
class ElidedLabel;

// The GPS analyzer window GPSform as Qt widgets. It shows the model's fix, compass and
// controls and forwards what the user does into it; it opens and closes as the model's
// form becomes visible or not. Destroy it before the Application.
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
  // A value label and the text of the fix it shows.
  struct TextValue {
    std::string gps::GpsFix::*field;
    QLabel* label;
  };
  // A value label's colour from the fix, on the back or the text.
  struct ColorValue {
    forms::Color gps::GpsFix::*field;
    QLabel* label;
    bool background;
  };
  // The widgets of one row of the satellite table.
  struct SatelliteRow {
    QLabel* nr;
    QLabel* el;
    QLabel* az;
    QLabel* lev;
    QProgressBar* bar;
  };

  QWidget* buildTimeAndPosition();
  QWidget* buildMotion();
  QWidget* buildCompass();
  QWidget* buildReceiver();
  QWidget* buildSolution();
  QWidget* buildSatellitePanel();
  QWidget* buildProtocolRow();

  QLabel* value(QWidget* parent, const char* name, std::string gps::GpsFix::*field,
                const char* widest);
  // Shows what changed in the fix since it was last shown; everything when `all`.
  void showFix(bool all);
  void showSatellites(bool all);
  void showNeedle();
  void followVisibility();

  app::Application& m_app;
  forms::GpsForm& m_model;
  std::vector<std::function<void()>> m_disconnects;

  std::vector<TextValue> m_texts;
  std::vector<ColorValue> m_colors;
  std::vector<QLabel*> m_prn;
  std::vector<SatelliteRow> m_rows;
  std::vector<forms::Color> m_barColors;
  ElidedLabel* m_gpsString = nullptr;
  CompassPanel* m_compass = nullptr;
  QWidget* m_check1 = nullptr;
  struct ProtocolBox {
    QCheckBox* widget;
    forms::CheckBox* control;
  };
  std::vector<ProtocolBox> m_protocolBoxes;
  // What the widgets show, so an update touches only the values that changed.
  gps::GpsFix m_shown;
  bool m_fixPending = false;
  static constexpr int kFixInterval = 100;  // ms
};

}  // namespace d7o::ui
