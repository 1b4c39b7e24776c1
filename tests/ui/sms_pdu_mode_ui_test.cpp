// An SMS in PDU mode through the real windows, offscreen on the simulated modem: the user
// switches to PDU mode, creates the PDU, packs its text in the 7-bit converter, creates
// it again, hands it to the main window and sends it; the modem passes it to the network.

#include "forms/main_window.h"
#include "support/rig.h"
#include "ui/bin_code_form_view.h"
#include "ui/main_window_view.h"
#include "ui/pdu_form_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>
#include <string>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

// Presses the button `name` of `window` as the user does, once it shows and may be pressed.
::testing::AssertionResult press(const QWidget& window, const char* name) {
  auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name));
  if (button == nullptr) return ::testing::AssertionFailure() << "no button " << name;
  if (!waitFor([&] { return button->isVisible() && button->isEnabled(); })) {
    return ::testing::AssertionFailure() << name << " cannot be pressed";
  }
  QTest::mouseClick(button, Qt::LeftButton);
  return ::testing::AssertionSuccess();
}

std::string lineText(const QWidget& window, const char* name) {
  const auto* box = window.findChild<QLineEdit*>(QString::fromLatin1(name));
  return box == nullptr ? std::string("<no box>") : box->text().toStdString();
}

std::string boxesShown(const test::ScriptedDialogs& dialogs) {
  std::string texts;
  for (const auto& box : dialogs.shown) texts += "box: " + box.text + '\n';
  return texts;
}

TEST(SmsPduModeUi, APduPackedInTheConverterGoesOutThroughSendSmsAndTheModemSendsIt) {
  test::Rig rig;
  ASSERT_TRUE(rig.bringUp());
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  PduFormView pdu(*rig.app);
  BinCodeFormView converter(*rig.app);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  auto* tabs = main.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  tabs->setCurrentIndex(forms::tabs::kSms);
  rig.wire();  // what the start sent

  // "switch to PDU-Mode": the PDU creator in place of the main window.
  ASSERT_TRUE(press(main, "Command4"));
  EXPECT_TRUE(pdu.isVisible());
  EXPECT_TRUE(pdu.isModal());
  EXPECT_FALSE(main.isVisible());
  EXPECT_EQ(rig.wire(), "") << "the mode goes to the modem with the next send";

  // "create PDU" from the window as it opens: 8-bit coding of "Test-SMS".
  ASSERT_TRUE(press(pdu, "Command1"));
  ASSERT_TRUE(waitFor([&] { return !lineText(pdu, "Text20").empty(); }));

  // 7-bit coding opens the converter with the PDU creator's text.
  ASSERT_TRUE(press(pdu, "Option7"));
  EXPECT_TRUE(converter.isVisible());
  EXPECT_FALSE(pdu.isVisible());
  auto* toConvert = converter.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
  ASSERT_NE(toConvert, nullptr);
  EXPECT_TRUE(waitFor([&] { return toConvert->toPlainText() == QStringLiteral("Test-SMS"); }))
      << toConvert->toPlainText().toStdString();
  ASSERT_TRUE(press(converter, "Command2"));  // " convert to 7-Bit"
  const std::string packed = rig.app->context().binCodeForm.Text4.text();
  EXPECT_EQ(packed, "D4F29CDE9A36A7") << "GSM packing of Test-SMS: eight septets in seven octets";
  ASSERT_TRUE(waitFor([&] { return lineText(converter, "Text4") == packed; }));
  ASSERT_TRUE(press(converter, "Command1"));  // "send to PDU-Creator"
  EXPECT_FALSE(converter.isVisible());
  EXPECT_TRUE(pdu.isVisible());
  auto* userData = pdu.findChild<QPlainTextEdit*>(QStringLiteral("Text12"));
  ASSERT_NE(userData, nullptr);
  EXPECT_TRUE(waitFor([&] { return userData->toPlainText() == QString::fromLatin1(packed); }));

  // Created again, in 7-bit coding, and handed to the main window.
  ASSERT_TRUE(press(pdu, "Command1"));
  const forms::PduForm& creator = rig.app->context().pduForm;
  const std::string created = creator.Text20.text();
  ASSERT_NE(created.find(packed), std::string::npos) << created;
  ASSERT_TRUE(waitFor([&] { return lineText(pdu, "Text20") == created; }));
  ASSERT_TRUE(press(pdu, "Command2"));  // "PDU to Host"
  EXPECT_FALSE(pdu.isVisible());
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(tabs->currentIndex(), forms::tabs::kSms);
  auto* message = main.findChild<QPlainTextEdit*>(QStringLiteral("Text6"));
  ASSERT_NE(message, nullptr);
  EXPECT_TRUE(waitFor([&] { return message->toPlainText() == QString::fromLatin1(created); }));
  const std::string length = rig.main().Text5.text();
  EXPECT_TRUE(waitFor([&] { return lineText(main, "Text5") == length; }));

  // "Send SMS": PDU mode, the length, and at the prompt the PDU.
  ASSERT_TRUE(press(main, "Command16"));
  ASSERT_TRUE(rig.runUntil([&] { return !rig.modem.sentSms().empty(); }, Millis(10000)))
      << "the wire: " << rig.wire() << '\n'
      << boxesShown(rig.dialogs);
  const std::string wire = rig.wire();
  EXPECT_NE(wire.find("AT+CMGF=0\r"), std::string::npos) << wire;
  EXPECT_NE(wire.find("AT+CMGS=" + length + "\r\r"), std::string::npos) << wire;
  EXPECT_NE(wire.find(created + '\x1A'), std::string::npos) << wire;

  const sim::SentSms& sent = rig.modem.sentSms().back();
  EXPECT_TRUE(sent.pduMode);
  EXPECT_EQ(sent.pdu, created);
  EXPECT_EQ(sent.text, "Test-SMS");
  EXPECT_EQ(sent.number, "0123456789") << "the window's destination, national";
  EXPECT_TRUE(rig.dialogs.shown.empty()) << boxesShown(rig.dialogs);
}

TEST(SmsPduModeUi, TheCloseButtonsAreCancelBackToThePduCreatorAndToTheMainWindow) {
  test::Rig rig;
  ASSERT_TRUE(rig.bringUp());
  MainWindowView main(*rig.app, MainWindowView::Activation::ByCaller);
  PduFormView pdu(*rig.app);
  BinCodeFormView converter(*rig.app);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  rig.main().Command4.click();  // "switch to PDU-Mode"
  ASSERT_TRUE(pdu.isVisible());
  const forms::PduForm& creator = rig.app->context().pduForm;
  ASSERT_TRUE(press(pdu, "Option7"));
  ASSERT_TRUE(converter.isVisible());

  // The converter's close button: back to the PDU creator, in 8-bit coding.
  converter.close();
  EXPECT_TRUE(waitFor([&] { return pdu.isVisible(); }));
  EXPECT_FALSE(converter.isVisible());
  EXPECT_TRUE(creator.Option8.value());
  EXPECT_FALSE(creator.Option7.value());

  // The PDU creator's: back to text mode on the main window.
  rig.wire();
  pdu.close();
  EXPECT_TRUE(waitFor([&] { return main.isVisible(); }));
  EXPECT_FALSE(pdu.isVisible());
  EXPECT_FALSE(creator.visible());
  EXPECT_EQ(rig.wire(), "AT+CMGF=1\rAT+CMGF=1\r");
  EXPECT_EQ(rig.main().Command4.caption(), "switch to PDU-Mode");
}

}  // namespace
}  // namespace d7o::ui
