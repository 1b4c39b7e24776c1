#include "ui/main_window_view.h"

#include "ui/accessible_names.h"
#include "ui/binders.h"
#include "ui/refresh_beat.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <optional>

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

namespace d7o::ui {

namespace {

constexpr int kRefreshIntervalMs = 100;

// QTabWidget lays itself out again and repaints all of itself at every layout request of
// a page, and a page asks whenever one of its labels gets a new text: the port's state
// once a second, the status line with every row, far more under a streaming device. Its
// layout depends on nothing but what its tab bar and its pages ask for, so a request
// that changes neither is answered here.
class TabLayoutGuard : public QObject {
 public:
  explicit TabLayoutGuard(QTabWidget* tabs)
      : QObject(tabs), m_tabs(tabs), m_pages(tabs->findChild<QStackedWidget*>()) {
    tabs->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != m_tabs || event->type() != QEvent::LayoutRequest || m_pages == nullptr) {
      return QObject::eventFilter(watched, event);
    }
    const Hints now{m_tabs->tabBar()->sizeHint(), m_tabs->tabBar()->minimumSizeHint(),
                    m_pages->sizeHint(), m_pages->minimumSizeHint()};
    if (m_last && *m_last == now) return true;
    m_last = now;
    return QObject::eventFilter(watched, event);
  }

 private:
  struct Hints {
    QSize bar, barMinimum, pages, pagesMinimum;
    bool operator==(const Hints&) const = default;
  };
  QTabWidget* m_tabs;
  QStackedWidget* m_pages;
  std::optional<Hints> m_last;
};

}  // namespace

MainWindowView::MainWindowView(app::Application& app, Activation activation, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_model(app.main()), m_activation(activation) {
  // The terminal and the clock follow a GPS device's every sentence: ten pictures a
  // second are as fast as anyone reads a scrolling terminal, at a third of the painting.
  new RefreshBeat(this, kRefreshIntervalMs);
  buildMenus();
  buildCaptureBar();

  auto* tabWidget = new QTabWidget(this);
  for (int i = 0; i < m_model.Tab1.tabCount(); ++i) {
    QWidget* page = nullptr;
    switch (i) {
      case forms::tabs::kTerminal:
        page = tabs::buildTerminalTab(m_model);
        break;
      case forms::tabs::kVoiceCall:
        page = tabs::scrollable(tabs::buildVoiceCallTab(m_model));
        break;
      case forms::tabs::kSms:
        page = tabs::scrollable(tabs::buildSmsTab(m_model));
        break;
      case forms::tabs::kOptions:
        page = tabs::scrollable(tabs::buildOptionsTab(m_model));
        break;
      case forms::tabs::kAlarm:
        page = tabs::scrollable(tabs::buildAlarmTab(m_model));
        break;
      case forms::tabs::kGps:
        page = tabs::scrollable(tabs::buildGpsTab(m_model));
        break;
      case forms::tabs::kAbout:
        page = tabs::buildAboutTab(m_model);
        break;
      default:
        page = new QWidget;
        break;
    }
    page->setObjectName(QStringLiteral("Tab1Page%1").arg(i));
    tabWidget->addTab(page, QString());
  }
  bind(tabWidget, m_model.Tab1);
  new TabLayoutGuard(tabWidget);
  setCentralWidget(tabWidget);
  fitEveryTab(*tabWidget);

  nameForAssistiveTools(*this, m_model);
  bind(static_cast<QWidget*>(this), static_cast<forms::Form&>(m_model));
  m_visibility = m_model.changed.connect([this] { followVisibility(); });
}

MainWindowView::~MainWindowView() {
  m_model.changed.disconnect(m_visibility);
  for (const auto& [control, connection] : m_captureBarParts)
    control->changed.disconnect(connection);
}

void MainWindowView::fitEveryTab(QTabWidget& tabWidget) {
  // The tabs that scroll when the window is small need their content's size, not the
  // scroll area's.
  QSize content;
  for (int i = 0; i < tabWidget.count(); ++i) {
    QWidget* page = tabWidget.widget(i);
    auto* area = qobject_cast<QScrollArea*>(page);
    QWidget* shown = area != nullptr && area->widget() != nullptr ? area->widget() : page;
    // Sizes as the style will draw them, which it decides when it polishes the widgets.
    shown->ensurePolished();
    for (QWidget* child : shown->findChildren<QWidget*>()) child->ensurePolished();
    if (shown->layout() != nullptr) shown->layout()->activate();
    content = content.expandedTo(shown->sizeHint()).expandedTo(shown->minimumSizeHint());
  }
  constexpr int kFrame = 8;  // the tab widget's frame and the page's margins
  QSize wanted(content.width() + kFrame, content.height() +
                                             tabWidget.tabBar()->sizeHint().height() +
                                             menuBar()->sizeHint().height() + kFrame);
  wanted = wanted.expandedTo(QSize(m_model.width(), m_model.height()));
  // On a smaller screen the window takes what there is, and its tabs scroll.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize room = screen->availableGeometry().size() - QSize(kFrame, 4 * kFrame);
    wanted = wanted.boundedTo(room);
  }
  if (wanted == QSize(m_model.width(), m_model.height())) return;
  m_model.resize(wanted.width(), wanted.height());
  // Centred again, as the program opens it.
  m_app.context().CenterForm(m_model);
}

void MainWindowView::followVisibility() {
  // Before its first showing the window is the caller's to show.
  if (!m_shown) return;
  if (!m_model.visible() && isVisible()) {
    hide();
  } else if (m_model.visible() && !isVisible()) {
    show();
  }
}

void MainWindowView::buildMenus() {
  // These are entries of the menu bar itself, clicked directly.
  for (forms::Menu* menu : {&m_model.m_exit, &m_model.m_gps, &m_model.m_signal}) {
    auto* action = new QAction(this);
    menuBar()->addAction(action);
    bind(action, *menu);
  }
  // "Capture" drops down its entries.
  auto* capture = new QMenu(this);
  capture->setObjectName(QStringLiteral("CaptureMenu"));
  menuBar()->addMenu(capture);
  bind(capture->menuAction(), m_model.m_capture);
  for (forms::Menu* entry :
       {&m_model.m_recordStart, &m_model.m_recordStop, &m_model.m_replay, &m_model.m_replayEnd}) {
    auto* action = new QAction(capture);
    capture->addAction(action);
    bind(action, *entry);
  }
}

void MainWindowView::buildCaptureBar() {
  // Under the menu bar, shown while a recording or a replay runs.
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("CaptureBar"));
  bar->setWindowTitle(QStringLiteral("capture"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->toggleViewAction()->setVisible(false);
  auto* state = new QLabel(bar);
  bar->addWidget(state);
  bind(state, m_model.CaptureState);
  bar->addSeparator();
  auto* position = new QLabel(bar);
  bar->addWidget(position);
  bind(position, m_model.ReplayPosition);
  auto* pause = new QPushButton(bar);
  bar->addWidget(pause);
  bind(pause, m_model.ReplayPause);
  auto* speed = new QComboBox(bar);
  bar->addWidget(speed);
  bind(speed, m_model.ReplaySpeed);
  auto* toEnd = new QPushButton(bar);
  bar->addWidget(toEnd);
  bind(toEnd, m_model.ReplayToEnd);
  addToolBar(Qt::TopToolBarArea, bar);
  const auto follow = [this, bar] {
    const bool shown = m_model.CaptureState.visible() || m_model.ReplayPosition.visible();
    if (bar->isVisibleTo(this) != shown) bar->setVisible(shown);
  };
  follow();
  for (forms::Control* c :
       std::initializer_list<forms::Control*>{&m_model.CaptureState, &m_model.ReplayPosition}) {
    m_captureBarParts.push_back({c, c->changed.connect(follow)});
  }
}

void MainWindowView::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_shown) return;
  // From now on the window follows the model's visibility, however it is activated.
  m_shown = true;
  if (m_activation != Activation::OnFirstShow) return;
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
