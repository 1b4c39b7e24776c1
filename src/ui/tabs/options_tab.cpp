#include "ui/binders.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace d7o::ui::tabs {

QWidget* buildOptionsTab(forms::MainWindow& m) {
  auto* page = new QWidget;

  // Audio levels: caption, slider, value, one row each.
  auto* frame1 = make<QGroupBox>(page, m.Frame1);
  auto* levels = new QGridLayout(frame1);
  levels->addWidget(make<QLabel>(frame1, m.Label17), 0, 0);
  levels->addWidget(make<QSlider>(frame1, m.Slider1), 0, 1);
  levels->addWidget(makeValueLabel(frame1, m.Label5), 0, 2);
  levels->addWidget(make<QLabel>(frame1, m.Label18), 1, 0);
  levels->addWidget(make<QSlider>(frame1, m.Slider2), 1, 1);
  levels->addWidget(makeValueLabel(frame1, m.Label6), 1, 2);
  levels->addWidget(make<QPushButton>(frame1, m.Command53), 2, 1, Qt::AlignLeft);
  levels->setColumnStretch(1, 1);
  levels->setRowStretch(3, 1);

  auto* frame2 = make<QGroupBox>(page, m.Frame2);

  // Ringer melody: the melody and where it rings, then "set" with its firmware note.
  auto* frame12 = make<QGroupBox>(frame2, m.Frame12);
  auto* frame13 = make<QGroupBox>(frame12, m.Frame13);
  auto* ringer = new QHBoxLayout(frame13);
  ringer->addWidget(make<QComboBox>(frame13, m.Combo1));
  ringer->addWidget(make<QRadioButton>(frame13, m.Option13));
  ringer->addWidget(make<QRadioButton>(frame13, m.Option12));
  ringer->addStretch(1);
  auto* melody = new QGridLayout(frame12);
  melody->addWidget(make<QLabel>(frame12, m.Label38), 0, 0);
  melody->addWidget(frame13, 0, 1);
  melody->addWidget(make<QPushButton>(frame12, m.Command51), 1, 0);
  melody->addWidget(make<QLabel>(frame12, m.Label32), 1, 1);
  melody->setColumnStretch(1, 1);

  auto* frame6 = make<QGroupBox>(frame2, m.Frame6);
  auto* resets = new QHBoxLayout(frame6);
  resets->addWidget(make<QPushButton>(frame6, m.Command15));
  resets->addWidget(make<QPushButton>(frame6, m.Command29));
  resets->addStretch(1);

  auto* initString = make<QLineEdit>(frame2, m.Text4);
  initString->setMinimumWidth(kCommandFieldWidth);
  auto* configButtons =
      row({make<QPushButton>(frame2, m.Command7), make<QPushButton>(frame2, m.Command10)});
  configButtons->addStretch(1);

  auto* frame2Layout = new QVBoxLayout(frame2);
  frame2Layout->addWidget(frame12);
  frame2Layout->addWidget(frame6);
  frame2Layout->addWidget(make<QCheckBox>(frame2, m.Check1));
  frame2Layout->addWidget(make<QCheckBox>(frame2, m.Check5));
  frame2Layout->addLayout(row({make<QLabel>(frame2, m.Label19), initString}));
  frame2Layout->addLayout(configButtons);
  frame2Layout->addStretch(1);

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(frame1, 1);
  layout->addWidget(frame2, 2);
  return page;
}

}  // namespace d7o::ui::tabs
