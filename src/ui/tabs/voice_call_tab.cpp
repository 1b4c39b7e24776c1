#include "ui/binders.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <QGridLayout>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace d7o::ui::tabs {

namespace {
constexpr int kDialIconSize = 32;
}  // namespace

QWidget* buildVoiceCallTab(forms::MainWindow& m) {
  auto* page = new QWidget;
  auto* number = make<QLineEdit>(page, m.Text8);
  number->setMinimumWidth(kNumberFieldWidth);
  // A picture button: the control has no caption, its tooltip names it.
  auto* dial = make<QPushButton>(page, m.Command9);
  dial->setIcon(QIcon::fromTheme(QStringLiteral("call-start"),
                                 page->style()->standardIcon(QStyle::SP_DialogYesButton)));
  dial->setIconSize(QSize(kDialIconSize, kDialIconSize));

  auto* layout = new QGridLayout(page);
  layout->addWidget(make<QLabel>(page, m.Label4), 0, 0, 1, 2);
  layout->addWidget(number, 1, 0);
  layout->addWidget(dial, 1, 1);

  // The SIM phone book beside the number it reads into and writes from, in its outline.
  auto* book = new QFrame(page);
  bindOutline(book, m.Shape1);
  auto* grid = new QGridLayout(book);
  grid->addWidget(make<QPushButton>(book, m.Command11), 0, 0);
  grid->addWidget(make<QPushButton>(book, m.Command12), 0, 1);
  auto* entries = make<QListWidget>(book, m.List4);
  entries->setMinimumHeight(kSmsTextMinHeight);
  grid->addWidget(entries, 1, 0, 1, 4);
  grid->addWidget(make<QLabel>(book, m.Label21), 2, 0);
  auto* steps = new QHBoxLayout;
  steps->addWidget(make<QPushButton>(book, m.Command49));
  steps->addWidget(make<QPushButton>(book, m.Command47));
  auto* position = make<QLabel>(book, m.Label22);
  position->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  position->setAlignment(Qt::AlignCenter);
  position->setMinimumWidth(position->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
  steps->addWidget(position);
  steps->addWidget(make<QPushButton>(book, m.Command46));
  steps->addWidget(make<QPushButton>(book, m.Command48));
  grid->addLayout(steps, 2, 1, 1, 3);
  grid->addWidget(make<QLineEdit>(book, m.Text9), 3, 0);
  grid->addWidget(make<QRadioButton>(book, m.Option1), 3, 1);
  grid->addWidget(make<QRadioButton>(book, m.Option2), 3, 2);
  grid->addWidget(make<QLabel>(book, m.Label23), 3, 3);
  grid->addWidget(make<QPushButton>(book, m.Command13), 4, 0);
  grid->addWidget(make<QPushButton>(book, m.Command14), 4, 1);
  layout->addWidget(book, 2, 0, 1, 3);

  layout->setColumnStretch(2, 1);
  layout->setRowStretch(3, 1);
  return page;
}

}  // namespace d7o::ui::tabs
