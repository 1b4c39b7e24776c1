// A text box of several lines: the model keeps its line ends as CR LF, as the classic
// multi-line text box does (the PDU creator's initial "Test-SMS" CR LF, the SMS text the
// modem receives); the widget shows lines.

#include "forms/code_page.h"
#include "ui/binder.h"
#include "ui/binders.h"
#include "ui/code_page.h"

#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

namespace d7o::ui {

namespace {

// A line break of the model: 2 characters, against the widget's one.
constexpr int kModelLineBreak = 2;

// The widget's text with its lines joined by LF. The raw text, not toPlainText(), which
// would turn a no-break space (0xA0, a character of the program's code page) into a blank.
QString widgetText(const QPlainTextEdit& widget) {
  QString text = widget.document()->toRawText();
  for (QChar& c : text) {
    // A new paragraph (Return) or a line break inside one (Shift+Return).
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = QLatin1Char('\n');
  }
  return text;
}

// The model's text as the widget's lines: CR LF, and a lone CR or LF written by code,
// each end a line.
QString linesOf(const std::string& text) {
  QString lines = fromCodePage(text);
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return lines;
}

std::string modelTextOf(QString lines) {
  lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return toCodePage(lines);
}

class PlainTextBinder : public Binder {
 public:
  PlainTextBinder(QPlainTextEdit* w, forms::TextBox& c)
      : Binder(w, w), m_widget(w), m_control(c), m_designReadOnly(w->isReadOnly()) {
    w->setObjectName(fromCodePage(c.name()));
    // Tab moves on to the next control, as in the program's windows; Return starts a line.
    w->setTabChangesFocus(true);
    // A PDU is one long run of hex digits: it wraps where the box ends.
    w->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    follow(c.changed);
    // Every change of the text, whoever made it; the model's copies run under
    // QSignalBlocker and never come back.
    connect(w, &QPlainTextEdit::textChanged, this, [this] { edited(); });
    show();
  }

 private:
  void edited() {
    if (m_ownEdit) return;
    QString text = widgetText(*m_widget);
    const TypingCut cut = cutTyping(m_shown, text, m_widget->textCursor().position(),
                                    m_control.maxLength(), kModelLineBreak);
    if (!cut.empty()) {
      // Through a cursor, so the user's undo history and scroll position stay.
      QTextCursor cursor(m_widget->document());
      cursor.setPosition(cut.from);
      cursor.setPosition(cut.to, QTextCursor::KeepAnchor);
      m_ownEdit = true;
      cursor.removeSelectedText();
      m_ownEdit = false;
      text = widgetText(*m_widget);
    }
    const std::u32string replaced = keepInCodePage(text);
    if (!replaced.empty()) text = widgetText(*m_widget);
    m_shown = text;
    m_control.setText(modelTextOf(text));
    reportReplaced(m_widget, m_control, replaced);
    show();
  }

  // "?" in place of each character outside the windows' code page, written through a
  // cursor, so the user's own cursor, the rest of the text and the undo history stay.
  std::u32string keepInCodePage(const QString& text) {
    std::u32string replaced;
    QTextCursor cursor(m_widget->document());
    m_ownEdit = true;
    bool editing = false;
    // From the end, so the positions still to come do not move.
    for (qsizetype i = text.size(); i-- > 0;) {
      qsizetype from = i;
      char32_t c = text[i].unicode();
      if (text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()) {
        from = i - 1;
        c = QChar::surrogateToUcs4(text[i - 1], text[i]);
      }
      if (!forms::toCodePage(c)) {
        if (!editing) cursor.beginEditBlock();
        editing = true;
        cursor.setPosition(static_cast<int>(from));
        cursor.setPosition(static_cast<int>(i + 1), QTextCursor::KeepAnchor);
        cursor.insertText(QStringLiteral("?"));
        replaced.insert(replaced.begin(), c);
      }
      i = from;
    }
    if (editing) cursor.endEditBlock();
    m_ownEdit = false;
    return replaced;
  }

  void show() override {
    const QSignalBlocker block(m_widget);
    const QString lines = linesOf(m_control.text());
    // Only a real difference is written, so typing keeps its cursor position.
    if (widgetText(*m_widget) != lines) m_widget->setPlainText(lines);
    m_shown = lines;
    const bool readOnly = m_designReadOnly || m_control.readOnly();
    if (m_widget->isReadOnly() != readOnly) m_widget->setReadOnly(readOnly);
    // What the program shows there may still be selected and copied with the keys.
    constexpr auto kReadable = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    if (readOnly && m_widget->textInteractionFlags() != kReadable) {
      m_widget->setTextInteractionFlags(kReadable);
    }
    applyControlState(m_widget, m_control);
    applyColor(m_widget, QPalette::Base, m_control.backColor());
  }

  QPlainTextEdit* m_widget;
  forms::TextBox& m_control;
  bool m_designReadOnly;
  // What the widget showed before the user's edit, in its lines.
  QString m_shown;
  // Taking out what went beyond the limit, or putting "?" in, is an edit too: not the user's.
  bool m_ownEdit = false;
};

}  // namespace

void bind(QPlainTextEdit* widget, forms::TextBox& control) {
  new PlainTextBinder(widget, control);
}

}  // namespace d7o::ui
