#include "dispatch/receive_handler.h"
#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/elided_label.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <QCheckBox>
#include <QCursor>
#include <QFontDatabase>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStaticText>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStyledItemDelegate>

namespace d7o::ui::tabs {

namespace {

// The terminal's rows: one line each of at most the receive path's piece length in a
// fixed font, so every row has the same size. Measured once per font instead of shaping
// a line of text each time the view lays itself out (with every line a GPS device sends).
class TerminalRowDelegate : public QStyledItemDelegate {
 public:
  TerminalRowDelegate(QObject* parent, const forms::ListBox& rows)
      : QStyledItemDelegate(parent), m_rows(rows) {}

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
    // Time stamps put their time and mark before every row.
    const bool stamped = m_rows.showStamps();
    if (!m_size.isValid() || option.font != m_font || stamped != m_stamped) {
      m_font = option.font;
      m_stamped = stamped;
      m_size = QStyledItemDelegate::sizeHint(option, index);
      const std::size_t stamp = stamped ? forms::stampedRow({0, false}, "").size() : 0;
      const int widest = option.fontMetrics.horizontalAdvance(QString(
          static_cast<qsizetype>(dispatch::ReceiveHandler::kLinePiece + stamp), QLatin1Char('W')));
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

  const forms::ListBox& m_rows;
  mutable QFont m_font;
  mutable QSize m_size;
  mutable bool m_stamped = false;
  mutable QFont m_shapedFont;
  mutable QHash<QString, QStaticText> m_shaped;
};

// The terminal's scroll bar moves with every beat while a device streams. The raster
// engine hands a gradient fill taller than some hundred rows (the style's groove) to its
// thread pool and waits for it, which costs more in thread wake-ups than the painting
// itself. Painted in bands of fewer rows, every fill stays on this thread; the bar looks
// and behaves as the style's own.
class TerminalScrollBar : public QScrollBar {
 public:
  explicit TerminalScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    // Painted opaque, it is painted alone, not the tab and the window beneath it with it.
    setAutoFillBackground(true);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    if (m_pressed != QStyle::SC_None) {
      option.activeSubControls = m_pressed;
      option.state |= QStyle::State_Sunken;
    } else if (underMouse()) {
      option.activeSubControls = style()->hitTestComplexControl(
          QStyle::CC_ScrollBar, &option, mapFromGlobal(QCursor::pos()), this);
    }
    QPainter painter(this);
    const QRect dirty = event->rect();
    for (int top = dirty.top(); top <= dirty.bottom(); top += kBandRows) {
      painter.setClipRect(QRect(dirty.left(), top, dirty.width(), kBandRows) & dirty);
      style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    QStyleOptionSlider option;
    initStyleOption(&option);
    m_pressed = style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option,
                                               event->position().toPoint(), this);
    QScrollBar::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    m_pressed = QStyle::SC_None;
    QScrollBar::mouseReleaseEvent(event);
    update();
  }

 private:
  // Below the rows at which the raster engine starts sharing a fill out.
  static constexpr int kBandRows = 64;
  QStyle::SubControl m_pressed = QStyle::SC_None;
};

}  // namespace

QWidget* buildTerminalTab(forms::MainWindow& m) {
  auto* page = new QWidget;

  // Status strip: network, field strength, CTS, clock.
  auto* status = new QHBoxLayout;
  status->addLayout(row({makeLampLabel(page, m.Label2), make<QLabel>(page, m.Label20)}));
  status->addSpacing(16);
  auto* gauge = make<QProgressBar>(page, m.Gauge1);
  gauge->setMinimumWidth(160);
  status->addLayout(column({make<QLabel>(page, m.Label11), gauge, make<QLabel>(page, m.Label25)}));
  status->addSpacing(16);
  status->addLayout(row({makeLamp(page, m.CTS), make<QLabel>(page, m.Label33)}));
  // What the port receives: as wide as its widest text while the window has room, so the
  // strip does not jump as it changes, and narrower in a narrow window.
  auto* portState = make<QLabel>(page, m.PortState);
  const QFontMetrics metrics = portState->fontMetrics();
  portState->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  portState->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("no data")));
  portState->setMaximumWidth(metrics.horizontalAdvance(QStringLiteral("modem replies, 11520 B/s")));
  portState->setProperty(kReadWithRole, true);  // "port: NMEA stream, 1045 B/s"
  status->addWidget(portState, 1);
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
  auto* terminal = new QListWidget(page);
  // Return edits the selected line, as the right button does; Return on a prepared
  // command sends it, as the double click does.
  bind(terminal, m.List3, ReturnKey::RightClick);
  terminal->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  terminal->setUniformItemSizes(true);
  // The terminal fills and empties itself (it starts afresh beyond 100 rows): a scroll bar
  // that came and went with it would lay the list out and paint it twice each time.
  terminal->setVerticalScrollBar(new TerminalScrollBar(terminal));
  terminal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  terminal->setItemDelegate(new TerminalRowDelegate(terminal, m.List3));
  auto* right = new QVBoxLayout;
  right->addWidget(terminal, 1);
  auto* commandLine = make<QLineEdit>(page, m.CommandLine);
  commandLine->setFont(terminal->font());
  commandLine->setPlaceholderText(
      QStringLiteral("AT command; Return sends it, Up and Down recall"));
  // The terminal's option sits beside the line under it, not in a menu of the list: the
  // list's right and double clicks edit and send rows again.
  auto* commandRow = new QHBoxLayout;
  commandRow->addWidget(commandLine, 1);
  commandRow->addWidget(make<QCheckBox>(page, m.CheckTimeStamps));
  right->addLayout(commandRow);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(makeStatusBox(page, m.Text1), 1);
  portRow->addWidget(makeStatusBox(page, m.Text2), 2);
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

}  // namespace d7o::ui::tabs
