#pragma once

#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace d7o::ui {

class Binder;

// The one refresh beat of a window. A device streaming at 115200 baud changes some control
// every few milliseconds; copying each change to its widget would lay out and paint the
// window far more often than the eye can follow. A binder whose control changed marks
// itself dirty here instead, and the beat copies all dirty binders together: at once (on
// the next turn of the event loop) after a quiet interval, else at the end of the
// interval. So a single change shows at once, a burst shows at most once per interval,
// and the last change of a burst always shows.
//
// A window that changed at every beat for a second on end is being fed by a streaming
// device: its beat then slows to four pictures a second, which still show every value's
// latest state, and is back at its interval after the first quiet interval. Painting is
// most of what a stream costs the program; a technician reads no more than that, and an
// exchange of commands, with its pauses, never slows it.
//
// While the window is hidden the beat holds its dirty binders and copies them when the
// window shows. The beat is a child of its window; a widget in a window without a beat is
// copied at once.
class RefreshBeat : public QObject {
  // Found among the window's children by its type.
  Q_OBJECT

 public:
  RefreshBeat(QWidget* window, int intervalMs);
  ~RefreshBeat() override;
  RefreshBeat(const RefreshBeat&) = delete;
  RefreshBeat& operator=(const RefreshBeat&) = delete;

  // The beat of the window `widget` is in, or nullptr.
  static RefreshBeat* of(const QWidget* widget);

  int interval() const { return m_interval; }
  // The interval the beat keeps now: the window's, or the slower one of a stream.
  int currentInterval() const;
  static constexpr int kStreamingIntervalMs = 250;
  static constexpr int kBusyBeatsToSlow = 10;
  void mark(Binder& binder);
  void forget(Binder& binder);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void flush();

  QWidget* m_window;
  int m_interval;
  int m_busyBeats = 0;  // beats in a row that found the window changed within the interval
  QTimer m_timer;
  QElapsedTimer m_sinceFlush;
  std::vector<Binder*> m_dirty;
  std::vector<Binder*> m_flushing;
};

}  // namespace d7o::ui
