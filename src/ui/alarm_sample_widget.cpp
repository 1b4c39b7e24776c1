#include "ui/alarm_sample_widget.h"

#include "ui/binder.h"
#include "ui/code_page.h"

#include <array>

#include <QPainter>
#include <QSignalBlocker>

namespace d7o::ui {

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 210;
constexpr int kRowHeight = 40;
constexpr int kTop = 30;
constexpr int kDeviceLeft = 20;
constexpr int kDeviceWidth = 130;
constexpr int kPinLength = 40;
constexpr int kGroundX = 380;

struct Pin {
  const char* device;  // the name at the device's side
  const char* wiring;  // what is wired to it
};

// The three inputs switch against ground; OUT1 switches a load against it.
constexpr std::array<Pin, 4> kPins = {{{"IN1  pin 11", "contact"},
                                       {"IN2  pin 12", "contact"},
                                       {"IN3  pin 13", "contact"},
                                       {"OUT1", "load (relay)"}}};

void drawContact(QPainter& p, int x, int y) {
  // An open switch: a fixed point and a lever lifted off the other.
  p.drawEllipse(QPoint(x, y), 3, 3);
  p.drawLine(x + 3, y, x + 40, y - 14);
  p.drawEllipse(QPoint(x + 44, y), 3, 3);
}

void drawLoad(QPainter& p, int x, int y) {
  p.drawRect(x, y - 9, 44, 18);
  p.drawLine(x, y - 9, x + 44, y + 9);
}

class PictureBinder : public Binder {
 public:
  PictureBinder(AlarmSampleWidget* w, forms::PictureBox& c)
      : Binder(w, w), m_widget(w), m_control(c) {
    w->setObjectName(fromCodePage(c.name()));
    follow(c.changed);
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    applyControlState(m_widget, m_control);
  }

  AlarmSampleWidget* m_widget;
  forms::PictureBox& m_control;
};

}  // namespace

AlarmSampleWidget::AlarmSampleWidget(QWidget* parent) : QWidget(parent) {
  setMinimumSize(kWidth, kHeight);
}

QSize AlarmSampleWidget::sizeHint() const {
  return {kWidth, kHeight};
}

void AlarmSampleWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), palette().base());
  p.setPen(QPen(palette().text().color(), 1.5));

  const int deviceBottom = kTop + static_cast<int>(kPins.size()) * kRowHeight;
  p.drawRect(kDeviceLeft, kTop - 20, kDeviceWidth, deviceBottom - kTop + 10);
  p.drawText(QRect(kDeviceLeft, kTop - 20, kDeviceWidth, 18), Qt::AlignCenter,
             QStringLiteral("R7O-3"));

  const int pinEnd = kDeviceLeft + kDeviceWidth + kPinLength;
  for (std::size_t i = 0; i < kPins.size(); ++i) {
    const int y = kTop + 10 + static_cast<int>(i) * kRowHeight;
    p.drawText(kDeviceLeft + 8, y + 5, QString::fromLatin1(kPins[i].device));
    p.drawLine(kDeviceLeft + kDeviceWidth, y, pinEnd, y);
    const bool output = i + 1 == kPins.size();
    if (output) {
      drawLoad(p, pinEnd, y);
    } else {
      drawContact(p, pinEnd, y);
    }
    p.drawLine(pinEnd + 44, y, kGroundX, y);
    p.drawText(pinEnd, y + 22, QString::fromLatin1(kPins[i].wiring));
  }
  // The common return of all four: ground.
  const int lastY = kTop + 10 + static_cast<int>(kPins.size() - 1) * kRowHeight;
  p.drawLine(kGroundX, kTop + 10, kGroundX, lastY + 20);
  p.drawLine(kGroundX - 12, lastY + 20, kGroundX + 12, lastY + 20);
  p.drawLine(kGroundX - 7, lastY + 25, kGroundX + 7, lastY + 25);
  p.drawLine(kGroundX - 2, lastY + 30, kGroundX + 2, lastY + 30);
  p.drawText(kGroundX - 40, lastY + 45, QStringLiteral("GND"));
}

void bind(AlarmSampleWidget* widget, forms::PictureBox& control) {
  new PictureBinder(widget, control);
}

}  // namespace d7o::ui
