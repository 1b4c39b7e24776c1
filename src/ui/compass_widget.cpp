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

CompassPanel::CompassPanel(QSize square, QWidget* parent)
    : QWidget(parent),
      m_square(square),
      m_end(square.width() / 2, 0),
      m_centre(square.width() / 2, square.height() / 2) {
  setFixedSize(square + QSize(2 * kMargin, 2 * kMargin));
}

void CompassPanel::setNeedle(QPoint end, QPoint centre) {
  if (end == m_end && centre == m_centre) return;
  m_end = end;
  m_centre = centre;
  update();
}

void CompassPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(kMargin, kMargin);
  const QRectF square(QPointF(0, 0), QSizeF(m_square));

  p.setPen(QPen(palette().color(QPalette::Mid), 1));
  p.setBrush(palette().color(QPalette::Base));
  p.drawRect(square);

  p.setPen(QPen(palette().color(QPalette::Text), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(m_centre), kOuterMark / 2.0, kOuterMark / 2.0);
  p.setBrush(palette().color(QPalette::Text));
  p.drawEllipse(QPointF(m_centre), kInnerMark / 2.0, kInnerMark / 2.0);

  p.setPen(QPen(QColor(200, 0, 0), kNeedleWidth, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(m_end), QPointF(m_centre));
}

CompassWidget::CompassWidget(QSize square, QWidget* parent)
    : QWidget(parent), m_panel(new CompassPanel(square, this)) {
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
