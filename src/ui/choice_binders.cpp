// The controls that choose one of several: a combo box of fixed items and option buttons.

#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/latin1.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace d7o::ui {

namespace {

class ComboBoxBinder : public Binder {
 public:
  ComboBoxBinder(QComboBox* w, forms::ComboBox& c) : Binder(w, w), m_widget(w), m_control(c) {
    w->setObjectName(fromLatin1(c.name()));
    // An editable combo takes a typed text, which reaches the model without a Click.
    w->setEditable(c.editable());
    // Typed text stays the model's; it never becomes an entry of the list.
    w->setInsertPolicy(QComboBox::NoInsert);
    {
      const QSignalBlocker block(w);
      w->clear();
      for (const auto& item : c.items()) w->addItem(fromLatin1(item));
    }
    follow(c.changed);
    // `activated` is the user's choice only (list, keys, wheel); an index set from code
    // must not come back to the model as a Click.
    connect(w, &QComboBox::activated, this, [this](int index) {
      m_control.choose(index);
      // The Click handler may have chosen another entry; the combo shows the model's.
      show();
    });
    if (QLineEdit* edit = w->lineEdit()) {
      // `textEdited` is the user's typing only, never a text set from code.
      connect(edit, &QLineEdit::textEdited, this,
              [this](const QString& text) { m_control.setText(toLatin1(text)); });
    }
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    // A list the program changed (a history, the drives) is shown afresh.
    const auto& items = m_control.items();
    bool same = m_widget->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < m_widget->count(); ++i) {
      same = m_widget->itemText(i) == fromLatin1(items[static_cast<std::size_t>(i)]);
    }
    if (!same) {
      m_widget->clear();
      for (const auto& item : items) m_widget->addItem(fromLatin1(item));
    }
    m_widget->setCurrentIndex(m_control.listIndex());
    if (QLineEdit* edit = m_widget->lineEdit()) {
      // Only a different text is written back: rewriting the same one would move the cursor
      // of a user typing in the middle.
      const QString text = fromLatin1(m_control.text());
      if (edit->text() != text) edit->setText(text);
    }
    applyControlState(m_widget, m_control);
  }

  QComboBox* m_widget;
  forms::ComboBox& m_control;
};

class OptionButtonBinder : public Binder {
 public:
  OptionButtonBinder(QRadioButton* w, forms::OptionButton& c)
      : Binder(w, w), m_widget(w), m_control(c) {
    w->setObjectName(fromLatin1(c.name()));
    // Qt's own grouping would uncheck the others behind the model's back.
    w->setAutoExclusive(false);
    follow(c.changed);
    connect(w, &QRadioButton::clicked, this, [this] {
      m_control.select();
      // A click on the selected one toggles a non-exclusive radio off; the model keeps it.
      show();
    });
    show();
  }

 private:
  void show() override {
    const QSignalBlocker block(m_widget);
    m_widget->setText(fromLatin1(m_control.caption()));
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
