#pragma once

#include "forms/controls.h"

#include <QWidget>

namespace d7o::ui {

// The wiring sample of the alarm tab: a contact on each alarm input IN1..IN3 (pins 11, 12,
// 13) of the device and a load on its output OUT1. It only draws.
class AlarmSampleWidget : public QWidget {
  Q_OBJECT

 public:
  explicit AlarmSampleWidget(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Shown while the picture control is visible; named after it.
void bind(AlarmSampleWidget* widget, forms::PictureBox& control);

}  // namespace d7o::ui
