// The text box binders: a box of several lines shows the model's CR LF as lines and
// writes a typed line break back as CR LF; both kinds let the user type no further than
// the control's limit, while a text written by code stays whole.

#include "forms/controls.h"
#include "ui/binder.h"
#include "ui/binders.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

#include <QTest>
#include <QTextCursor>

namespace d7o::ui {
namespace {

void moveCursor(QPlainTextEdit* edit, QTextCursor::MoveOperation where) {
  QTextCursor cursor = edit->textCursor();
  cursor.movePosition(where);
  edit->setTextCursor(cursor);
}

TEST(PlainTextBinder, CrLfOfTheModelShowsAsLinesAndATypedLineBreakIsCrLf) {
  forms::TextBox model("Text12");
  model.setMultiLine(true);
  model.setText("Test-SMS\r\n");
  QWidget page;
  auto* edit = new QPlainTextEdit(&page);
  bind(edit, model);
  EXPECT_EQ(edit->objectName(), QStringLiteral("Text12"));
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("Test-SMS\n"));
  EXPECT_EQ(edit->document()->blockCount(), 2);
  EXPECT_EQ(model.text(), "Test-SMS\r\n") << "showing it changed nothing";

  moveCursor(edit, QTextCursor::End);
  QTest::keyClicks(edit, "abc");
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClicks(edit, "d");
  EXPECT_EQ(model.text(), "Test-SMS\r\nabc\r\nd");
  // A line break within a paragraph (Shift+Return) is a line end of the model as well.
  QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(model.text(), "Test-SMS\r\nabc\r\nd\r\n");

  model.setText("one\r\ntwo\rthree\nfour");  // code may write any line end
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("one\ntwo\nthree\nfour"));
  EXPECT_EQ(model.text(), "one\r\ntwo\rthree\nfour") << "kept as written until the user types";
}

TEST(PlainTextBinder, TypingKeepsTheCursorWhereTheUserTypes) {
  forms::TextBox model("Text6");
  model.setText("Test-SMS\r\nline two");
  QWidget page;
  auto* edit = new QPlainTextEdit(&page);
  bind(edit, model);
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(4);  // after "Test"
  edit->setTextCursor(cursor);

  QTest::keyClicks(edit, "xy");
  EXPECT_EQ(model.text(), "Testxy-SMS\r\nline two");
  EXPECT_EQ(edit->textCursor().position(), 6);
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(model.text(), "Testx-SMS\r\nline two");
  EXPECT_EQ(edit->textCursor().position(), 5);
}

TEST(PlainTextBinder, AllCharactersOfTheCodePageSurviveTheRoundTrip) {
  forms::TextBox model("Text1");
  const std::string text =
      "a\xA0"
      "b\xE4\xFC\x1A";  // no-break space, umlauts, Ctrl-Z
  model.setText(text);
  QWidget page;
  auto* edit = new QPlainTextEdit(&page);
  bind(edit, model);
  moveCursor(edit, QTextCursor::End);
  QTest::keyClicks(edit, "c");
  EXPECT_EQ(model.text(), text + "c");
}

TEST(PlainTextBinder, TheUserTypesNoFurtherThanTheLimitAndALineBreakCountsTwo) {
  forms::TextBox model("Text12");
  model.setMaxLength(6);
  model.setText("abc");
  QWidget page;
  auto* edit = new QPlainTextEdit(&page);
  bind(edit, model);
  moveCursor(edit, QTextCursor::End);

  QTest::keyClicks(edit, "defg");
  EXPECT_EQ(model.text(), "abcdef");
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("abcdef"));

  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Return);  // CR LF would make 7
  EXPECT_EQ(model.text(), "abcde");
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(model.text(), "abcd\r\n");
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("abcd\n"));
}

TEST(PlainTextBinder, APasteIntoAFullBoxKeepsWhatFitsFromItsStart) {
  forms::TextBox model("Text12");
  model.setMaxLength(8);
  model.setText("ab");
  QWidget page;
  auto* edit = new QPlainTextEdit(&page);
  bind(edit, model);
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(1);
  edit->setTextCursor(cursor);

  edit->insertPlainText(QStringLiteral("1234567890"));  // as a paste inserts
  EXPECT_EQ(model.text(), "a123456b");
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("a123456b"));
  EXPECT_EQ(edit->textCursor().position(), 7) << "the cursor after what was kept";
}

TEST(PlainTextBinder, ATextFromCodeStaysWholeAndTakesNothingTypedButDeletions) {
  forms::TextBox model("Text12");
  model.setMaxLength(4);
  QWidget page;
  auto* edit = new QPlainTextEdit(&page);
  bind(edit, model);
  model.setText("0123456789ABCDEF");  // longer than the user may type
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("0123456789ABCDEF"));
  moveCursor(edit, QTextCursor::End);

  QTest::keyClicks(edit, "x");
  EXPECT_EQ(model.text(), "0123456789ABCDEF");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(model.text(), "0123456789ABCDE");
}

TEST(PlainTextBinder, ReadOnlyFollowsTheModelAndADesignedReadOnlyBoxStaysSo) {
  forms::TextBox model("Text22");
  model.setText("SCA: 491710760000\r\n");
  forms::TextBox status("Text3");
  QWidget page;
  auto* edit = new QPlainTextEdit(&page);
  bind(edit, model);
  EXPECT_FALSE(edit->isReadOnly());
  model.setReadOnly(true);
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_TRUE(edit->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
  QTest::keyClicks(edit, "x");
  EXPECT_EQ(model.text(), "SCA: 491710760000\r\n");
  model.setReadOnly(false);
  EXPECT_FALSE(edit->isReadOnly());

  auto* shown = new QPlainTextEdit(&page);
  shown->setReadOnly(true);
  bind(shown, status);
  status.setText("x");
  EXPECT_TRUE(shown->isReadOnly());
}

TEST(LineEditBinder, TheUserTypesNoFurtherThanTheLimitAndCodeWritesWhole) {
  forms::TextBox model("Text3");
  model.setMaxLength(3);
  forms::TextBox pdu("Text20");
  QWidget page;
  auto* edit = new QLineEdit(&page);
  bind(edit, model);

  QTest::keyClicks(edit, "abcd");
  EXPECT_EQ(model.text(), "abc");
  EXPECT_EQ(edit->text(), QStringLiteral("abc"));

  model.setText("0123456789");
  EXPECT_EQ(edit->text(), QStringLiteral("0123456789"));
  QTest::keyClicks(edit, "x");
  EXPECT_EQ(model.text(), "0123456789");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(model.text(), "012345678");

  // Without a limit a text from code is never cut, however long.
  auto* whole = new QLineEdit(&page);
  bind(whole, pdu);
  const std::string longText(40000, 'F');
  pdu.setText(longText);
  EXPECT_EQ(whole->text().size(), 40000);
}

TEST(LineEditBinder, ReadOnlyFollowsTheModelAndADesignedReadOnlyBoxStaysSo) {
  forms::TextBox model("Text21");
  forms::TextBox status("Text1");
  QWidget page;
  auto* edit = new QLineEdit(&page);
  bind(edit, model);
  model.setReadOnly(true);
  EXPECT_TRUE(edit->isReadOnly());
  model.setReadOnly(false);
  EXPECT_FALSE(edit->isReadOnly());

  auto* port = new QLineEdit(&page);
  port->setReadOnly(true);
  bind(port, status);
  status.setText("COM1");
  EXPECT_TRUE(port->isReadOnly());
}

TEST(CutTyping, TakesOutWhatTheLastEditInsertedBeyondTheLimit) {
  struct Case {
    std::string_view name;
    const char* before;
    const char* after;
    int cursor;
    int maxLength;
    int lineBreak;
    int from;
    int to;  // from == to: nothing to take out
  };
  static const Case kCases[] = {
      {"no limit", "abc", "abcd", 4, 0, 1, 0, 0},
      {"fits", "abc", "abcd", 4, 4, 1, 0, 0},
      {"one too many at the end", "abcd", "abcde", 5, 4, 1, 4, 5},
      {"one too many in the middle", "abcd", "abXcd", 3, 4, 1, 2, 3},
      {"a repeated letter: where the cursor is", "aaaa", "aaaaa", 1, 4, 1, 0, 1},
      {"a paste keeps its start", "ab", "a12345b", 6, 4, 1, 3, 6},
      {"a paste over a selection", "abcd", "a1234d", 5, 4, 1, 3, 5},
      {"a line break counts two", "abc", "abc\n", 4, 4, 2, 3, 4},
      {"a line break counts one in a single line", "abc", "abc\n", 4, 4, 1, 0, 0},
      {"a long text from code takes nothing typed", "0123456789", "01234x56789", 6, 4, 1, 5, 6},
      {"a long text from code may be shortened", "0123456789", "012356789", 4, 4, 1, 0, 0},
      {"a replacement in a long text may not grow it", "0123456789", "01xy456789", 4, 4, 1, 2, 4},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const TypingCut cut = cutTyping(QString::fromLatin1(c.before), QString::fromLatin1(c.after),
                                    c.cursor, c.maxLength, c.lineBreak);
    if (c.from == c.to) {
      EXPECT_TRUE(cut.empty()) << cut.from << ".." << cut.to;
    } else {
      EXPECT_EQ(cut.from, c.from);
      EXPECT_EQ(cut.to, c.to);
    }
  }
}

}  // namespace
}  // namespace d7o::ui
