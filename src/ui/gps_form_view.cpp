#include "ui/gps_form_view.h"

#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/compass_widget.h"
#include "ui/latin1.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QCloseEvent>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace d7o::ui {

// The last received text on one line, cut with an ellipsis where the window is narrower;
// the whole text is its tooltip.
class ElidedLabel : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // The text must not widen the window: it takes the width the window gives it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumWidth(0);
  }

  void setFullText(const QString& text) {
    if (text == m_full) return;
    m_full = text;
    setToolTip(text);
    elide();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    elide();
  }

 private:
  void elide() {
    setText(fontMetrics().elidedText(m_full, Qt::ElideRight, contentsRect().width()));
  }

  QString m_full;
};

namespace {

constexpr int kBarMax = 99;
// The colour of a row's bar before the first satellite fills it.
const forms::Color kNoBarColor = gps::SatelliteSlot{}.barColor;
constexpr forms::Color kDisplayField = forms::colors::kBlack;

// A widget of `parent`, bound to its control.
template <typename Widget, typename Control>
Widget* make(QWidget* parent, Control& control) {
  auto* widget = new Widget(parent);
  bind(widget, control);
  return widget;
}

// A designed caption: text the program never changes.
QLabel* caption(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QString name(const char* base, int row) {
  return QStringLiteral("%1(%2)").arg(QString::fromLatin1(base)).arg(row);
}

// A sunken field for a value, at least as wide as `widest`.
QLabel* field(QWidget* parent, const QString& name, const char* widest) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  // Values come from the device: never markup.
  label->setTextFormat(Qt::PlainText);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(widest)) +
                         2 * label->frameWidth() + 6);
  return label;
}

// The text as one line: the device's line ends and other control characters as spaces.
QString oneLine(const std::string& text) {
  std::string line = text;
  std::replace_if(
      line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
  return fromLatin1(line).trimmed();
}

QString barStyle(forms::Color color) {
  const QColor chunk(forms::redOf(color), forms::greenOf(color), forms::blueOf(color));
  return QStringLiteral(
             "QProgressBar { border: 1px solid palette(mid); background: palette(base); }"
             "QProgressBar::chunk { background-color: %1; }")
      .arg(chunk.name());
}

// An untitled box around values that belong together.
QGroupBox* group(QWidget* parent) {
  return new QGroupBox(parent);
}

}  // namespace

GpsFormView::GpsFormView(app::Application& app, QWidget* parent)
    : QWidget(parent, Qt::Window), m_app(app), m_model(app.context().gpsForm) {
  // The analyzer holds the user until Exit, as the main window waits behind it.
  setWindowModality(Qt::ApplicationModal);

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
  body->addWidget(buildSatellitePanel(), 0, Qt::AlignTop);

  m_gpsString = new ElidedLabel(this);
  m_gpsString->setObjectName(QStringLiteral("GPSstring"));
  m_gpsString->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_gpsString->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu);
  layout->addLayout(body, 1);
  layout->addWidget(buildProtocolRow());
  layout->addWidget(m_gpsString);

  bind(static_cast<QWidget*>(this), static_cast<forms::Form&>(m_model));

  const auto listen = [this](forms::Signal<>& signal, std::function<void()> handler) {
    const auto id = signal.connect(std::move(handler));
    m_disconnects.push_back([&signal, id] { signal.disconnect(id); });
  };
  // At 115200 baud the fix changes with every sentence: the labels follow at most every
  // kFixInterval, which the eye cannot tell apart and which keeps the painting cheap.
  // The whole window (protocol box colours, compass) repaints on the same beat.
  const auto holdFix = [this] {
    if (m_fixPending) return;
    m_fixPending = true;
    setUpdatesEnabled(false);
    QTimer::singleShot(kFixInterval, this, [this] {
      m_fixPending = false;
      showFix(false);
      setUpdatesEnabled(true);
    });
  };
  listen(m_model.fixChanged, holdFix);
  for (const ProtocolBox& p : m_protocolBoxes) listen(p.control->changed, holdFix);
  listen(m_model.needleChanged, [this] { showNeedle(); });
  listen(m_model.changed, [this] { followVisibility(); });
  showFix(true);
  showNeedle();
  followVisibility();
}

GpsFormView::~GpsFormView() {
  for (const auto& disconnect : m_disconnects) disconnect();
}

QLabel* GpsFormView::value(QWidget* parent, const char* name, std::string gps::GpsFix::*text,
                           const char* widest) {
  QLabel* label = field(parent, QString::fromLatin1(name), widest);
  m_texts.push_back({text, label});
  return label;
}

QWidget* GpsFormView::buildTimeAndPosition() {
  using F = gps::GpsFix;
  auto* box = group(this);
  auto* grid = new QGridLayout(box);
  grid->addWidget(caption(box, "Label55", "UTC"), 0, 0);
  auto* date = new QHBoxLayout;
  date->addWidget(value(box, "Label56", &F::utc, "00:00:00"));
  date->addStretch(1);
  date->addWidget(caption(box, "Label60", "Date"));
  date->addWidget(value(box, "Label54", &F::date, "00.00.00"));
  grid->addLayout(date, 0, 1, 1, 3);

  grid->addWidget(caption(box, "Label88", "Latitude"), 1, 0);
  grid->addWidget(value(box, "Label61", &F::lat, "-000.000000000000"), 1, 1, 1, 2);
  grid->addWidget(value(box, "Label87", &F::ns, "W"), 1, 3);
  grid->addWidget(caption(box, "Label71", "Longitude"), 2, 0);
  grid->addWidget(value(box, "Label86", &F::lon, "-000.000000000000"), 2, 1, 1, 2);
  grid->addWidget(value(box, "Label62", &F::ew, "W"), 2, 3);

  grid->addWidget(caption(box, "Label22", "SAT's"), 3, 0);
  auto* inUse = value(box, "Label21", &F::inUse, "00");
  inUse->setAlignment(Qt::AlignCenter);
  inUse->setFixedWidth(inUse->minimumWidth());
  m_colors.push_back({&F::inUseColor, inUse, false});
  auto* inUseRow = new QHBoxLayout;
  inUseRow->addWidget(inUse);
  inUseRow->addWidget(caption(box, "Label29", "in use"));
  inUseRow->addStretch(1);
  grid->addLayout(inUseRow, 3, 1);
  auto* validity = value(box, "Label53", &F::validity, "3D GPS available");
  validity->setAlignment(Qt::AlignCenter);
  m_colors.push_back({&F::validityColor, validity, true});
  grid->addWidget(validity, 3, 2, 1, 2);

  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* GpsFormView::buildMotion() {
  using F = gps::GpsFix;
  auto* box = group(this);
  auto* grid = new QGridLayout(box);
  auto* units = new QHBoxLayout;
  units->addWidget(make<QRadioButton>(box, m_model.Option20));
  units->addWidget(make<QRadioButton>(box, m_model.Option21));
  units->addStretch(1);
  grid->addWidget(caption(box, "Label57", "GPRMC speed in:"), 0, 0);
  grid->addLayout(units, 0, 1, 1, 2);

  grid->addWidget(caption(box, "Label58", "speed over ground"), 1, 0);
  grid->addWidget(value(box, "Label59", &F::speed, "0000.00000000000"), 1, 1);
  auto* unit = value(box, "Label43", &F::speedUnit, "knots");
  unit->setFrameStyle(QFrame::NoFrame);
  grid->addWidget(unit, 1, 2);

  grid->addWidget(caption(box, "Label89", "course over ground"), 2, 0);
  grid->addWidget(value(box, "Label92", &F::course, "000.0"), 2, 1);
  grid->addWidget(caption(box, "Label91", "grd"), 2, 2);
  // The numbers keep their width; the room left over stays beside them.
  grid->setColumnStretch(3, 1);
  return box;
}

QWidget* GpsFormView::buildCompass() {
  auto* box = group(this);
  auto* compass =
      new CompassWidget(QSize(forms::GpsForm::kPanel1.width, forms::GpsForm::kPanel1.height), box);
  m_compass = compass->panel();
  m_compass->setObjectName(QStringLiteral("Panel1"));
  auto* shown = value(box, "Label15", &gps::GpsFix::courseShown, "000.0");
  shown->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(box);
  auto* title = caption(box, "Label9", "Direction");
  title->setAlignment(Qt::AlignCenter);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(compass, 0, Qt::AlignHCenter);
  layout->addWidget(shown);
  return box;
}

QWidget* GpsFormView::buildReceiver() {
  using F = gps::GpsFix;
  auto* box = group(this);
  auto* layout = new QVBoxLayout(box);
  auto* altitude = new QHBoxLayout;
  altitude->addWidget(caption(box, "Label13", "Geoidal height (meters)"));
  altitude->addWidget(value(box, "Label14", &F::altitude, "-0000.0"), 1);
  layout->addLayout(altitude);
  layout->addWidget(caption(box, "Label20", "GPS quality indication"));
  auto* quality = value(box, "Label17", &F::quality, "Non-differential GPS fix available");
  m_colors.push_back({&F::qualityColor, quality, false});
  layout->addWidget(quality);
  return box;
}

QWidget* GpsFormView::buildSolution() {
  using F = gps::GpsFix;
  auto* box = group(this);
  auto* layout = new QVBoxLayout(box);

  auto* modes = new QHBoxLayout;
  modes->addWidget(caption(box, "Label69", "Mode"));
  modes->addWidget(value(box, "Label63", &F::mode, "A"));
  modes->addSpacing(16);
  modes->addWidget(caption(box, "Label70", "Fix type"));
  auto* fixType = value(box, "Label64", &F::fixType, "not available");
  m_colors.push_back({&F::fixTypeColor, fixType, false});
  modes->addWidget(fixType);
  modes->addStretch(1);
  layout->addLayout(modes);

  auto* frame22 = new QGroupBox(QStringLiteral("PRN number of satellite used in solution"), box);
  frame22->setObjectName(QStringLiteral("Frame22"));
  auto* prns = new QGridLayout(frame22);
  constexpr std::array<const char*, gps::kPrnPlaces> kPrnNames = {
      "Label65", "Label75", "Label76", "Label77", "Label78", "Label79",
      "Label80", "Label81", "Label82", "Label83", "Label84", "Label85"};
  constexpr int kPerRow = gps::kPrnPlaces / 2;
  for (int i = 0; i < gps::kPrnPlaces; ++i) {
    QLabel* prn = field(frame22, QString::fromLatin1(kPrnNames[static_cast<std::size_t>(i)]), "00");
    prn->setAlignment(Qt::AlignCenter);
    m_prn.push_back(prn);
    prns->addWidget(prn, i / kPerRow, i % kPerRow);
  }
  layout->addWidget(frame22);

  auto* dops = new QGridLayout;
  dops->addWidget(caption(box, "Label72", "Position dilution of precision"), 0, 0);
  dops->addWidget(value(box, "Label66", &F::pdop, "00.0"), 0, 1);
  dops->addWidget(caption(box, "Label73", "Horizontal dilution of precision"), 1, 0);
  dops->addWidget(value(box, "Label67", &F::hdop, "00.0"), 1, 1);
  dops->addWidget(caption(box, "Label74", "Vertical dilution of precision"), 2, 0);
  dops->addWidget(value(box, "Label68", &F::vdop, "00.0"), 2, 1);
  dops->setColumnStretch(2, 1);
  layout->addLayout(dops);
  return box;
}

QWidget* GpsFormView::buildSatellitePanel() {
  auto* frame = make<QGroupBox>(this, m_model.GPGSV);
  auto* grid = new QGridLayout(frame);

  auto* total = new QHBoxLayout;
  total->addWidget(caption(frame, "Label5", "total satellites in view:"));
  total->addWidget(value(frame, "Anzahl", &gps::GpsFix::inView, "00"));
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

  for (int i = 0; i < gps::kSatelliteSlots; ++i) {
    const int row = i + 1;  // the program counts its rows from 1
    SatelliteRow r{field(frame, name("Nr", row), "00"), field(frame, name("EL", row), "00"),
                   field(frame, name("AZ", row), "000"), field(frame, name("Lev", row), "00"),
                   new QProgressBar(frame)};
    r.bar->setObjectName(name("Bar", row));
    r.bar->setRange(0, kBarMax);
    r.bar->setTextVisible(false);
    r.bar->setMinimumWidth(120);
    r.bar->setMaximumHeight(r.nr->sizeHint().height());
    r.bar->setStyleSheet(barStyle(kNoBarColor));
    const int gridRow = row + 2;
    grid->addWidget(r.nr, gridRow, 0);
    grid->addWidget(r.el, gridRow, 1);
    grid->addWidget(r.az, gridRow, 2);
    grid->addWidget(r.lev, gridRow, 3);
    grid->addWidget(r.bar, gridRow, 4);
    m_rows.push_back(r);
    m_barColors.push_back(kNoBarColor);
  }
  grid->setColumnStretch(4, 1);
  return frame;
}

QWidget* GpsFormView::buildProtocolRow() {
  auto* protocols = group(this);
  auto* row = new QHBoxLayout(protocols);
  for (forms::CheckBox* check :
       {&m_model.Check1, &m_model.Check2, &m_model.Check3, &m_model.Check4, &m_model.Check5}) {
    auto* box = new QCheckBox(protocols);
    // Their colours tell the sentence just received: they follow on the window's beat.
    bind(box, *check, ColorsByCaller{});
    m_protocolBoxes.push_back({box, check});
    // The back colour tells which sentence arrives: it fills the whole box, not only the
    // frame of its tick.
    box->setBackgroundRole(QPalette::Window);
    row->addWidget(box);
    if (check == &m_model.Check1) m_check1 = box;
  }
  m_check1->installEventFilter(this);
  row->addSpacing(24);
  row->addWidget(make<QCheckBox>(protocols, m_model.Check6));
  row->addStretch(1);
  row->addWidget(make<QPushButton>(protocols, m_model.Command1));
  row->addWidget(make<QPushButton>(protocols, m_model.Command3));
  return protocols;
}

void GpsFormView::showFix(bool all) {
  const gps::GpsFix& fix = m_model.fix;
  for (const TextValue& v : m_texts) {
    if (!all && m_shown.*v.field == fix.*v.field) continue;
    m_shown.*v.field = fix.*v.field;
    v.label->setText(fromLatin1(fix.*v.field));
  }
  for (const ColorValue& c : m_colors) {
    if (!all && m_shown.*c.field == fix.*c.field) continue;
    m_shown.*c.field = fix.*c.field;
    if (c.background) {
      applyBackground(c.label, fix.*c.field);
    } else {
      const bool plain = applyColor(c.label, QPalette::WindowText, fix.*c.field);
      // Pure red and green text reads poorly on the light window: a coloured value is
      // shown on a dark field, like a display.
      applyBackground(c.label, plain ? kDisplayField : forms::colors::kSystemButtonFace);
    }
  }
  for (std::size_t i = 0; i < m_prn.size(); ++i) {
    if (!all && m_shown.prn[i] == fix.prn[i]) continue;
    m_shown.prn[i] = fix.prn[i];
    m_prn[i]->setText(fromLatin1(fix.prn[i]));
  }
  showSatellites(all);
  for (const ProtocolBox& p : m_protocolBoxes) showColors(p.widget, *p.control);
  if (all || m_shown.gpsString != fix.gpsString) {
    m_shown.gpsString = fix.gpsString;
    m_gpsString->setFullText(oneLine(fix.gpsString));
  }
}

void GpsFormView::showSatellites(bool all) {
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const gps::SatelliteSlot& slot = m_model.fix.satellites[i];
    gps::SatelliteSlot& shown = m_shown.satellites[i];
    if (!all && shown == slot) continue;
    const SatelliteRow& r = m_rows[i];
    for (auto [text, label] :
         {std::pair{&gps::SatelliteSlot::nr, r.nr}, std::pair{&gps::SatelliteSlot::el, r.el},
          std::pair{&gps::SatelliteSlot::az, r.az}, std::pair{&gps::SatelliteSlot::lev, r.lev}}) {
      if (all || shown.*text != slot.*text) label->setText(fromLatin1(slot.*text));
    }
    r.bar->setValue(std::clamp(slot.bar, 0, kBarMax));
    // A new style sheet re-polishes the bar: only when the colour really changes.
    if (m_barColors[i] != slot.barColor) {
      m_barColors[i] = slot.barColor;
      r.bar->setStyleSheet(barStyle(slot.barColor));
    }
    shown = slot;
  }
}

void GpsFormView::showNeedle() {
  constexpr forms::Rect panel = forms::GpsForm::kPanel1;
  const auto toPanel = [&](forms::Point p) { return QPoint(p.x - panel.left, p.y - panel.top); };
  m_compass->setNeedle(toPanel(m_model.needleEnd), toPanel(m_model.needleCentre));
}

void GpsFormView::followVisibility() {
  if (m_model.visible() == isVisible()) return;
  if (m_model.visible()) {
    show();
    activateWindow();
  } else {
    hide();
  }
}

void GpsFormView::closeEvent(QCloseEvent* event) {
  // Closed by the program's end, or already unloaded by the model: nothing to do.
  if (m_app.context().ended || !m_model.visible()) {
    event->accept();
    return;
  }
  // The close button is Exit; the model hides the window. From the event loop: Exit
  // activates the main window, which may wait for the modem.
  event->ignore();
  QTimer::singleShot(0, this, [this] {
    if (!m_app.context().ended && m_model.visible()) m_model.m_exit.click();
  });
}

bool GpsFormView::eventFilter(QObject* watched, QEvent* event) {
  // The box says what a click on it does once the pointer is over it.
  if (watched == m_check1 && event->type() == QEvent::Enter) {
    m_model.Check1.setToolTip("select " + m_model.Check1.caption() + " protocol only");
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace d7o::ui
