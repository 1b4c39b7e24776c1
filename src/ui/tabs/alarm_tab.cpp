#include "ui/alarm_sample_widget.h"
#include "ui/binders.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <array>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace d7o::ui::tabs {

QWidget* buildAlarmTab(forms::MainWindow& m) {
  auto* page = new QWidget;
  auto* frame4 = make<QGroupBox>(page, m.Frame4);
  auto* grid = new QGridLayout(frame4);

  // One column per input: its caption, kind and "set", destination, text, position, edge.
  struct Input {
    forms::Label& caption;
    forms::ComboBox& kind;
    forms::CommandButton& set;
    forms::TextBox& destination;
    forms::TextBox& alarmText;
    forms::CheckBox& appendPosition;
    forms::Frame& edges;
    std::array<forms::OptionButton*, 3> edge;
  };
  const Input inputs[] = {
      {m.Label34,
       m.Combo2,
       m.Command24,
       m.Text13,
       m.Text17,
       m.Check2,
       m.Frame15,
       {&m.Option3, &m.Option4, &m.Option9}},
      {m.Label35,
       m.Combo3,
       m.Command26,
       m.Text19,
       m.Text20,
       m.Check6,
       m.Frame16,
       {&m.Option5, &m.Option6, &m.Option8}},
      {m.Label36,
       m.Combo4,
       m.Command27,
       m.Text22,
       m.Text23,
       m.Check7,
       m.Frame17,
       {&m.Option10, &m.Option11, &m.Option7}},
  };
  int rowIndex = 1;
  for (forms::Label* l : {&m.Label37, &m.Label39, &m.Label40, &m.Label41, &m.Label42}) {
    grid->addWidget(make<QLabel>(frame4, *l), rowIndex++, 0);
  }
  int col = 1;
  for (const Input& in : inputs) {
    grid->addWidget(make<QLabel>(frame4, in.caption), 0, col, Qt::AlignCenter);
    auto* kind = make<QComboBox>(frame4, in.kind);
    grid->addLayout(row({kind, make<QPushButton>(frame4, in.set)}), 1, col);
    auto* destination = make<QLineEdit>(frame4, in.destination);
    destination->setMinimumWidth(kNumberFieldWidth);
    grid->addWidget(destination, 2, col);
    grid->addWidget(make<QLineEdit>(frame4, in.alarmText), 3, col);
    grid->addWidget(make<QCheckBox>(frame4, in.appendPosition), 4, col, Qt::AlignCenter);
    auto* edges = make<QGroupBox>(frame4, in.edges);
    auto* edgeLayout = new QVBoxLayout(edges);
    for (forms::OptionButton* o : in.edge) edgeLayout->addWidget(make<QRadioButton>(edges, *o));
    grid->addWidget(edges, 5, col);
    ++col;
  }

  // The lines as they go out, each editable before its "set".
  auto* lines = new QGridLayout;
  int lineRow = 0;
  for (auto [label, text] : {std::pair{&m.Label43, &m.Text24}, std::pair{&m.Label46, &m.Text25},
                             std::pair{&m.Label47, &m.Text26}, std::pair{&m.Label51, &m.Text28}}) {
    lines->addWidget(make<QLabel>(frame4, *label), lineRow, 0);
    auto* field = make<QLineEdit>(frame4, *text);
    field->setMinimumWidth(kCommandFieldWidth);
    lines->addWidget(field, lineRow++, 1);
  }
  lines->setColumnStretch(1, 1);
  grid->addWidget(makeRule(frame4, m.Frame8, QFrame::HLine), 6, 0, 1, 4);
  grid->addLayout(lines, 7, 0, 1, 4);
  grid->addWidget(makeRule(frame4, m.Frame9, QFrame::HLine), 8, 0, 1, 4);

  // OUT1: mode, the two times with their steppers, its "set" and the wiring sample.
  auto* frame7 = make<QGroupBox>(frame4, m.Frame7);
  auto* out = new QGridLayout(frame7);
  out->addWidget(make<QComboBox>(frame7, m.Combo5), 0, 0, 1, 4);
  auto timeRow = [&](int r, forms::Label& caption, forms::Label& time, forms::CommandButton& minus,
                     forms::CommandButton& plus) {
    out->addWidget(make<QLabel>(frame7, caption), r, 0);
    out->addLayout(stepper(frame7, minus, time, plus, "99999"), r, 1, 1, 3);
  };
  timeRow(1, m.Label44, m.Spin3, m.Command35, m.Command34);
  timeRow(2, m.Label45, m.Spin4, m.Command37, m.Command36);
  out->addWidget(make<QPushButton>(frame7, m.Command33), 3, 0, 1, 2);
  out->addWidget(make<QPushButton>(frame7, m.Command52), 3, 2, 1, 2);

  auto* device = new QVBoxLayout;
  device->addWidget(make<QPushButton>(frame4, m.Command28));
  device->addWidget(make<QPushButton>(frame4, m.Command32));
  device->addStretch(1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(frame7);
  auto* sample = make<AlarmSampleWidget>(frame4, m.Picture2);
  // Its place stays while it is hidden: "Sample" moves nothing on the tab.
  QSizePolicy keep = sample->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  sample->setSizePolicy(keep);
  bottom->addWidget(sample);
  bottom->addWidget(makeRule(frame4, m.Frame10, QFrame::VLine));
  bottom->addLayout(device);
  bottom->addStretch(1);
  grid->addLayout(bottom, 9, 0, 1, 4);
  for (int c = 1; c <= 3; ++c) grid->setColumnStretch(c, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(frame4);
  layout->addStretch(1);
  return page;
}

}  // namespace d7o::ui::tabs
