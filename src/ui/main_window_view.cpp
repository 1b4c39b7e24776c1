#include "ui/main_window_view.h"

#include "ui/binders.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace d7o::ui {

namespace {

constexpr int kLampSize = 16;

// A widget of `parent`, bound to its control.
template <typename Widget, typename Control>
Widget* make(QWidget* parent, Control& control) {
  auto* widget = new Widget(parent);
  bind(widget, control);
  return widget;
}

QFrame* makeLamp(QWidget* parent, forms::Shape& control) {
  auto* lamp = make<QFrame>(parent, control);
  lamp->setFrameShape(QFrame::Box);
  lamp->setFixedSize(kLampSize, kLampSize);
  return lamp;
}

QLabel* makeLampLabel(QWidget* parent, forms::Label& control) {
  auto* lamp = make<QLabel>(parent, control);
  lamp->setFrameShape(QFrame::Box);
  lamp->setFixedSize(kLampSize, kLampSize);
  return lamp;
}

// A status text box: the program writes it, the user reads it.
QLineEdit* makeStatusBox(QWidget* parent, forms::TextBox& control) {
  auto* box = make<QLineEdit>(parent, control);
  box->setReadOnly(true);
  return box;
}

// A lamp or value with its caption beside it.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
  auto* layout = new QHBoxLayout;
  for (QWidget* w : widgets) layout->addWidget(w);
  return layout;
}

QVBoxLayout* column(std::initializer_list<QWidget*> widgets) {
  auto* layout = new QVBoxLayout;
  for (QWidget* w : widgets) layout->addWidget(w);
  return layout;
}

}  // namespace

MainWindowView::MainWindowView(app::Application& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_model(app.main()) {
  buildMenus();

  auto* tabs = new QTabWidget(this);
  for (int i = 0; i < m_model.Tab1.tabCount(); ++i) {
    QWidget* page = nullptr;
    switch (i) {
      case forms::tabs::kTerminal:
        page = buildTerminalTab();
        break;
      case forms::tabs::kOptions:
        page = buildOptionsTab();
        break;
      case forms::tabs::kGps:
        page = buildGpsTab();
        break;
      case forms::tabs::kAbout:
        page = buildAboutTab();
        break;
      default:
        page = new QWidget;
        break;
    }
    page->setObjectName(QStringLiteral("Tab1Page%1").arg(i));
    tabs->addTab(page, QString());
  }
  bind(tabs, m_model.Tab1);
  setCentralWidget(tabs);

  bind(static_cast<QWidget*>(this), static_cast<forms::Form&>(m_model));
}

void MainWindowView::buildMenus() {
  // Both are entries of the menu bar itself, clicked directly.
  for (forms::Menu* menu : {&m_model.m_exit, &m_model.m_gps}) {
    auto* action = new QAction(this);
    menuBar()->addAction(action);
    bind(action, *menu);
  }
}

QWidget* MainWindowView::buildTerminalTab() {
  auto* page = new QWidget;
  auto& m = m_model;

  // Status strip: network, field strength, CTS, clock.
  auto* status = new QHBoxLayout;
  status->addLayout(row({makeLampLabel(page, m.Label2), make<QLabel>(page, m.Label20)}));
  status->addSpacing(16);
  auto* gauge = make<QProgressBar>(page, m.Gauge1);
  gauge->setMinimumWidth(160);
  status->addLayout(column({make<QLabel>(page, m.Label11), gauge, make<QLabel>(page, m.Label25)}));
  status->addSpacing(16);
  status->addLayout(row({makeLamp(page, m.CTS), make<QLabel>(page, m.Label33)}));
  status->addSpacing(16);
  status->addLayout(column({make<QLabel>(page, m.Label12), make<QLabel>(page, m.Label48),
                            make<QLabel>(page, m.Label14)}));
  status->addSpacing(16);
  status->addWidget(make<QLabel>(page, m.Label53));
  status->addStretch(1);

  // Left column: the prepared commands and the module buttons.
  auto* left = new QVBoxLayout;
  left->addWidget(make<QLabel>(page, m.Label3));
  left->addWidget(make<QListWidget>(page, m.List1), 1);
  left->addWidget(make<QListWidget>(page, m.List2));
  auto* frame18 = make<QGroupBox>(page, m.Frame18);
  frame18->setLayout(
      row({make<QPushButton>(frame18, m.Command1), make<QPushButton>(frame18, m.Command2)}));
  left->addWidget(frame18);
  left->addLayout(row({make<QPushButton>(page, m.Command31), make<QPushButton>(page, m.Command3)}));

  // Right: the terminal and the port's state.
  auto* terminal = make<QListWidget>(page, m.List3);
  terminal->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  terminal->setUniformItemSizes(true);
  auto* right = new QVBoxLayout;
  right->addWidget(terminal, 1);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(makeStatusBox(page, m.Text1), 1);
  portRow->addWidget(makeStatusBox(page, m.Text2), 1);
  portRow->addWidget(makeStatusBox(page, m.Text3), 3);
  right->addLayout(portRow);

  auto* body = new QHBoxLayout;
  body->addLayout(left, 1);
  body->addLayout(right, 3);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(status);
  layout->addLayout(body, 1);
  return page;
}

QWidget* MainWindowView::buildOptionsTab() {
  auto* page = new QWidget;
  auto& m = m_model;

  auto* frame1 = make<QGroupBox>(page, m.Frame1);
  frame1->setLayout(column({make<QSlider>(frame1, m.Slider1), make<QSlider>(frame1, m.Slider2)}));

  auto* frame2 = make<QGroupBox>(page, m.Frame2);
  auto* frame12 = make<QGroupBox>(frame2, m.Frame12);
  frame12->setMinimumHeight(60);
  auto* initString = make<QLineEdit>(frame2, m.Text4);
  initString->setMinimumWidth(360);
  auto* frame2Layout = new QVBoxLayout(frame2);
  frame2Layout->addWidget(frame12);
  frame2Layout->addWidget(make<QCheckBox>(frame2, m.Check1));
  frame2Layout->addWidget(make<QCheckBox>(frame2, m.Check5));
  frame2Layout->addLayout(row({make<QLabel>(frame2, m.Label19), initString}));

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(frame1, 1);
  layout->addWidget(frame2, 2);
  return page;
}

QWidget* MainWindowView::buildAboutTab() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* incoming = make<QLabel>(page, m_model.Label1);
  incoming->setAlignment(Qt::AlignCenter);
  layout->addWidget(incoming);
  layout->addStretch(1);
  return page;
}

QWidget* MainWindowView::buildGpsTab() {
  auto* page = new QWidget;
  auto* frame3 = make<QGroupBox>(page, m_model.Frame3);
  frame3->setLayout(
      column({make<QLabel>(frame3, m_model.Label7), make<QLabel>(frame3, m_model.Label16)}));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(frame3);
  layout->addStretch(1);
  return page;
}

void MainWindowView::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  // From the event loop, once the window is on screen: Activate may wait for the modem.
  QTimer::singleShot(0, this, [this] {
    if (!m_app.context().ended) m_app.activate();
  });
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  // When the program ends by itself it closes this window; it is unloaded already then.
  if (!m_app.context().ended) m_app.unload();
  event->accept();
}

}  // namespace d7o::ui
