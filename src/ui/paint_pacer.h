#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace d7o::ui {

// Lets a window paint at most once every `interval`. A device streaming at 115200 baud
// changes some control every few milliseconds; each change would otherwise cost a paint
// and a copy to the display. The first change after a quiet moment paints at once; the
// changes that follow it within the interval paint together at its end. Nothing is lost:
// only the painting waits, the widgets are always current.
class PaintPacer : public QObject {
 public:
  PaintPacer(QWidget* window, int intervalMs);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_window;
  int m_interval;
  QElapsedTimer m_sincePaint;
  QTimer m_held;  // the paint that waits for the end of the interval
};

}  // namespace d7o::ui
