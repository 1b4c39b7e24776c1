#include "ui/signal_form_view.h"

#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/code_page.h"
#include "ui/elided_label.h"

#include <array>

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>

namespace d7o::ui {

namespace {

// New readings come every few seconds at most; the plot is redrawn at most twice a second.
constexpr int kRefreshIntervalMs = 500;
// The dBm axis: the modem reports -113 to -51; "not detectable" is drawn at -115, and
// the registration band lies below that.
constexpr double kAxisLow = -125;
constexpr double kAxisHigh = -45;
constexpr double kBandTop = -118;

struct BandColour {
  int state;
  QColor colour;
  const char* name;
};
// The registration band: green registered, yellow searching, red not registered or
// denied, grey unknown states.
const std::array<BandColour, 5> kBands = {{{1, QColor(0, 160, 0), "home network"},
                                           {5, QColor(0, 110, 220), "roaming"},
                                           {2, QColor(230, 180, 0), "searching"},
                                           {0, QColor(210, 0, 0), "not registered"},
                                           {-1, QColor(140, 140, 140), "other"}}};

int bandOf(int state) {
  if (state == 3) return 3;  // denied: red as not registered
  for (std::size_t i = 0; i + 1 < kBands.size(); ++i) {
    if (kBands[i].state == state) return static_cast<int>(i);
  }
  return static_cast<int>(kBands.size() - 1);
}

// The plot of the field strength: dBm over time, the bit error rate on its own axis at
// the right, and the registration as a coloured band beneath.
class TrendChartBinder : public Binder {
 public:
  TrendChartBinder(QChartView* view, forms::TrendPlot& plot)
      : Binder(view, view), m_view(view), m_plot(plot) {
    view->setObjectName(fromCodePage(plot.name()));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 260);
    view->setFocusPolicy(Qt::NoFocus);
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    view->setChart(chart);

    m_time = new QDateTimeAxis;
    m_time->setFormat(QStringLiteral("HH:mm"));
    m_time->setTickCount(7);
    m_time->setTitleText(QStringLiteral("local time"));
    // A span from the start: an empty one leaves no room for the time labels, and the
    // chart would not make room for them later.
    const QDateTime now = QDateTime::currentDateTime();
    m_time->setRange(now.addSecs(-3600), now);
    m_dbm = new QValueAxis;
    m_dbm->setRange(kAxisLow, kAxisHigh);
    m_dbm->setLabelFormat(QStringLiteral("%d"));
    m_dbm->setTitleText(QStringLiteral("dBm"));
    m_ber = new QValueAxis;
    m_ber->setRange(0, 7);
    m_ber->setTickCount(8);
    m_ber->setLabelFormat(QStringLiteral("%d"));
    m_ber->setTitleText(QStringLiteral("BER"));
    chart->addAxis(m_time, Qt::AlignBottom);
    chart->addAxis(m_dbm, Qt::AlignLeft);
    chart->addAxis(m_ber, Qt::AlignRight);

    for (std::size_t i = 0; i < kBands.size(); ++i) {
      m_bandTop[i] = new QLineSeries;
      m_bandBottom[i] = new QLineSeries;
      auto* band = new QAreaSeries(m_bandTop[i], m_bandBottom[i]);
      // An area does not own its boundary lines: they go with it.
      m_bandTop[i]->setParent(band);
      m_bandBottom[i]->setParent(band);
      m_bands[i] = band;
      band->setName(QString::fromLatin1(kBands[i].name));
      band->setColor(kBands[i].colour);
      band->setBorderColor(kBands[i].colour);
      attach(chart, band, m_dbm);
    }
    m_dbmLine = new QLineSeries;
    m_dbmLine->setName(QStringLiteral("dBm"));
    m_dbmLine->setPen(QPen(QColor(20, 60, 160), 2));
    attach(chart, m_dbmLine, m_dbm);
    m_berLine = new QLineSeries;
    m_berLine->setName(QStringLiteral("BER"));
    m_berLine->setPen(QPen(QColor(200, 90, 0), 1, Qt::DashLine));
    attach(chart, m_berLine, m_ber);

    follow(plot.changed);
    show();
  }

 private:
  void attach(QChart* chart, QAbstractSeries* series, QValueAxis* values) {
    chart->addSeries(series);
    series->attachAxis(m_time);
    series->attachAxis(values);
  }

  static QList<QPointF> pointsOf(const std::vector<forms::TrendPoint>& line) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(line.size()));
    for (const forms::TrendPoint& p : line) {
      points.append(QPointF(static_cast<double>(p.utcMillis), p.value));
    }
    return points;
  }

  void show() override {
    const forms::TrendPicture& picture = m_plot.picture();
    if (picture.toUtc > picture.fromUtc) {
      m_time->setRange(QDateTime::fromMSecsSinceEpoch(picture.fromUtc),
                       QDateTime::fromMSecsSinceEpoch(picture.toUtc));
    }
    m_time->setFormat(picture.toUtc - picture.fromUtc > 6 * 3'600'000 ? QStringLiteral("dd. HH:mm")
                                                                      : QStringLiteral("HH:mm"));
    m_dbmLine->replace(pointsOf(picture.dbm));
    // A few readings are dots too: one alone would draw no line at all.
    m_dbmLine->setPointsVisible(picture.dbm.size() <= 60);
    // The legend names only what the plot shows.
    const auto markerShows = [this](QAbstractSeries* series, bool shows) {
      for (QLegendMarker* m : m_view->chart()->legend()->markers(series)) m->setVisible(shows);
    };
    m_berLine->replace(pointsOf(picture.ber));
    m_berLine->setVisible(!picture.ber.empty());
    m_ber->setVisible(!picture.ber.empty());

    // Each state's band is its own area, of full height where the state holds and of none
    // elsewhere, so the number of series stays fixed however often the state changes.
    std::array<QList<QPointF>, kBands.size()> top, bottom;
    for (const forms::RegistrationStretch& s : picture.registration) {
      const int b = bandOf(s.state);
      const auto from = static_cast<double>(s.fromUtc), to = static_cast<double>(s.toUtc);
      top[b] << QPointF(from, kAxisLow) << QPointF(from, kBandTop) << QPointF(to, kBandTop)
             << QPointF(to, kAxisLow);
      bottom[b] << QPointF(from, kAxisLow) << QPointF(to, kAxisLow);
    }
    for (std::size_t i = 0; i < kBands.size(); ++i) {
      m_bandTop[i]->replace(top[i]);
      m_bandBottom[i]->replace(bottom[i]);
      markerShows(m_bands[i], !top[i].isEmpty());
    }
    markerShows(m_berLine, !picture.ber.empty());
    applyControlState(m_view, m_plot);
  }

  QChartView* m_view;
  forms::TrendPlot& m_plot;
  QDateTimeAxis* m_time;
  QValueAxis* m_dbm;
  QValueAxis* m_ber;
  QLineSeries* m_dbmLine;
  QLineSeries* m_berLine;
  std::array<QLineSeries*, kBands.size()> m_bandTop{};
  std::array<QLineSeries*, kBands.size()> m_bandBottom{};
  std::array<QAreaSeries*, kBands.size()> m_bands{};
};

}  // namespace

SignalFormView::SignalFormView(app::Application& app, QWidget* parent)
    : ModalFormView(app, app.context().signalForm, kRefreshIntervalMs, parent),
      m_model(app.context().signalForm) {
  // It stays beside the main window, which goes on working.
  setWindowModality(Qt::NonModal);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buildReading());
  auto* chart = new QChartView(this);
  new TrendChartBinder(chart, m_model.SignalPlot);
  layout->addWidget(chart, 1);
  layout->addLayout(buildSpan());
  layout->addLayout(buildMonitor());
  layout->addLayout(buildButtons());
  followForm([this] { m_model.CommandClose.click(); });
}

QLayout* SignalFormView::buildReading() {
  auto* row = new QHBoxLayout;
  auto* now = make<QLabel>(this, m_model.SignalNow);
  QFont big = now->font();
  // Readable from a step away while someone moves the antenna.
  big.setPointSizeF(big.pointSizeF() * 3);
  big.setBold(true);
  now->setFont(big);
  now->setMinimumWidth(now->fontMetrics().horizontalAdvance(QStringLiteral("not detectable")));
  row->addWidget(now);
  auto* details = new QVBoxLayout;
  details->addWidget(make<ElidedLabel>(this, m_model.SignalDetail));
  details->addWidget(make<ElidedLabel>(this, m_model.SignalOperator));
  row->addLayout(details, 1);
  return row;
}

QLayout* SignalFormView::buildSpan() {
  auto* row = new QHBoxLayout;
  auto* label = make<QLabel>(this, m_model.SpanLabel);
  auto* span = make<QComboBox>(this, m_model.SignalSpan);
  label->setBuddy(span);
  row->addWidget(label);
  row->addWidget(span);
  row->addWidget(make<ElidedLabel>(this, m_model.SpanSummary), 1);
  return row;
}

QLayout* SignalFormView::buildMonitor() {
  auto* row = new QHBoxLayout;
  row->addWidget(make<QCheckBox>(this, m_model.CheckMonitor));
  auto* label = make<QLabel>(this, m_model.IntervalLabel);
  auto* slider = make<QSlider>(this, m_model.SliderInterval);
  slider->setMinimumWidth(160);
  label->setBuddy(slider);
  row->addWidget(label);
  row->addWidget(slider);
  row->addWidget(make<QLabel>(this, m_model.IntervalValue));
  row->addWidget(make<ElidedLabel>(this, m_model.MonitorState), 1);
  return row;
}

QLayout* SignalFormView::buildButtons() {
  auto* row = new QHBoxLayout;
  row->addWidget(make<QPushButton>(this, m_model.CommandExport));
  row->addWidget(make<QPushButton>(this, m_model.CommandClearTrend));
  row->addStretch(1);
  row->addWidget(make<QPushButton>(this, m_model.CommandClose));
  return row;
}

}  // namespace d7o::ui
