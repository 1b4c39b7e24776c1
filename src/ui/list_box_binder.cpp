#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/code_page.h"

#include <string>
#include <vector>

#include <QEvent>
#include <QKeyEvent>
#include <QListWidgetItem>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

namespace d7o::ui {

namespace {

// A list box follows its control item by item, so a terminal of many lines does not
// rebuild on every new line. The changes queue until the window's beat; then the items,
// the selection and the scrolling (each of which lays the view out) follow together.
class ListBoxBinder : public Binder {
 public:
  ListBoxBinder(QListWidget* w, forms::ListBox& c, ReturnKey returnKey)
      : Binder(w, w), m_widget(w), m_control(c), m_returnKey(returnKey) {
    w->setObjectName(fromCodePage(c.name()));
    // A click toggles its row in a list of several selected rows.
    w->setSelectionMode(c.multiSelect() ? QAbstractItemView::MultiSelection
                                        : QAbstractItemView::SingleSelection);
    // The view scrolls on the beat, not on every new current row.
    w->setAutoScroll(false);
    follow(c.changed);
    listen(c.itemsChanged, [this](forms::ListChange change) {
      queue(change);
      showOnBeat();
    });

    // The selection, not the current row: a list that gets the focus makes its first row
    // current without anyone choosing it, and that must not raise Click.
    connect(w, &QListWidget::itemSelectionChanged, this, [this] {
      if (m_control.multiSelect()) {
        markSelection();
      } else {
        select(selectedRow());
      }
    });
    connect(w, &QListWidget::itemDoubleClicked, this, [this] { m_control.DblClick.emit(); });
    // Mouse events of an item view arrive at its viewport.
    m_viewport = w->viewport();
    w->installEventFilter(this);
    watchMouseUp(m_viewport,
                 [this](forms::MouseButton button, bool) { m_control.MouseUp.emit(button); });

    // The items it starts with, without scrolling: a list opens at its top.
    m_rebuild = true;
    applyItems();
    show();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A hidden list (the terminal behind the GPS analyzer) scrolls when it shows again.
    if (watched == m_widget && event->type() == QEvent::Show) scroll();
    // The keyboard does what the mouse does on the selected row.
    if (watched == m_widget && event->type() == QEvent::KeyPress && m_widget->isEnabled() &&
        keyPressed(*static_cast<QKeyEvent*>(event))) {
      return true;
    }
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
  // Return: the double click or the right click, as the list was bound; the context-menu
  // key (or Shift+F10): the right click.
  bool keyPressed(const QKeyEvent& key) {
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    const bool menu = key.key() == Qt::Key_Menu ||
                      (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
    if (enter && key.modifiers() == Qt::NoModifier && m_returnKey == ReturnKey::DoubleClick) {
      m_control.DblClick.emit();
      return true;
    }
    if ((enter && key.modifiers() == Qt::NoModifier) || menu) {
      m_control.MouseUp.emit(forms::MouseButton::Right);
      return true;
    }
    return false;
  }

  // One change of the items with the row it brought, replayed on the beat.
  struct Pending {
    forms::ListChange change;
    std::string text;
    forms::RowStamp stamp;
  };
  // A queue longer than this is dropped for a rebuild from the model.
  static constexpr std::size_t kMaxPending = 256;

  void queue(forms::ListChange change) {
    if (m_rebuild) return;  // the rebuild reads the model as it is then
    if (change.kind == forms::ListChange::Kind::Cleared || m_pending.size() >= kMaxPending) {
      m_pending.clear();
      m_rebuild = true;
      return;
    }
    const bool hasText = change.kind == forms::ListChange::Kind::Added ||
                         change.kind == forms::ListChange::Kind::Replaced;
    if (!hasText) {
      m_pending.push_back({change, {}, {}});
      return;
    }
    m_pending.push_back({change, m_control.item(change.index), m_control.stamp(change.index)});
  }

  // The user's selection reaches the model at once; the arrow keys keep it in view.
  void select(int row) {
    m_control.setListIndex(row);
    if (!m_rebuild && m_pending.empty()) applySelection();
    if (m_widget->currentItem() != nullptr) m_widget->scrollToItem(m_widget->currentItem());
  }

  // Each row the user marked or unmarked reaches the model, top to bottom, each with its
  // Click; a Click handler that changes the marks is followed on the beat.
  void markSelection() {
    if (!m_rebuild && m_pending.empty()) {
      for (int row = 0; row < m_widget->count() && row < m_control.count(); ++row) {
        m_control.setSelected(row, m_widget->item(row)->isSelected());
      }
    }
  }

  void show() override {
    const QScrollBar* bar = m_widget->verticalScrollBar();
    // A list that showed its last line keeps showing it, as a terminal should.
    const bool atEnd = bar->value() == bar->maximum();
    const bool added = applyItems();
    if (m_stampsShown != m_control.showStamps()) showStampsAnew();
    m_scrollToEnd = m_scrollToEnd || (added && atEnd);
    {
      const QSignalBlocker block(m_widget);
      applyControlState(m_widget, m_control);
      applyColor(m_widget, QPalette::Text, m_control.foreColor());
    }
    applySelection();
    // Scrolling lays the view out and asks the display where the pointer is: a hidden
    // list scrolls when it shows.
    if (m_widget->isVisible()) scroll();
  }

  // Returns whether lines were added.
  bool applyItems() {
    const QSignalBlocker block(m_widget);
    bool added = false;
    if (m_rebuild) {
      m_rebuild = false;
      m_pending.clear();
      m_widget->clear();
      m_stampsShown = m_control.showStamps();
      for (int row = 0; row < m_control.count(); ++row) {
        auto* item = new QListWidgetItem;
        render(item, m_control.item(row), m_control.stamp(row));
        m_widget->addItem(item);
      }
      return m_widget->count() > 0;
    }
    for (const Pending& p : m_pending) {
      if (!replay(p)) break;
      added = added || p.change.kind == forms::ListChange::Kind::Added;
    }
    m_pending.clear();
    // Whatever went wrong in between, the list never shows other items than the model.
    if (m_widget->count() != m_control.count()) {
      m_rebuild = true;
      return applyItems();
    }
    return added;
  }

  // False when the change does not fit the items shown.
  bool replay(const Pending& p) {
    using Kind = forms::ListChange::Kind;
    const int i = p.change.index;
    switch (p.change.kind) {
      case Kind::Added: {
        if (i < 0 || i > m_widget->count()) return false;
        auto* item = new QListWidgetItem;
        render(item, p.text, p.stamp);
        m_widget->insertItem(i, item);
        return true;
      }
      case Kind::Removed:
        if (i < 0 || i >= m_widget->count()) return false;
        delete m_widget->takeItem(i);
        return true;
      case Kind::Replaced:
        if (i < 0 || i >= m_widget->count()) return false;
        render(m_widget->item(i), p.text, p.stamp);
        return true;
      case Kind::Cleared:
        m_widget->clear();
        return true;
    }
    return false;
  }

  // A row as the list shows it: with its time and mark while the stamps show, which a
  // screen reader says after the text ("AT+CSQ, sent at 09:30:01.250") rather than
  // spelling out the figures first. Row i stays the model's row i either way.
  void render(QListWidgetItem* item, const std::string& text, const forms::RowStamp& stamp) const {
    const bool stamped = m_control.showStamps() && stamp.timeOfDay != forms::RowStamp::kNoTime;
    // The meaning of an error code shows on hovering and is read after the row.
    const QString note = fromCodePage(stamp.note);
    item->setToolTip(note);
    item->setData(Qt::AccessibleDescriptionRole, note.isEmpty() ? QVariant() : QVariant(note));
    if (!stamped) {
      item->setText(fromCodePage(text));
      item->setData(Qt::AccessibleTextRole, QVariant());
      return;
    }
    item->setText(fromCodePage(forms::stampedRow(stamp, text)));
    QString spoken = fromCodePage(text).trimmed();
    if (spoken.isEmpty()) spoken = QStringLiteral("empty line");
    spoken += stamp.sent ? QStringLiteral(", sent at ") : QStringLiteral(", at ");
    spoken += fromCodePage(forms::timeOfDayText(stamp.timeOfDay));
    item->setData(Qt::AccessibleTextRole, spoken);
  }

  // The stamps switched on or off: every row anew, in place, so the selection and the
  // scrolling stay; the rows' width changes with them.
  void showStampsAnew() {
    const QSignalBlocker block(m_widget);
    m_stampsShown = m_control.showStamps();
    for (int row = 0; row < m_widget->count() && row < m_control.count(); ++row) {
      render(m_widget->item(row), m_control.item(row), m_control.stamp(row));
    }
    m_widget->doItemsLayout();
  }

  void scroll() {
    const int selected = selectedRow();
    if (m_scrollToSelection && selected >= 0) {
      m_widget->scrollToItem(m_widget->item(selected));
    } else if (m_scrollToEnd) {
      m_widget->scrollToBottom();
    }
    m_scrollToSelection = m_scrollToEnd = false;
  }

  int selectedRow() const {
    const auto selected = m_widget->selectedItems();
    return selected.isEmpty() ? -1 : m_widget->row(selected.first());
  }

  void applySelection() {
    if (m_control.multiSelect()) {
      const QSignalBlocker block(m_widget);
      for (int row = 0; row < m_widget->count() && row < m_control.count(); ++row) {
        m_widget->item(row)->setSelected(m_control.selected(row));
      }
      return;
    }
    const int index = m_control.listIndex();
    if (selectedRow() == index) return;
    const QSignalBlocker block(m_widget);
    if (index < 0 || index >= m_widget->count()) {
      m_widget->clearSelection();
      return;
    }
    m_widget->setCurrentRow(index);
    m_scrollToSelection = true;
  }

  QListWidget* m_widget;
  QWidget* m_viewport = nullptr;
  forms::ListBox& m_control;
  ReturnKey m_returnKey;
  std::vector<Pending> m_pending;
  bool m_rebuild = false;
  bool m_stampsShown = false;        // as the rows show now
  bool m_scrollToEnd = false;        // lines came while the list showed its last line
  bool m_scrollToSelection = false;  // the model selected another row
};

}  // namespace

void bind(QListWidget* widget, forms::ListBox& control, ReturnKey returnKey) {
  new ListBoxBinder(widget, control, returnKey);
}

}  // namespace d7o::ui
