#include "ui/about_pictures.h"

#include "ui/binder.h"
#include "ui/code_page.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

namespace d7o::ui {

namespace {

void drawModem(QPainter& p, const QRect& r) {
  // The housing with its label, the antenna on top, the serial socket on the side.
  const QRect box(r.left() + r.width() / 6, r.top() + r.height() / 3, r.width() * 2 / 3,
                  r.height() / 2);
  p.setBrush(QColor(70, 80, 95));
  p.drawRoundedRect(box, 6, 6);
  p.setPen(QPen(Qt::black, 3));
  p.drawLine(box.right() - 12, box.top(), box.right() - 4, r.top() + 4);
  p.setPen(Qt::white);
  QFont f = p.font();
  f.setBold(true);
  f.setPointSize(f.pointSize() + 2);
  p.setFont(f);
  p.drawText(box, Qt::AlignCenter, QStringLiteral("D7O"));
  p.setPen(Qt::black);
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(box.left() - 8, box.center().y() - 8, 8, 16);
}

void drawBoard(QPainter& p, const QRect& r) {
  p.setBrush(QColor(30, 110, 60));
  p.drawRect(r);
  p.setBrush(Qt::black);
  p.drawRect(r.left() + r.width() / 4, r.top() + r.height() / 4, r.width() / 2, r.height() / 3);
  p.setPen(Qt::white);
  p.drawText(r.adjusted(0, 0, 0, -4), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("R7O-3"));
}

void drawManual(QPainter& p, const QRect& r) {
  // A page with a folded corner and "PDF" on it.
  const QRect page = r.adjusted(r.width() / 5, 4, -r.width() / 5, -4);
  const int fold = page.width() / 4;
  const QPolygon outline({page.topLeft(), QPoint(page.right() - fold, page.top()),
                          QPoint(page.right(), page.top() + fold), page.bottomRight(),
                          page.bottomLeft()});
  p.setBrush(Qt::white);
  p.drawPolygon(outline);
  p.drawLine(page.right() - fold, page.top(), page.right() - fold, page.top() + fold);
  p.drawLine(page.right() - fold, page.top() + fold, page.right(), page.top() + fold);
  p.setPen(QColor(180, 20, 20));
  QFont f = p.font();
  f.setBold(true);
  p.setFont(f);
  p.drawText(page, Qt::AlignCenter, QStringLiteral("PDF"));
}

class PictureBinder : public Binder {
 public:
  PictureBinder(AboutPicture* w, forms::PictureBox& c) : Binder(w, w), m_widget(w), m_control(c) {
    w->setObjectName(fromCodePage(c.name()));
    follow(c.changed);
    show();
  }

 private:
  void show() override { applyControlState(m_widget, m_control); }

  AboutPicture* m_widget;
  forms::PictureBox& m_control;
};

class ImageBinder : public Binder {
 public:
  ImageBinder(AboutPicture* w, forms::Image& c) : Binder(w, w), m_widget(w), m_control(c) {
    w->setObjectName(fromCodePage(c.name()));
    w->setMouseTracking(true);
    w->setCursor(Qt::PointingHandCursor);
    follow(c.changed);
    watchMouseUp(w, [this](forms::MouseButton button, bool inside) {
      if (button == forms::MouseButton::Left && inside) m_control.Click.emit();
    });
    show();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_widget && event->type() == QEvent::MouseMove && m_widget->isEnabled()) {
      m_control.MouseMove.emit();
    }
    return Binder::eventFilter(watched, event);
  }

 private:
  void show() override {
    applyControlState(m_widget, m_control);
    m_widget->setBorder(m_control.border());
  }

  AboutPicture* m_widget;
  forms::Image& m_control;
};

}  // namespace

AboutPicture::AboutPicture(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize AboutPicture::sizeHint() const {
  switch (m_kind) {
    case Kind::Product:
      return {260, 130};
    case Kind::Modem:
      return {120, 100};
    case Kind::Manual:
      return {80, 100};
  }
  return {100, 100};
}

void AboutPicture::setBorder(bool border) {
  if (m_border == border) return;
  m_border = border;
  update();
}

void AboutPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRect r = rect().adjusted(2, 2, -3, -3);
  switch (m_kind) {
    case Kind::Product:
      drawModem(p, QRect(r.left(), r.top(), r.width() / 2, r.height()));
      drawBoard(p, QRect(r.left() + r.width() * 5 / 8, r.top() + r.height() / 3, r.width() / 3,
                         r.height() / 2));
      break;
    case Kind::Modem:
      drawModem(p, r);
      break;
    case Kind::Manual:
      drawManual(p, r);
      break;
  }
  if (m_border) {
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void bind(AboutPicture* widget, forms::PictureBox& control) {
  new PictureBinder(widget, control);
}

void bind(AboutPicture* widget, forms::Image& control) {
  new ImageBinder(widget, control);
}

}  // namespace d7o::ui
