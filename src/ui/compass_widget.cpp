#include "ui/compass_widget.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPen>

namespace d7o::ui {

namespace {

// The needle's end may lie on the square's far edges (x or y equal to its size): a small
// margin keeps the outline and the needle there inside the widget.
constexpr int kMargin = 2;
constexpr int kInnerMark = 8;
constexpr int kOuterMark = 18;
constexpr qreal kNeedleWidth = 2.5;

QLabel* scaleLabel(QWidget* parent, const char* name, const char* text, Qt::Alignment align) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(align);
  return label;
}

}  // namespace

CompassNeedle::CompassNeedle(QPoint origin, QWidget* parent) : QWidget(parent), m_origin(origin) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CompassNeedle::setNeedle(QPoint end, QPoint centre) {
  if (end == m_end && centre == m_centre) return;
  m_end = end;
  m_centre = centre;
  update();
}

void CompassNeedle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(kMargin, kMargin);
  p.setPen(QPen(palette().color(QPalette::Text), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(m_centre), kOuterMark / 2.0, kOuterMark / 2.0);
  p.setBrush(palette().color(QPalette::Text));
  p.drawEllipse(QPointF(m_centre), kInnerMark / 2.0, kInnerMark / 2.0);

  p.setPen(QPen(QColor(200, 0, 0), kNeedleWidth, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(m_end), QPointF(m_centre));
}

CompassPanel::CompassPanel(QSize square, QPoint origin, QWidget* parent)
    : QWidget(parent), m_square(square), m_needle(new CompassNeedle(origin, this)) {
  setFixedSize(square + QSize(2 * kMargin, 2 * kMargin));
  m_needle->setGeometry(rect());
  // The needle turns with every sentence: the panel paints its margin too, so the box and
  // the window beneath are not painted again with it.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CompassPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().brush(QPalette::Window));
  p.translate(kMargin, kMargin);
  p.setPen(QPen(palette().color(QPalette::Mid), 1));
  p.setBrush(palette().color(QPalette::Base));
  p.drawRect(QRectF(QPointF(0, 0), QSizeF(m_square)));
}

CompassWidget::CompassWidget(QSize square, QPoint origin, QWidget* parent)
    : QWidget(parent), m_panel(new CompassPanel(square, origin, this)) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->addWidget(scaleLabel(this, "Label1", "0", Qt::AlignHCenter | Qt::AlignBottom), 0, 1);
  grid->addWidget(scaleLabel(this, "Label4", "270", Qt::AlignRight | Qt::AlignVCenter), 1, 0);
  grid->addWidget(m_panel, 1, 1);
  grid->addWidget(scaleLabel(this, "Label7", "90", Qt::AlignLeft | Qt::AlignVCenter), 1, 2);
  grid->addWidget(scaleLabel(this, "Label3", "180", Qt::AlignHCenter | Qt::AlignTop), 2, 1);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

}  // namespace d7o::ui
