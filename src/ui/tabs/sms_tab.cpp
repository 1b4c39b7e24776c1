#include "ui/binders.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>

namespace d7o::ui::tabs {

QWidget* buildSmsTab(forms::MainWindow& m) {
  auto* page = new QWidget;

  // What to send: number, text (a PDU in PDU mode, in hex), service centre.
  auto* number = make<QLineEdit>(page, m.Text5);
  number->setMinimumWidth(kNumberFieldWidth);
  auto* message = make<QPlainTextEdit>(page, m.Text6);
  message->setMinimumSize(kCommandFieldWidth, kSmsTextMinHeight);
  auto* centre = make<QLineEdit>(page, m.Text7);
  centre->setMinimumWidth(kNumberFieldWidth);
  auto* fields = new QVBoxLayout;
  fields->addWidget(make<QLabel>(page, m.Label8));
  fields->addWidget(number);
  fields->addWidget(make<QLabel>(page, m.Label9));
  fields->addWidget(message, 1);
  fields->addWidget(make<QLabel>(page, m.Label15));
  fields->addWidget(centre);

  // The buttons inside the shape drawn round them: sending and the store on the left, the
  // mode and the service centre on the right.
  auto* shape3 = new QFrame(page);
  bindOutline(shape3, m.Shape3);
  auto* buttons = new QGridLayout(shape3);
  int i = 0;
  for (forms::CommandButton* b : {&m.Command16, &m.Command4, &m.Command17, &m.Command5,
                                  &m.Command18, &m.Command6, &m.DelSMS, &m.Command42}) {
    buttons->addWidget(make<QPushButton>(shape3, *b), i / 2, i % 2);
    ++i;
  }
  auto* right = new QVBoxLayout;
  right->addWidget(shape3);
  right->addStretch(1);

  auto* layout = new QHBoxLayout(page);
  layout->addLayout(fields, 1);
  layout->addLayout(right);
  return page;
}

}  // namespace d7o::ui::tabs
