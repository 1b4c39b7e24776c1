#include "ui/remote_form_view.h"

#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/elided_label.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace d7o::ui {

namespace {

constexpr int kRefreshIntervalMs = 40;
constexpr int kLampSize = 16;
constexpr int kNumberWidth = 200;

// A widget that shows only while the control covering it is hidden: the program folder's
// lists beneath the call controls.
class CoveredBinder : public Binder {
 public:
  CoveredBinder(QWidget* covered, forms::Control& cover)
      : Binder(covered, covered), m_covered(covered), m_cover(cover) {
    follow(cover.changed);
    show();
  }

 private:
  void show() override { m_covered->setVisible(!m_cover.visible()); }

  QWidget* m_covered;
  forms::Control& m_cover;
};

}  // namespace

RemoteFormView::RemoteFormView(app::Application& app, QWidget* parent)
    : ModalFormView(app, app.context().remoteForm, kRefreshIntervalMs, parent),
      m_model(app.context().remoteForm) {
  auto* layout = new QVBoxLayout(this);
  buildMenus(layout);

  // The call controls and the choice of the program share one place.
  auto* place = new QGridLayout;
  place->addWidget(buildFileChoice(), 0, 0);
  place->addWidget(buildCallControls(), 0, 0);
  layout->addLayout(place, 1);

  // A long map address is cut at the end (whole in the tooltip): it never widens the tool.
  auto* status = make<ElidedLabel>(this, m_model.Label62);
  status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(status);

  followForm([this] { m_model.m_exit.click(); });
}

void RemoteFormView::buildMenus(QLayout* layout) {
  auto& m = m_model;
  auto* bar = new QMenuBar(this);
  for (forms::Menu* menu : {&m.m_exit, &m.m_port}) {
    auto* action = new QAction(this);
    bar->addAction(action);
    bind(action, *menu);
  }
  auto* tracking = new QMenu(this);
  bar->addMenu(tracking);
  bind(tracking->menuAction(), m.m_tracking);
  for (forms::Menu* entry :
       {&m.m_mapquestzoom, &m.m_mapquestoverview, &m.m_openstreetmap, &m.m_mapandguide}) {
    auto* action = new QAction(tracking);
    tracking->addAction(action);
    bind(action, *entry);
  }
  layout->setMenuBar(bar);
}

QWidget* RemoteFormView::buildCallControls() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.Frame13);
  auto* grid = new QGridLayout(frame);

  auto* number = make<QComboBox>(frame, m.Combo3);
  number->setMinimumWidth(kNumberWidth);
  grid->addWidget(number, 0, 0);
  grid->addWidget(make<QPushButton>(frame, m.Command13), 0, 1);
  grid->addWidget(make<QPushButton>(frame, m.Command14), 0, 2);
  auto* history = new QHBoxLayout;
  history->addWidget(make<QPushButton>(frame, m.Command16));
  history->addWidget(make<QPushButton>(frame, m.Command17));
  history->addStretch(1);
  grid->addLayout(history, 1, 0);

  grid->addWidget(make<QLabel>(frame, m.Label52), 2, 0);
  grid->addWidget(make<QComboBox>(frame, m.Combo2), 3, 0);
  grid->addWidget(make<QPushButton>(frame, m.Command18), 3, 1);
  grid->addWidget(make<QPushButton>(frame, m.Command19), 3, 2);
  auto* command = make<QLineEdit>(frame, m.Text6);
  command->setPlaceholderText(QStringLiteral("a line for the remote device; Enter sends it"));
  grid->addWidget(command, 4, 0, 1, 3);

  auto* lamps = new QHBoxLayout;
  lamps->setSpacing(2);
  for (forms::Label& led : m.Led1) {
    auto* lamp = make<QLabel>(frame, led);
    lamp->setFrameShape(QFrame::Box);
    lamp->setFixedSize(kLampSize, kLampSize);
    lamps->addWidget(lamp);
  }
  lamps->addStretch(1);
  grid->addLayout(lamps, 5, 0, 1, 3);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(6, 1);
  return frame;
}

QWidget* RemoteFormView::buildFileChoice() {
  auto& m = m_model;
  auto* choice = new QWidget(this);
  auto* grid = new QGridLayout(choice);
  grid->addWidget(make<QComboBox>(choice, m.Drive1), 0, 0);
  auto* folder = make<QLabel>(choice, m.Label1);
  folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(folder, 0, 1);
  grid->addWidget(make<QListWidget>(choice, m.Dir1), 1, 0);
  grid->addWidget(make<QListWidget>(choice, m.File1), 1, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  new CoveredBinder(choice, m.Frame13);
  return choice;
}

}  // namespace d7o::ui
