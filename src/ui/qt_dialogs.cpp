#include "ui/qt_dialogs.h"

#include "ui/binder.h"
#include "ui/code_page.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>

namespace d7o::ui {

namespace {

// The title a box gets when the program gives none.
constexpr const char* kDefaultTitle = "REZEDEV7";

QString titleText(const std::string& title) {
  return title.empty() ? QString::fromLatin1(kDefaultTitle) : fromCodePage(title);
}

// The program writes CR LF line breaks; a plain-text box wants LF only.
QString bodyText(const std::string& text) {
  QString s = fromCodePage(text);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QMessageBox::Icon toQt(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::Critical:
      return QMessageBox::Critical;
    case platform::MessageIcon::Question:
      return QMessageBox::Question;
    case platform::MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case platform::MessageIcon::Information:
      return QMessageBox::Information;
    case platform::MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QWidget* QtDialogs::owner() const {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr && modal->isVisible() ? modal : m_parent.data();
}

platform::MessageAnswer QtDialogs::messageBox(const std::string& text, const std::string& title,
                                              platform::MessageIcon icon,
                                              platform::MessageButtons buttons) {
  QMessageBox box(owner());
  box.setIcon(toQt(icon));
  box.setWindowTitle(titleText(title));
  // Texts may carry what the modem sent: never read them as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(bodyText(text));
  if (buttons == platform::MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    // Closing the box is a No, never a silent Yes.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? platform::MessageAnswer::Yes
                                          : platform::MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return platform::MessageAnswer::Ok;
}

void QtDialogs::notice(const std::string& text, const std::string& title,
                       platform::MessageIcon icon) {
  // Shown and left: no nested event loop, so nothing of the program waits for its OK.
  auto* box =
      new QMessageBox(toQt(icon), titleText(title), bodyText(text), QMessageBox::Ok, owner());
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
  QInputDialog dialog(owner());
  dialog.setWindowTitle(titleText(title));
  dialog.setLabelText(bodyText(prompt));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(fromCodePage(defaultText));
  // The answer goes on the wire: the box shows it as it will go, "?" for a character
  // outside the code page, and says so.
  if (auto* edit = dialog.findChild<QLineEdit*>()) {
    QObject::connect(edit, &QLineEdit::textChanged, &dialog,
                     [edit] { showReplaced(edit, keepInCodePage(edit)); });
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  return toCodePage(dialog.textValue());
}

}  // namespace d7o::ui
