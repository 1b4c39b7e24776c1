// The controls that choose one of several: a combo box of fixed items and option buttons.

#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/code_page.h"

#include <utility>

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace d7o::ui {

namespace {

class ComboBoxBinder : public Binder {
 public:
  ComboBoxBinder(QComboBox* w, forms::ComboBox& c) : Binder(w, w), m_widget(w), m_control(c) {
    w->setObjectName(fromCodePage(c.name()));
    // An editable combo takes a typed text, which reaches the model without a Click.
    w->setEditable(c.editable());
    // Typed text stays the model's; it never becomes an entry of the list.
    w->setInsertPolicy(QComboBox::NoInsert);
    {
      const QSignalBlocker block(w);
      w->clear();
      for (const auto& item : c.items()) w->addItem(fromCodePage(item));
    }
    follow(c.changed);
    // Every change of the entry shown, whoever chose it (the list, the keys, the wheel,
    // a screen reader): the model's own copies run blocked and never come back.
    connect(w, &QComboBox::currentIndexChanged, this, [this](int index) {
      if (index < 0) return;
      m_control.choose(index);
      // `activated` follows at once for a choice from the list: one Click is enough.
      m_chosenByChange = true;
      QTimer::singleShot(0, this, [this] { m_chosenByChange = false; });
      // The Click handler may have chosen another entry; the combo shows the model's.
      show();
    });
    // The user's choice of the entry already shown, which changes no index but still
    // clicks, as the classic combo does.
    connect(w, &QComboBox::activated, this, [this](int index) {
      if (std::exchange(m_chosenByChange, false)) return;
      m_control.choose(index);
      show();
    });
    if (QLineEdit* edit = w->lineEdit()) {
      connect(edit, &QLineEdit::textChanged, this, [this, edit] {
        // Text that matches an entry is that entry's choice, raised above.
        if (m_widget->currentIndex() >= 0 &&
            edit->text() == m_widget->itemText(m_widget->currentIndex())) {
          return;
        }
        const std::u32string replaced = keepInCodePage(edit);
        m_control.setText(toCodePage(edit->text()));
        reportReplaced(m_widget, m_control, replaced);
      });
    }
    show();
  }

 private:
  void show() override {
    // The combo and its line edit both: clearing the list empties the edit, and that is
    // no text of the user's.
    QLineEdit* edit = m_widget->lineEdit();
    const QSignalBlocker block(m_widget);
    const QSignalBlocker blockEdit(edit);
    const int cursor = edit != nullptr ? edit->cursorPosition() : 0;
    // A list the program changed (a history, the drives) is shown afresh.
    const auto& items = m_control.items();
    bool same = m_widget->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < m_widget->count(); ++i) {
      same = m_widget->itemText(i) == fromCodePage(items[static_cast<std::size_t>(i)]);
    }
    if (!same) {
      m_widget->clear();
      for (const auto& item : items) m_widget->addItem(fromCodePage(item));
    }
    // Going to no entry empties an editable combo's text: written back just below.
    if (m_widget->currentIndex() != m_control.listIndex()) {
      m_widget->setCurrentIndex(m_control.listIndex());
    }
    if (edit != nullptr) {
      // Only a different text is written back, and the cursor stays where the user typed.
      const QString text = fromCodePage(m_control.text());
      if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(cursor);
      }
    }
    applyControlState(m_widget, m_control);
  }

  QComboBox* m_widget;
  forms::ComboBox& m_control;
  bool m_chosenByChange = false;
};

class OptionButtonBinder : public Binder {
 public:
  OptionButtonBinder(QRadioButton* w, forms::OptionButton& c)
      : Binder(w, w), m_widget(w), m_control(c) {
    w->setObjectName(fromCodePage(c.name()));
    // Qt's own grouping would uncheck the others behind the model's back.
    w->setAutoExclusive(false);
    follow(c.changed);
    // Every change of the mark: a click, the keys, a screen reader's "Toggle".
    connect(w, &QRadioButton::toggled, this, [this](bool on) {
      if (on) m_control.select();
      // Turned off (a click on the selected one, or a screen reader): an option is
      // cleared only by choosing another of its group, so the model keeps it.
      show();
    });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    m_widget->setText(fromCodePage(m_control.caption()));
    m_widget->setChecked(m_control.value());
    applyControlState(m_widget, m_control);
    applyBackground(m_widget, m_control.backColor());
    applyColor(m_widget, QPalette::WindowText, m_control.foreColor());
  }

  QRadioButton* m_widget;
  forms::OptionButton& m_control;
};

}  // namespace

void bind(QComboBox* widget, forms::ComboBox& control) {
  new ComboBoxBinder(widget, control);
}
void bind(QRadioButton* widget, forms::OptionButton& control) {
  new OptionButtonBinder(widget, control);
}

}  // namespace d7o::ui
