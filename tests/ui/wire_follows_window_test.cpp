// What the window shows is what goes on the wire, whoever changed it: typed text keeps its
// order and its euro sign, a character outside the windows' code page shows as the "?"
// that is sent, and a screen reader or an automation script that sets a field, ticks a
// box, chooses an option or an entry, or presses a button through Qt's accessibility
// interfaces reaches the model as a user's hand does.

#include "forms/controls.h"
#include "support/rig.h"
#include "ui/bin_code_form_view.h"
#include "ui/binders.h"
#include "ui/main_window_view.h"
#include "ui/pdu_form_view.h"
#include "ui/qt_dialogs.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace d7o::ui {
namespace {

using platform::Millis;

// --- typing ------------------------------------------------------------------------------

// A character committed by an input method (also one beyond 16 bits, which no key sends).
void commit(QWidget* box, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(box, &event);
}

// Keys that each bring one character, as a keyboard layout with the euro sign sends them
// (QTest's own key clicks know ASCII only).
void typeKeys(QWidget* box, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &release);
  }
}

struct Typed {
  QString shown;
  std::string model;
  std::vector<std::u32string> reported;
  int cursor = 0;
};

template <typename Box>
Typed typeInto(const std::vector<QString>& keys, const std::vector<QString>& committed) {
  forms::Form form("W", "");
  forms::TextBox model(form, "Text6");
  QWidget window;  // the view goes before its model
  Typed out;
  form.CharactersReplaced.connect(
      [&](const std::string&, const std::u32string& chars) { out.reported.push_back(chars); });
  auto* box = new Box(&window);
  bind(box, model);
  box->setAttribute(Qt::WA_InputMethodEnabled);
  for (const QString& k : keys) typeKeys(box, k);
  for (const QString& c : committed) commit(box, c);
  if constexpr (std::is_same_v<Box, QLineEdit>) {
    out.shown = box->text();
    out.cursor = box->cursorPosition();
  } else {
    out.shown = box->toPlainText();
    out.cursor = box->textCursor().position();
  }
  out.model = model.text();
  return out;
}

TEST(TypedText, KeepsItsOrderAndEveryCharacterOfTheCodePageAndShowsWhatIsSent) {
  struct Case {
    const char* name;
    std::vector<QString> keys;
    std::vector<QString> committed;
    QString shown;
    std::string model;
    std::vector<std::u32string> reported;
  };
  const Case cases[] = {
      {"the euro sign in the middle",
       {QStringLiteral("Preis 5\u20AC heute")},
       {},
       QStringLiteral("Preis 5\u20AC heute"),
       "Preis 5\x80 heute",
       {}},
      {"typographic quotes and a dash",
       {QStringLiteral("\u201Eab\u201C \u2013 cd")},
       {},
       QStringLiteral("\u201Eab\u201C \u2013 cd"),
       "\x84"
       "ab\x93 \x96 cd",
       {}},
      {"a check mark shows and goes as ?",
       {QStringLiteral("ab")},
       {QStringLiteral("\u2713cd")},
       QStringLiteral("ab?cd"),
       "ab?cd",
       {U"\u2713"}},
      {"a character beyond 16 bits is one ?",
       {QStringLiteral("a")},
       {QStringLiteral("\U0001F600"), QStringLiteral("b")},
       QStringLiteral("a?b"),
       "a?b",
       {U"\U0001F600"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const Typed& t : {typeInto<QLineEdit>(c.keys, c.committed),
                           typeInto<QPlainTextEdit>(c.keys, c.committed)}) {
      EXPECT_EQ(t.shown, c.shown);
      EXPECT_EQ(t.model, c.model);
      EXPECT_EQ(t.reported, c.reported);
      EXPECT_EQ(t.cursor, c.shown.size()) << "the cursor stays at the end of the typing";
    }
  }
}

TEST(TypedText, APasteFromTheMenuReachesTheModelAsShown) {
  forms::Form form("W", "");
  forms::TextBox line(form, "Text5");
  forms::TextBox lines(form, "Text6");
  std::vector<std::u32string> reported;
  form.CharactersReplaced.connect(
      [&](const std::string&, const std::u32string& chars) { reported.push_back(chars); });
  QWidget window;
  auto* lineEdit = new QLineEdit(&window);
  auto* plainEdit = new QPlainTextEdit(&window);
  bind(lineEdit, line);
  bind(plainEdit, lines);
  QApplication::clipboard()->setText(QStringLiteral("5\u20AC \u2192 x"));
  lineEdit->paste();
  plainEdit->paste();
  EXPECT_EQ(line.text(), "5\x80 ? x");
  EXPECT_EQ(lines.text(), "5\x80 ? x");
  EXPECT_EQ(lineEdit->text(), QStringLiteral("5\u20AC ? x"));
  EXPECT_EQ(plainEdit->toPlainText(), QStringLiteral("5\u20AC ? x"));
  EXPECT_EQ(reported, (std::vector<std::u32string>{U"\u2192", U"\u2192"}));
}

TEST(TypedText, AnInputBoxShowsTheAnswerAsItGoesOut) {
  QtDialogs dialogs;
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    auto* edit = box->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->clear();
    typeKeys(edit, QStringLiteral("AT+CMGS=\"5\u20AC\""));
    commit(edit, QStringLiteral("\u2713"));
    shown = edit->text();
    QTest::keyClick(edit, Qt::Key_Return);
  });
  const std::string answer = dialogs.inputBox("Enter AT-Command: ", "AT-Commands", "AT");
  EXPECT_EQ(shown, QStringLiteral("AT+CMGS=\"5\u20AC\"?"));
  EXPECT_EQ(answer, "AT+CMGS=\"5\x80\"?");
}

// --- accessibility -----------------------------------------------------------------------

QAccessibleInterface* accessibleOf(const QWidget& window, const char* name) {
  auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
  return widget == nullptr ? nullptr : QAccessible::queryAccessibleInterface(widget);
}

// Replaces the whole text of a field, as a screen reader's EditableText does.
::testing::AssertionResult setThroughAccessibility(const QWidget& window, const char* name,
                                                   const QString& text) {
  QAccessibleInterface* field = accessibleOf(window, name);
  if (field == nullptr || field->editableTextInterface() == nullptr) {
    return ::testing::AssertionFailure() << name << " has no editable text";
  }
  const int length = field->textInterface()->characterCount();
  field->editableTextInterface()->replaceText(0, length, text);
  return ::testing::AssertionSuccess();
}

// Runs an action ("Press", "Toggle") of a control, as automation does.
::testing::AssertionResult actOn(const QWidget& window, const char* name, const QString& action) {
  QAccessibleInterface* control = accessibleOf(window, name);
  if (control == nullptr || control->actionInterface() == nullptr) {
    return ::testing::AssertionFailure() << name << " has no actions";
  }
  if (!waitFor([&] { return control->state().disabled == 0 && !control->state().invisible; })) {
    return ::testing::AssertionFailure() << name << " cannot be used";
  }
  control->actionInterface()->doAction(action);
  // A pressed button lets go a moment later, as a click animated for the eye.
  QTest::qWait(250);
  return ::testing::AssertionSuccess();
}

class Automation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.bringUp());
    view = std::make_unique<MainWindowView>(*rig.app, MainWindowView::Activation::ByCaller);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    rig.main().Tab1.setTab(forms::tabs::kSms);
    rig.wire();
  }

  void TearDown() override { view.reset(); }

  test::Rig rig;
  std::unique_ptr<MainWindowView> view;
  MainWindowView& main() { return *view; }
};

TEST_F(Automation, ATextModeSmsToANewNumberGoesToThatNumberWithTheTextAsShown) {
  ASSERT_TRUE(setThroughAccessibility(main(), "Text5", QStringLiteral("01701234567")));
  ASSERT_TRUE(setThroughAccessibility(main(), "Text6", QStringLiteral("Preis 5\u20AC heute")));
  EXPECT_EQ(rig.main().Text5.text(), "01701234567");
  EXPECT_EQ(rig.main().Text6.text(), "Preis 5\x80 heute");
  ASSERT_TRUE(actOn(main(), "Command16", QAccessibleActionInterface::pressAction()));
  ASSERT_TRUE(rig.runUntil([&] { return !rig.modem.sentSms().empty(); }, Millis(10000)))
      << rig.wire() << "\n"
      << ::testing::PrintToString(rig.terminal());
  const std::string wire = rig.wire();
  EXPECT_NE(wire.find("AT+CMGS=\"01701234567\"\r"), std::string::npos) << wire;
  EXPECT_NE(wire.find("Preis 5\x80 heute\x1A"), std::string::npos) << wire;
  EXPECT_EQ(rig.modem.sentSms().back().number, "01701234567");
}

TEST_F(Automation, APduSmsBuiltThroughTheAccessibilityLayerCarriesTheEuroAsAnExtensionSeptet) {
  PduFormView pdu(*rig.app);
  BinCodeFormView converter(*rig.app);
  ASSERT_TRUE(actOn(main(), "Command4", QAccessibleActionInterface::pressAction()));
  ASSERT_TRUE(waitFor([&] { return pdu.isVisible(); }));
  ASSERT_TRUE(setThroughAccessibility(pdu, "Text6", QStringLiteral("01701234567")));
  ASSERT_TRUE(setThroughAccessibility(pdu, "Text12", QStringLiteral("Preis 5\u20AC")));
  ASSERT_TRUE(actOn(pdu, "Option11", QAccessibleActionInterface::toggleAction()));  // no SCA
  ASSERT_TRUE(actOn(pdu, "Option7", QAccessibleActionInterface::toggleAction()));   // 7-bit
  ASSERT_TRUE(waitFor([&] { return converter.isVisible(); }));
  ASSERT_TRUE(actOn(converter, "Command2", QAccessibleActionInterface::pressAction()));
  EXPECT_EQ(rig.state().sms.convertedSeptets, 9)
      << "seven characters, the euro ESC and 65: " << rig.app->context().binCodeForm.Text1.text();
  ASSERT_TRUE(actOn(converter, "Command1", QAccessibleActionInterface::pressAction()));
  ASSERT_TRUE(waitFor([&] { return pdu.isVisible(); }));
  ASSERT_TRUE(actOn(pdu, "Command1", QAccessibleActionInterface::pressAction()));  // create
  ASSERT_TRUE(actOn(pdu, "Command2", QAccessibleActionInterface::pressAction()));  // to host
  ASSERT_TRUE(waitFor([&] { return main().isVisible(); }));
  ASSERT_TRUE(actOn(main(), "Command16", QAccessibleActionInterface::pressAction()));
  ASSERT_TRUE(rig.runUntil([&] { return !rig.modem.sentSms().empty(); }, Millis(10000)))
      << rig.wire();
  const sim::SentSms& sent = rig.modem.sentSms().back();
  EXPECT_TRUE(sent.pduMode);
  EXPECT_EQ(sent.number, "01701234567");
  EXPECT_EQ(sent.text, "Preis 5\u20AC");
  EXPECT_NE(sent.pdu.find("F2A709"), std::string::npos)
      << "7-bit class 2, validity 24 h, nine septets: " << sent.pdu;
}

TEST_F(Automation, ABoxAnOptionAndAComboChangedFromOutsideReachTheModel) {
  rig.main().Tab1.setTab(forms::tabs::kOptions);
  // "write LogFile" ticked by a screen reader's Toggle: the log is written.
  ASSERT_TRUE(actOn(main(), "Check1", QAccessibleActionInterface::toggleAction()));
  EXPECT_TRUE(rig.main().Check1.checked());
  EXPECT_TRUE(rig.state().log.logEnabled);

  // The ringer's output, an option of a group of two: the other is cleared.
  forms::OptionButton& chosen =
      rig.main().Option13.value() ? rig.main().Option12 : rig.main().Option13;
  forms::OptionButton& other =
      &chosen == &rig.main().Option12 ? rig.main().Option13 : rig.main().Option12;
  ASSERT_TRUE(actOn(main(), chosen.name().c_str(), QAccessibleActionInterface::toggleAction()));
  EXPECT_TRUE(chosen.value());
  EXPECT_FALSE(other.value());
  auto* otherButton = main().findChild<QRadioButton*>(QString::fromStdString(other.name()));
  EXPECT_TRUE(waitFor([&] { return !otherButton->isChecked(); })) << "two options checked";

  // The ringer melody set by a script on the widget (no click): one Click in the model.
  auto* melody = main().findChild<QComboBox*>(QStringLiteral("Combo1"));
  ASSERT_NE(melody, nullptr);
  int clicks = 0;
  rig.main().Combo1.Click.connect([&] { ++clicks; });
  melody->setCurrentIndex(3);
  EXPECT_EQ(rig.main().Combo1.listIndex(), 3);
  EXPECT_EQ(clicks, 1);
  // Copies from the model stay silent: nothing comes back as a second Click.
  rig.main().Combo1.setListIndex(1);
  EXPECT_TRUE(waitFor([&] { return melody->currentIndex() == 1; }));
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace d7o::ui
