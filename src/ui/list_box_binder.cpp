#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/latin1.h"

#include <algorithm>

#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

namespace d7o::ui {

namespace {

// A list box follows its control item by item, so a terminal of thousands of lines does
// not rebuild on every new line.
class ListBoxBinder : public Binder {
 public:
  ListBoxBinder(QListWidget* w, forms::ListBox& c) : Binder(w), m_widget(w), m_control(c) {
    w->setObjectName(fromLatin1(c.name()));
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    // The view scrolls on the beat below, not on every new current row.
    w->setAutoScroll(false);
    listen(c.changed, [this] { show(); });
    listen(c.itemsChanged, [this](forms::ListChange change) { follow(change); });

    // The selection, not the current row: a list that gets the focus makes its first row
    // current without anyone choosing it, and that must not raise Click.
    connect(w, &QListWidget::itemSelectionChanged, this, [this] { select(selectedRow()); });
    connect(w, &QListWidget::itemDoubleClicked, this, [this] { m_control.DblClick.emit(); });
    // Mouse events of an item view arrive at its viewport.
    m_viewport = w->viewport();
    w->installEventFilter(this);
    watchMouseUp(m_viewport,
                 [this](forms::MouseButton button, bool) { m_control.MouseUp.emit(button); });

    rebuild();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_widget && event->type() == QEvent::Show && !m_beatPending) scroll();
    // A right or middle press would move the selection, and a selection from code raises
    // Click: only the left button selects, as in the classic list box.
    const auto type = event->type();
    // The viewport as it was when bound: events still arrive while the list is being
    // destroyed, when it can no longer be asked for its parts.
    if (watched == m_viewport &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
      return true;
    }
    return Binder::eventFilter(watched, event);
  }

 private:
  void select(int row) {
    m_control.setListIndex(row);
    show();
    // The arrow keys move the selection: it stays in view.
    if (m_widget->currentItem() != nullptr) m_widget->scrollToItem(m_widget->currentItem());
  }

  // A GPS device at 115200 baud adds a line every few milliseconds: the items follow at
  // once; the scrolling and, while lines arrive, the selection (each of which lays the
  // view out) at most every kBeatInterval, which the eye cannot tell apart. A selection
  // without new items shows at once. The window paces the painting.
  void startBeat(bool followEnd) {
    if (!m_beatPending) {
      m_beatPending = true;
      const QScrollBar* bar = m_widget->verticalScrollBar();
      m_followEnd = bar->value() == bar->maximum();
      QTimer::singleShot(kBeatInterval, this, [this] { beat(); });
    }
    m_scrollToEnd = m_scrollToEnd || (followEnd && m_followEnd);
  }

  void beat() {
    m_beatPending = false;
    if (m_burst) applySelection();
    m_burst = false;
    // A hidden list (the terminal behind the GPS analyzer) scrolls when it shows again:
    // scrolling lays the view out and asks the display where the pointer is.
    if (m_widget->isVisible()) scroll();
  }

  void scroll() {
    const int selected = selectedRow();
    if (m_scrollToSelection && selected >= 0) {
      m_widget->scrollToItem(m_widget->item(selected));
    } else if (m_scrollToEnd) {
      // A list that showed its last line keeps showing it, as a terminal should.
      m_widget->scrollToBottom();
    }
    m_scrollToSelection = m_scrollToEnd = false;
  }

  void follow(forms::ListChange change) {
    startBeat(change.kind == forms::ListChange::Kind::Added);
    m_burst = true;
    const QSignalBlocker block(m_widget);
    using Kind = forms::ListChange::Kind;
    const int i = change.index;
    switch (change.kind) {
      case Kind::Added: {
        if (i < 0 || i > m_widget->count()) return rebuild();
        m_widget->insertItem(i, fromLatin1(m_control.item(i)));
        break;
      }
      case Kind::Removed:
        if (i < 0 || i >= m_widget->count()) return rebuild();
        delete m_widget->takeItem(i);
        break;
      case Kind::Replaced:
        if (i < 0 || i >= m_widget->count()) return rebuild();
        m_widget->item(i)->setText(fromLatin1(m_control.item(i)));
        break;
      case Kind::Cleared:
        m_widget->clear();
        break;
    }
    // Whatever went wrong in between, the list never shows other items than the model.
    if (m_widget->count() != m_control.count()) return rebuild();
    showSelection();
  }

  void rebuild() {
    const QSignalBlocker block(m_widget);
    m_widget->clear();
    for (const auto& text : m_control.items()) m_widget->addItem(fromLatin1(text));
    show();
  }

  void show() {
    const QSignalBlocker block(m_widget);
    applyControlState(m_widget, m_control);
    applyColor(m_widget, QPalette::Text, m_control.foreColor());
    showSelection();
  }

  int selectedRow() const {
    const auto selected = m_widget->selectedItems();
    return selected.isEmpty() ? -1 : m_widget->row(selected.first());
  }

  void showSelection() {
    if (m_burst) return;  // the beat shows it
    applySelection();
    // The list scrolls to it on the beat that this starts.
    if (m_scrollToSelection) startBeat(false);
  }

  void applySelection() {
    const int index = m_control.listIndex();
    if (selectedRow() == index) return;
    const QSignalBlocker block(m_widget);
    if (index < 0) {
      m_widget->clearSelection();
      return;
    }
    m_widget->setCurrentRow(index);
    m_scrollToSelection = true;
  }

  static constexpr int kBeatInterval = 50;  // ms

  QListWidget* m_widget;
  QWidget* m_viewport = nullptr;
  bool m_beatPending = false;
  bool m_followEnd = false;  // the list showed its last line when the beat began
  bool m_scrollToEnd = false;
  bool m_scrollToSelection = false;
  bool m_burst = false;  // the items changed since the beat began
  forms::ListBox& m_control;
};

}  // namespace

void bind(QListWidget* widget, forms::ListBox& control) {
  new ListBoxBinder(widget, control);
}

}  // namespace d7o::ui
