#include "ui/main_window_view.h"

#include "dispatch/receive_handler.h"
#include "ui/about_pictures.h"
#include "ui/accessible_names.h"
#include "ui/alarm_sample_widget.h"
#include "ui/binders.h"
#include "ui/refresh_beat.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QIcon>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStaticText>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace d7o::ui {

namespace {

constexpr int kLampSize = 16;
constexpr int kRefreshIntervalMs = 100;
constexpr int kDialIconSize = 32;
// Wide enough for a typed number, an initialisation string, a configuration string.
constexpr int kNumberFieldWidth = 180;
constexpr int kCommandFieldWidth = 320;
// Room for a few lines of a message, or a whole PDU of 140 octets.
constexpr int kSmsTextMinHeight = 96;

// The terminal's rows: one line each of at most the receive path's piece length in a
// fixed font, so every row has the same size. Measured once per font instead of shaping
// a line of text each time the view lays itself out (with every line a GPS device sends).
class TerminalRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // A row is a line as received, never changed: shaped once into a static text and drawn
  // from it each time the terminal scrolls, instead of being laid out again on every
  // picture (ten a second while a GPS device streams).
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QString text = index.data(Qt::DisplayRole).toString();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group =
        (option.state & QStyle::State_Enabled) == 0  ? QPalette::Disabled
        : (option.state & QStyle::State_Active) != 0 ? QPalette::Active
                                                     : QPalette::Inactive;
    if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const int textMargin = option.widget != nullptr
                               ? option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                     nullptr, option.widget) +
                                     1
                               : 3;
    const QFontMetrics metrics(option.font);
    const int top = option.rect.top() + (option.rect.height() - metrics.height()) / 2;
    painter->drawStaticText(QPointF(option.rect.left() + textMargin, top),
                            shaped(text, option.font));
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!m_size.isValid() || option.font != m_font) {
      m_font = option.font;
      m_size = QStyledItemDelegate::sizeHint(option, index);
      const int widest = option.fontMetrics.horizontalAdvance(
          QString(static_cast<qsizetype>(dispatch::ReceiveHandler::kLinePiece), QLatin1Char('W')));
      m_size.setWidth(std::max(m_size.width(), widest));
    }
    return m_size;
  }

 private:
  // The terminal holds at most a hundred or so lines; the cache is dropped when it holds
  // more than a few screens of them.
  static constexpr qsizetype kMaxShaped = 128;

  const QStaticText& shaped(const QString& text, const QFont& font) const {
    if (font != m_shapedFont || m_shaped.size() > kMaxShaped) {
      m_shaped.clear();
      m_shapedFont = font;
    }
    auto found = m_shaped.find(text);
    if (found == m_shaped.end()) {
      QStaticText line(text);
      // What the modem sent is never markup.
      line.setTextFormat(Qt::PlainText);
      line.prepare(QTransform(), font);
      found = m_shaped.insert(text, line);
    }
    return found.value();
  }

  mutable QFont m_font;
  mutable QSize m_size;
  mutable QFont m_shapedFont;
  mutable QHash<QString, QStaticText> m_shaped;
};

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

// A sunken line between groups of controls.
QFrame* makeRule(QWidget* parent, forms::Frame& control, QFrame::Shape shape) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(shape);
  rule->setFrameShadow(QFrame::Sunken);
  bindRule(rule, control);
  return rule;
}

// A status text box: the program writes it, the user reads it.
QLineEdit* makeStatusBox(QWidget* parent, forms::TextBox& control) {
  auto* box = new QLineEdit(parent);
  // Before binding: the binder keeps a box its view made read-only so.
  box->setReadOnly(true);
  bind(box, control);
  return box;
}

// Widgets side by side: a lamp and its caption, a label and its field, buttons.
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

// A page that scrolls instead of squeezing its controls when the window is small (the
// program starts it low).
QWidget* scrollable(QWidget* content) {
  auto* area = new QScrollArea;
  area->setWidget(content);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  return area;
}

// A label of one line that keeps its size while its text changes among `texts`: the
// controls beside it do not jump, and a fixed size keeps a change from laying out (and
// repainting) the whole tab again, as the clock changes with every sentence of a GPS
// device.
QLabel* makeSteadyLabel(QWidget* parent, forms::Label& control,
                        std::initializer_list<const char*> texts) {
  auto* label = make<QLabel>(parent, control);
  int widest = 0;
  for (const char* text : texts) {
    widest = std::max(widest, label->fontMetrics().horizontalAdvance(QString::fromLatin1(text)));
  }
  label->setFixedSize(widest, label->fontMetrics().height());
  return label;
}

// A number a stepper pair changes: "-", the value in a sunken box, "+".
QHBoxLayout* stepper(QWidget* parent, forms::CommandButton& minus, forms::Label& value,
                     forms::CommandButton& plus, const char* widest) {
  auto* shown = makeSteadyLabel(parent, value, {widest});
  shown->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // The frame needs room around the digits.
  shown->setFixedWidth(shown->width() + 2 * shown->frameWidth() + shown->margin() + 4);
  shown->setFixedHeight(shown->height() + 2 * shown->frameWidth());
  auto* minusButton = make<QPushButton>(parent, minus);
  auto* plusButton = make<QPushButton>(parent, plus);
  for (QPushButton* b : {minusButton, plusButton}) {
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("+ +")) + 16);
  }
  auto* layout = row({minusButton, shown, plusButton});
  layout->setSpacing(2);
  return layout;
}

// The mouse moving over `watched` itself (not a child) raises `move`.
class MouseMoveRelay : public QObject {
 public:
  MouseMoveRelay(QWidget* watched, forms::Signal<>& move) : QObject(watched), m_move(move) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A move over a child that does not take it comes up here too: only the surface counts.
    if (event->type() == QEvent::MouseMove) {
      const auto* move = static_cast<QMouseEvent*>(event);
      if (static_cast<QWidget*>(watched)->childAt(move->position().toPoint()) == nullptr) {
        m_move.emit();
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  forms::Signal<>& m_move;
};

// A value label beside a slider.
QLabel* makeValueLabel(QWidget* parent, forms::Label& control) {
  auto* label = makeSteadyLabel(parent, control, {"0000"});
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

MainWindowView::MainWindowView(app::Application& app, Activation activation, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_model(app.main()), m_activation(activation) {
  // The terminal and the clock follow a GPS device's every sentence: ten pictures a
  // second are as fast as anyone reads a scrolling terminal, at a third of the painting.
  new RefreshBeat(this, kRefreshIntervalMs);
  buildMenus();

  auto* tabs = new QTabWidget(this);
  for (int i = 0; i < m_model.Tab1.tabCount(); ++i) {
    QWidget* page = nullptr;
    switch (i) {
      case forms::tabs::kTerminal:
        page = buildTerminalTab();
        break;
      case forms::tabs::kVoiceCall:
        page = scrollable(buildVoiceCallTab());
        break;
      case forms::tabs::kSms:
        page = scrollable(buildSmsTab());
        break;
      case forms::tabs::kOptions:
        page = scrollable(buildOptionsTab());
        break;
      case forms::tabs::kAlarm:
        page = scrollable(buildAlarmTab());
        break;
      case forms::tabs::kGps:
        page = scrollable(buildGpsTab());
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

  nameForAssistiveTools(*this, m_model);
  bind(static_cast<QWidget*>(this), static_cast<forms::Form&>(m_model));
  m_visibility = m_model.changed.connect([this] { followVisibility(); });
}

MainWindowView::~MainWindowView() {
  m_model.changed.disconnect(m_visibility);
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
  // The clock: "PC-Time" or "GPS-Time", the time, "GMT" for the GPS time.
  const std::initializer_list<const char*> kClockTexts = {"PC-Time", "GPS-Time", "00:00:00", "GMT"};
  status->addLayout(column({makeSteadyLabel(page, m.Label12, kClockTexts),
                            makeSteadyLabel(page, m.Label48, kClockTexts),
                            makeSteadyLabel(page, m.Label14, kClockTexts)}));
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
  terminal->setItemDelegate(new TerminalRowDelegate(terminal));
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

QWidget* MainWindowView::buildVoiceCallTab() {
  auto* page = new QWidget;
  auto& m = m_model;
  auto* number = make<QLineEdit>(page, m.Text8);
  number->setMinimumWidth(kNumberFieldWidth);
  // A picture button: the control has no caption, its tooltip names it.
  auto* dial = make<QPushButton>(page, m.Command9);
  dial->setIcon(QIcon::fromTheme(QStringLiteral("call-start"),
                                 style()->standardIcon(QStyle::SP_DialogYesButton)));
  dial->setIconSize(QSize(kDialIconSize, kDialIconSize));

  auto* layout = new QGridLayout(page);
  layout->addWidget(make<QLabel>(page, m.Label4), 0, 0, 1, 2);
  layout->addWidget(number, 1, 0);
  layout->addWidget(dial, 1, 1);

  // The SIM phone book beside the number it reads into and writes from, in its outline.
  auto* book = new QFrame(page);
  bindOutline(book, m.Shape1);
  auto* grid = new QGridLayout(book);
  grid->addWidget(make<QPushButton>(book, m.Command11), 0, 0);
  grid->addWidget(make<QPushButton>(book, m.Command12), 0, 1);
  auto* entries = make<QListWidget>(book, m.List4);
  entries->setMinimumHeight(kSmsTextMinHeight);
  grid->addWidget(entries, 1, 0, 1, 4);
  grid->addWidget(make<QLabel>(book, m.Label21), 2, 0);
  auto* steps = new QHBoxLayout;
  steps->addWidget(make<QPushButton>(book, m.Command49));
  steps->addWidget(make<QPushButton>(book, m.Command47));
  auto* position = make<QLabel>(book, m.Label22);
  position->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  position->setAlignment(Qt::AlignCenter);
  position->setMinimumWidth(position->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
  steps->addWidget(position);
  steps->addWidget(make<QPushButton>(book, m.Command46));
  steps->addWidget(make<QPushButton>(book, m.Command48));
  grid->addLayout(steps, 2, 1, 1, 3);
  grid->addWidget(make<QLineEdit>(book, m.Text9), 3, 0);
  grid->addWidget(make<QRadioButton>(book, m.Option1), 3, 1);
  grid->addWidget(make<QRadioButton>(book, m.Option2), 3, 2);
  grid->addWidget(make<QLabel>(book, m.Label23), 3, 3);
  grid->addWidget(make<QPushButton>(book, m.Command13), 4, 0);
  grid->addWidget(make<QPushButton>(book, m.Command14), 4, 1);
  layout->addWidget(book, 2, 0, 1, 3);

  layout->setColumnStretch(2, 1);
  layout->setRowStretch(3, 1);
  return page;
}

QWidget* MainWindowView::buildSmsTab() {
  auto* page = new QWidget;
  auto& m = m_model;

  // What to send: number, text (a PDU in PDU mode, in hex), service centre.
  auto* number = make<QLineEdit>(page, m.Text5);
  number->setMinimumWidth(kNumberFieldWidth);
  auto* message = make<QPlainTextEdit>(page, m.Text6);
  message->setMinimumSize(kCommandFieldWidth, kSmsTextMinHeight);
  auto* centre = make<QLineEdit>(page, m.Text7);
  centre->setMinimumWidth(kNumberFieldWidth);
  auto* fields = new QVBoxLayout;
  fields->addWidget(make<QLabel>(page, m.Label8));
  fields->addWidget(number);
  fields->addWidget(make<QLabel>(page, m.Label9));
  fields->addWidget(message, 1);
  fields->addWidget(make<QLabel>(page, m.Label15));
  fields->addWidget(centre);

  // The buttons inside the shape drawn round them: sending and the store on the left, the
  // mode and the service centre on the right.
  auto* shape3 = new QFrame(page);
  bindOutline(shape3, m.Shape3);
  auto* buttons = new QGridLayout(shape3);
  int i = 0;
  for (forms::CommandButton* b : {&m.Command16, &m.Command4, &m.Command17, &m.Command5,
                                  &m.Command18, &m.Command6, &m.DelSMS, &m.Command42}) {
    buttons->addWidget(make<QPushButton>(shape3, *b), i / 2, i % 2);
    ++i;
  }
  auto* right = new QVBoxLayout;
  right->addWidget(shape3);
  right->addStretch(1);

  auto* layout = new QHBoxLayout(page);
  layout->addLayout(fields, 1);
  layout->addLayout(right);
  return page;
}

QWidget* MainWindowView::buildOptionsTab() {
  auto* page = new QWidget;
  auto& m = m_model;

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

QWidget* MainWindowView::buildAlarmTab() {
  auto* page = new QWidget;
  auto& m = m_model;
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
  bottom->addWidget(make<AlarmSampleWidget>(frame4, m.Picture2));
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

QWidget* MainWindowView::buildAboutTab() {
  auto* page = new QWidget;
  auto& m = m_model;
  // The tab's own surface: the mouse there clears the links' marks.
  page->setMouseTracking(true);
  new MouseMoveRelay(page, m.Tab1.MouseMove);

  auto* product = new AboutPicture(AboutPicture::Kind::Product, page);
  bind(product, m.Picture1);
  auto* modem = new AboutPicture(AboutPicture::Kind::Modem, page);
  bind(modem, m.Image1);
  auto* manual = new AboutPicture(AboutPicture::Kind::Manual, page);
  bind(manual, m.Image2);
  auto* text = make<QLabel>(page, m.Label10);
  text->setWordWrap(true);
  auto* link = make<QLabel>(page, m.Label13);
  link->setCursor(Qt::PointingHandCursor);
  link->setAutoFillBackground(true);

  auto* pictures = new QHBoxLayout;
  pictures->addWidget(product);
  pictures->addWidget(modem);
  pictures->addWidget(manual);
  pictures->addStretch(1);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(pictures);
  layout->addWidget(text);
  layout->addWidget(link, 0, Qt::AlignLeft);
  layout->addStretch(1);
  // The incoming call shows on the product picture.
  auto* incoming = make<QLabel>(product, m.Label1);
  incoming->setAlignment(Qt::AlignCenter);
  auto* onPicture = new QVBoxLayout(product);
  onPicture->addStretch(1);
  onPicture->addWidget(incoming);
  return page;
}

QWidget* MainWindowView::buildGpsTab() {
  auto* page = new QWidget;
  auto& m = m_model;
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
