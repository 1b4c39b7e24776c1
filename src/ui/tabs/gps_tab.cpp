#include "ui/binders.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace d7o::ui::tabs {

QWidget* buildGpsTab(forms::MainWindow& m) {
  auto* page = new QWidget;
  auto* frame3 = make<QGroupBox>(page, m.Frame3);
  auto* grid = new QGridLayout(frame3);

  // The staged line and the service centre, across the frame.
  auto* configuration = make<QLineEdit>(frame3, m.Text10);
  configuration->setMinimumWidth(kCommandFieldWidth);
  auto* staged = new QGridLayout;
  staged->addWidget(make<QLabel>(frame3, m.Label26), 0, 0);
  staged->addWidget(configuration, 0, 1);
  staged->addWidget(make<QPushButton>(frame3, m.Command22), 0, 2);
  staged->addWidget(make<QLabel>(frame3, m.Label7), 1, 0);
  staged->addWidget(make<QLineEdit>(frame3, m.Text14), 1, 1);
  staged->setColumnStretch(1, 1);
  grid->addLayout(staged, 0, 0, 1, 3);

  // The mode: the two automatic modes, the extra letters and the counter's start.
  auto* frame5 = make<QGroupBox>(frame3, m.Frame5);
  auto* mode = new QVBoxLayout(frame5);
  for (forms::OptionButton* o : {&m.Option14, &m.Option15}) {
    mode->addWidget(make<QRadioButton>(frame5, *o));
  }
  for (forms::CheckBox* c : {&m.Check3, &m.Check4}) mode->addWidget(make<QCheckBox>(frame5, *c));
  auto* counter = row({make<QLabel>(frame5, m.Label29)});
  counter->addLayout(stepper(frame5, m.Command41, m.Spin2, m.Command40, "9999"));
  counter->addWidget(make<QLabel>(frame5, m.Label31));
  counter->addStretch(1);
  mode->addLayout(counter);
  mode->addStretch(1);
  grid->addWidget(frame5, 1, 0);

  // The ignition line under the mode.
  auto* frame19 = make<QGroupBox>(frame3, m.Frame19);
  auto* ignition = new QVBoxLayout(frame19);
  ignition->addWidget(make<QCheckBox>(frame19, m.Check8));
  auto* delay = row({make<QLabel>(frame19, m.Label52)});
  delay->addLayout(stepper(frame19, m.Command43, m.Label49, m.Command44, "9999"));
  delay->addStretch(1);
  ignition->addLayout(delay);
  grid->addWidget(frame19, 2, 0);

  // Where the device's messages go, who signs them, how often.
  auto* frame14 = make<QGroupBox>(frame3, m.Frame14);
  auto* destination = new QVBoxLayout(frame14);
  auto* number = make<QLineEdit>(frame14, m.Text15);
  number->setMinimumWidth(kNumberFieldWidth);
  destination->addWidget(number);
  auto* kinds =
      row({make<QRadioButton>(frame14, m.Option16), make<QRadioButton>(frame14, m.Option17),
           make<QRadioButton>(frame14, m.Option18)});
  auto* kindLetter = make<QLineEdit>(frame14, m.Text29);
  kindLetter->setFixedWidth(kindLetter->fontMetrics().horizontalAdvance(QStringLiteral("WWW")) +
                            12);
  kinds->addWidget(kindLetter);
  kinds->addStretch(1);
  destination->addLayout(kinds);
  grid->addWidget(frame14, 1, 1);

  auto* sender = new QGridLayout;
  sender->addWidget(make<QLabel>(frame3, m.Label16), 0, 0);
  sender->addWidget(make<QLineEdit>(frame3, m.Text16), 0, 1);
  sender->addWidget(make<QLabel>(frame3, m.Label27), 1, 0);
  auto* interval = stepper(frame3, m.Command38, m.Spin1, m.Command39, "99999");
  interval->addStretch(1);
  sender->addLayout(interval, 1, 1);
  // The password: the new one goes out first, but the old one is asked first.
  sender->addWidget(make<QLabel>(frame3, m.Label30), 2, 0);
  sender->addWidget(make<QLineEdit>(frame3, m.Text11), 2, 1);
  sender->addWidget(make<QLabel>(frame3, m.Label28), 3, 0);
  sender->addWidget(make<QLineEdit>(frame3, m.Text30), 3, 1);
  sender->setRowStretch(4, 1);
  grid->addLayout(sender, 2, 1);

  // The NMEA sentences: a click marks or unmarks one.
  auto* sentences = new QVBoxLayout;
  sentences->addWidget(make<QLabel>(frame3, m.Label24));
  auto* list5 = make<QListWidget>(frame3, m.List5);
  list5->setMinimumHeight(list5->fontMetrics().height() * 7);
  sentences->addWidget(list5, 1);
  grid->addLayout(sentences, 1, 2, 2, 1);

  auto* device =
      row({make<QPushButton>(frame3, m.Command8), make<QPushButton>(frame3, m.Command30)});
  device->addStretch(1);
  grid->addLayout(device, 3, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  // An enlarged window gives the room below the controls, not inside their frames.
  grid->setRowStretch(4, 1);

  // The builders, top to bottom in the order of what they build, and how the tab works.
  auto* builders = new QVBoxLayout;
  for (forms::CommandButton* b :
       {&m.Command19, &m.Command20, &m.Command21, &m.Command23, &m.Command45, &m.Command25}) {
    builders->addWidget(make<QPushButton>(page, *b));
  }
  auto* hint = make<QLabel>(page, m.Label50);
  hint->setWordWrap(true);
  hint->setMaximumWidth(kNumberFieldWidth);
  builders->addWidget(hint);
  builders->addStretch(1);

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(frame3, 1);
  layout->addLayout(builders);
  return page;
}

}  // namespace d7o::ui::tabs
