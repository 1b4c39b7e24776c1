#include "ui/gps_form_view.h"

#include "ui/binders.h"
#include "ui/compass_widget.h"
#include "ui/elided_label.h"
#include "ui/refresh_beat.h"

#include <array>
#include <cstddef>

#include <QCloseEvent>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QStaticText>
#include <QStyleOption>
#include <QTimer>
#include <QVBoxLayout>

namespace d7o::ui {

namespace {

// A designed caption: text the program never changes.
QLabel* caption(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

// A value that changes with every sentence. Its size never depends on its text, so a new
// value neither measures text nor lays the window out again, and it paints its own
// background, so the box and the window round it are not painted again with it (whatever
// its binder makes of the background: a plain colour is filled by Qt, the system's here).
class ValueLabel : public QLabel {
 public:
  ValueLabel(QWidget* parent, const char* widest) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QFontMetrics metrics = fontMetrics();
    m_hint = QSize(metrics.horizontalAdvance(QString::fromLatin1(widest)) + 2 * frameWidth() + 6,
                   metrics.height() + 2 * frameWidth());
  }
  QSize sizeHint() const override { return m_hint; }
  QSize minimumSizeHint() const override { return m_hint; }

 protected:
  // The text is shaped once per value, not on every picture.
  void paintEvent(QPaintEvent* event) override {
    if (!autoFillBackground()) {
      QPainter background(this);
      background.fillRect(rect(), palette().brush(QPalette::Window));
    }
    QFrame::paintEvent(event);  // the sunken frame
    if (text().isEmpty()) return;
    if (m_shapedFor != text() || m_shapedFont != font()) {
      m_shapedFor = text();
      m_shapedFont = font();
      m_shaped.setText(m_shapedFor);
      m_shaped.setTextFormat(Qt::PlainText);
      m_shaped.prepare(QTransform(), m_shapedFont);
    }
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    painter.setFont(m_shapedFont);
    painter.setPen(option.palette.color(QPalette::WindowText));
    // As a framed label indents its text: half an "x".
    const QRect area =
        contentsRect().adjusted(fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2, 0, 0, 0);
    painter.setClipRect(contentsRect());
    const QSizeF size = m_shaped.size();
    qreal x = area.left();
    if ((alignment() & Qt::AlignHCenter) != 0) {
      x = contentsRect().left() + (contentsRect().width() - size.width()) / 2;
    }
    const qreal y = area.top() + (area.height() - size.height()) / 2;
    painter.drawStaticText(QPointF(x, y), m_shaped);
  }

 private:
  QSize m_hint;
  QString m_shapedFor;
  QFont m_shapedFont;
  QStaticText m_shaped;
};

// A sunken field for a value, at least as wide as `widest`.
QLabel* field(QWidget* parent, forms::Label& control, const char* widest) {
  auto* label = new ValueLabel(parent, widest);
  bind(label, control);
  return label;
}

QLabel* centredField(QWidget* parent, forms::Label& control, const char* widest) {
  QLabel* label = field(parent, control, widest);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

// At 115200 baud the values change with every sentence: ten pictures a second, which the
// eye cannot tell apart, keep the painting cheap.
constexpr int kRefreshIntervalMs = 100;

// An untitled box around values that belong together.
QGroupBox* group(QWidget* parent) {
  return new QGroupBox(parent);
}

}  // namespace

GpsFormView::GpsFormView(app::Application& app, QWidget* parent)
    : ModalFormView(app, app.context().gpsForm, kRefreshIntervalMs, parent),
      m_model(app.context().gpsForm) {
  auto* menu = new QMenuBar(this);
  auto* exit = new QAction(this);
  menu->addAction(exit);
  bind(exit, m_model.m_exit);

  auto* left = new QVBoxLayout;
  left->addWidget(buildTimeAndPosition());
  left->addWidget(buildMotion());
  left->addWidget(buildSolution());
  left->addStretch(1);

  auto* middle = new QVBoxLayout;
  middle->addWidget(buildCompass());
  middle->addWidget(buildReceiver());
  middle->addStretch(1);

  auto* body = new QHBoxLayout;
  body->addLayout(left, 1);
  body->addLayout(middle, 0);
  auto* right = new QVBoxLayout;
  right->addWidget(buildSatellitePanel());
  right->addWidget(buildStatisticsPanel());
  right->addStretch(1);
  body->addLayout(right, 0);

  auto* received = make<ElidedLabel>(this, m_model.GPSstring);
  received->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  received->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu);
  layout->addLayout(body, 1);
  layout->addWidget(buildProtocolRow());
  layout->addWidget(received);

  followForm([this] { m_model.m_exit.click(); });
}

QWidget* GpsFormView::buildTimeAndPosition() {
  auto& m = m_model;
  auto* box = group(this);
  auto* grid = new QGridLayout(box);
  grid->addWidget(caption(box, "Label55", "UTC"), 0, 0);
  auto* date = new QHBoxLayout;
  date->addWidget(field(box, m.Label56, "00:00:00"));
  date->addStretch(1);
  date->addWidget(caption(box, "Label60", "Date"));
  date->addWidget(field(box, m.Label54, "00.00.00"));
  grid->addLayout(date, 0, 1, 1, 3);

  grid->addWidget(caption(box, "Label88", "Latitude"), 1, 0);
  grid->addWidget(field(box, m.Label61, "-000.000000000000"), 1, 1, 1, 2);
  grid->addWidget(field(box, m.Label87, "W"), 1, 3);
  grid->addWidget(caption(box, "Label71", "Longitude"), 2, 0);
  grid->addWidget(field(box, m.Label86, "-000.000000000000"), 2, 1, 1, 2);
  grid->addWidget(field(box, m.Label62, "W"), 2, 3);

  grid->addWidget(caption(box, "Label22", "SAT's"), 3, 0);
  auto* inUse = centredField(box, m.Label21, "00");
  inUse->setFixedWidth(inUse->sizeHint().width());
  auto* inUseRow = new QHBoxLayout;
  inUseRow->addWidget(inUse);
  inUseRow->addWidget(caption(box, "Label29", "in use"));
  inUseRow->addStretch(1);
  grid->addLayout(inUseRow, 3, 1);
  grid->addWidget(centredField(box, m.Label53, "3D GPS available"), 3, 2, 1, 2);

  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* GpsFormView::buildMotion() {
  auto& m = m_model;
  auto* box = group(this);
  auto* grid = new QGridLayout(box);
  auto* units = new QHBoxLayout;
  units->addWidget(make<QRadioButton>(box, m.Option20));
  units->addWidget(make<QRadioButton>(box, m.Option21));
  units->addStretch(1);
  grid->addWidget(caption(box, "Label57", "GPRMC speed in:"), 0, 0);
  grid->addLayout(units, 0, 1, 1, 2);

  grid->addWidget(caption(box, "Label58", "speed over ground"), 1, 0);
  grid->addWidget(field(box, m.Label59, "0000.00000000000"), 1, 1);
  auto* unit = field(box, m.Label43, "knots");
  unit->setFrameStyle(QFrame::NoFrame);
  grid->addWidget(unit, 1, 2);

  grid->addWidget(caption(box, "Label89", "course over ground"), 2, 0);
  grid->addWidget(field(box, m.Label92, "000.0"), 2, 1);
  grid->addWidget(caption(box, "Label91", "grd"), 2, 2);
  // The numbers keep their width; the room left over stays beside them.
  grid->setColumnStretch(3, 1);
  return box;
}

QWidget* GpsFormView::buildCompass() {
  constexpr forms::Rect panel = forms::GpsForm::kPanel1;
  auto* box = group(this);
  auto* compass =
      new CompassWidget(QSize(panel.width, panel.height), QPoint(panel.left, panel.top), box);
  compass->panel()->setObjectName(QStringLiteral("Panel1"));
  bind(compass->panel()->needle(), m_model.Line1);

  auto* layout = new QVBoxLayout(box);
  auto* title = caption(box, "Label9", "Direction");
  title->setAlignment(Qt::AlignCenter);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(compass, 0, Qt::AlignHCenter);
  layout->addWidget(centredField(box, m_model.Label15, "000.0"));
  return box;
}

QWidget* GpsFormView::buildReceiver() {
  auto* box = group(this);
  auto* layout = new QVBoxLayout(box);
  auto* altitude = new QHBoxLayout;
  altitude->addWidget(caption(box, "Label13", "Geoidal height (meters)"));
  altitude->addWidget(field(box, m_model.Label14, "-0000.0"), 1);
  layout->addLayout(altitude);
  layout->addWidget(caption(box, "Label20", "GPS quality indication"));
  layout->addWidget(field(box, m_model.Label17, "Non-differential GPS fix available"));
  return box;
}

QWidget* GpsFormView::buildSolution() {
  auto& m = m_model;
  auto* box = group(this);
  auto* layout = new QVBoxLayout(box);

  auto* modes = new QHBoxLayout;
  modes->addWidget(caption(box, "Label69", "Mode"));
  modes->addWidget(field(box, m.Label63, "automatic"));
  modes->addSpacing(16);
  modes->addWidget(caption(box, "Label70", "Fix type"));
  modes->addWidget(field(box, m.Label64, "not available"));
  modes->addStretch(1);
  layout->addLayout(modes);

  auto* frame22 = new QGroupBox(QStringLiteral("PRN number of satellite used in solution"), box);
  frame22->setObjectName(QStringLiteral("Frame22"));
  auto* prns = new QGridLayout(frame22);
  constexpr int kPerRow = forms::GpsForm::kPrnLabels / 2;
  const auto prnLabels = m.prnLabels();
  for (int i = 0; i < forms::GpsForm::kPrnLabels; ++i) {
    prns->addWidget(centredField(frame22, *prnLabels[static_cast<std::size_t>(i)], "00"),
                    i / kPerRow, i % kPerRow);
  }
  layout->addWidget(frame22);

  auto* dops = new QGridLayout;
  dops->addWidget(caption(box, "Label72", "Position dilution of precision"), 0, 0);
  dops->addWidget(field(box, m.Label66, "00.0"), 0, 1);
  dops->addWidget(caption(box, "Label73", "Horizontal dilution of precision"), 1, 0);
  dops->addWidget(field(box, m.Label67, "00.0"), 1, 1);
  dops->addWidget(caption(box, "Label74", "Vertical dilution of precision"), 2, 0);
  dops->addWidget(field(box, m.Label68, "00.0"), 2, 1);
  dops->setColumnStretch(2, 1);
  layout->addLayout(dops);
  return box;
}

QWidget* GpsFormView::buildSatellitePanel() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.GPGSV);
  auto* grid = new QGridLayout(frame);

  auto* total = new QHBoxLayout;
  total->addWidget(caption(frame, "Label5", "total satellites in view:"));
  total->addWidget(field(frame, m.Anzahl, "00"));
  total->addStretch(1);
  grid->addLayout(total, 0, 0, 1, 5);

  grid->addWidget(caption(frame, "Label2", "Nr."), 1, 0);
  grid->addWidget(caption(frame, "Label6", "elevation"), 1, 1);
  grid->addWidget(caption(frame, "Label8", "azimut"), 1, 2);
  auto* snr = caption(frame, "Label10", "< --- signal to noise ratio --->");
  snr->setAlignment(Qt::AlignCenter);
  grid->addWidget(snr, 1, 3, 1, 2);
  auto* scale = new QHBoxLayout;
  scale->addWidget(caption(frame, "Label11", "0"));
  scale->addStretch(1);
  scale->addWidget(caption(frame, "Label12", "99"));
  grid->addLayout(scale, 2, 4);

  for (std::size_t i = 0; i < m.Nr.size(); ++i) {
    const int gridRow = static_cast<int>(i) + 3;
    QLabel* nr = field(frame, m.Nr[i], "00");
    grid->addWidget(nr, gridRow, 0);
    grid->addWidget(field(frame, m.EL[i], "00"), gridRow, 1);
    grid->addWidget(field(frame, m.AZ[i], "000"), gridRow, 2);
    grid->addWidget(field(frame, m.Lev[i], "00"), gridRow, 3);
    auto* bar = make<QProgressBar>(frame, m.Bar[i]);
    // Opaque: a new level repaints the bar, not the frame beneath it too.
    bar->setAutoFillBackground(true);
    bar->setMinimumWidth(120);
    bar->setMaximumHeight(nr->sizeHint().height());
    grid->addWidget(bar, gridRow, 4);
  }
  grid->setColumnStretch(4, 1);
  return frame;
}

// Sentence types across, so the panel fits under the satellite panel at the window's start
// size.
QWidget* GpsFormView::buildStatisticsPanel() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.NmeaStatistics);
  auto* grid = new QGridLayout(frame);
  grid->setVerticalSpacing(1);
  grid->addWidget(caption(frame, "StatTitleCount", "count"), 1, 0);
  grid->addWidget(caption(frame, "StatTitleRate", "per s"), 2, 0);
  grid->addWidget(caption(frame, "StatTitleBad", "bad sum"), 3, 0);
  grid->addWidget(caption(frame, "StatTitleAge", "last"), 4, 0);
  static constexpr std::array<const char*, forms::GpsForm::kStatisticsRows> kTypes = {
      "GGA", "RMC", "GSA", "GSV", "other"};
  static constexpr std::array<const char*, forms::GpsForm::kStatisticsRows> kTypeCaptions = {
      "StatRowGGA", "StatRowRMC", "StatRowGSA", "StatRowGSV", "StatRowOther"};
  for (std::size_t i = 0; i < kTypes.size(); ++i) {
    const int column = static_cast<int>(i) + 1;
    grid->addWidget(caption(frame, kTypeCaptions[i], kTypes[i]), 0, column);
    grid->addWidget(field(frame, m.StatCount[i], "0000000"), 1, column);
    grid->addWidget(field(frame, m.StatRate[i], "000.0"), 2, column);
    grid->addWidget(field(frame, m.StatBad[i], "000000"), 3, column);
    grid->addWidget(field(frame, m.StatAge[i], "000 s"), 4, column);
  }

  auto* totals = new QHBoxLayout;
  totals->addWidget(caption(frame, "StatTitleBytes", "bytes"));
  totals->addWidget(field(frame, m.StatBytes, "0000000000"));
  totals->addWidget(caption(frame, "StatTitleWithoutChecksum", "no sum"));
  totals->addWidget(field(frame, m.StatWithoutChecksum, "0000000"));
  totals->addWidget(caption(frame, "StatTitleNoNmea", "no NMEA"));
  totals->addWidget(field(frame, m.StatNoNmea, "0000000"));
  grid->addLayout(totals, 5, 0, 1, 6);
  // A sentence with a wrong checksum still fills the analyzer; the red cells say so.
  auto* last = new QHBoxLayout;
  last->addWidget(caption(frame, "StatNote", "bad sum: evaluated all the same"), 1);
  last->addWidget(make<QPushButton>(frame, m.StatReset));
  grid->addLayout(last, 6, 0, 1, 6);
  return frame;
}

QWidget* GpsFormView::buildProtocolRow() {
  auto& m = m_model;
  auto* protocols = group(this);
  auto* row = new QHBoxLayout(protocols);
  for (forms::CheckBox* check : {&m.Check1, &m.Check2, &m.Check3, &m.Check4, &m.Check5}) {
    auto* box = make<QCheckBox>(protocols, *check);
    // The back colour tells which sentence arrives: it fills the whole box, not only the
    // frame of its tick.
    box->setBackgroundRole(QPalette::Window);
    row->addWidget(box);
    if (check == &m.Check1) m_check1 = box;
  }
  m_check1->installEventFilter(this);
  row->addSpacing(24);
  row->addWidget(make<QCheckBox>(protocols, m.Check6));
  row->addWidget(make<QCheckBox>(protocols, m.CheckStatistics));
  row->addStretch(1);
  row->addWidget(make<QPushButton>(protocols, m.Command1));
  row->addWidget(make<QPushButton>(protocols, m.Command3));
  return protocols;
}

bool GpsFormView::eventFilter(QObject* watched, QEvent* event) {
  // The box says what a click on it does once the pointer is over it.
  if (watched == m_check1 && event->type() == QEvent::Enter) {
    m_model.Check1.setToolTip("select " + m_model.Check1.caption() + " protocol only");
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace d7o::ui
