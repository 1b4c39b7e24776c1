#include "ui/bin_code_form_view.h"

#include "ui/binders.h"
#include "ui/refresh_beat.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace d7o::ui {

namespace {

// A conversion fills the lists row by row: one picture every 40 ms shows them together.
constexpr int kRefreshIntervalMs = 40;
constexpr int kTextLines = 4;

// The width a box in `widget`'s font needs for `widest`, with its frame and margins.
int widthFor(const QWidget& widget, const char* widest, int extra = 0) {
  const int frame = widget.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  return widget.fontMetrics().horizontalAdvance(QString::fromLatin1(widest)) + 2 * frame + 12 +
         extra;
}

// A list of bits or hex digits, in a fixed font so the columns line up, as wide as its
// rows (`widest`) and its scroll bar.
QListWidget* codeList(QWidget* parent, forms::ListBox& control, const char* widest) {
  auto* list = make<QListWidget>(parent, control);
  list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list->setFixedWidth(widthFor(*list, widest, list->verticalScrollBar()->sizeHint().width()));
  return list;
}

QLineEdit* bitsBox(QWidget* parent, forms::TextBox& control) {
  auto* box = make<QLineEdit>(parent, control);
  box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  box->setFixedWidth(widthFor(*box, "000000000"));
  return box;
}

// A list and the label over it.
QVBoxLayout* labelled(QLabel* label, QWidget* list) {
  auto* column = new QVBoxLayout;
  column->addWidget(label);
  column->addWidget(list, 1);
  return column;
}

}  // namespace

BinCodeFormView::BinCodeFormView(app::Application& app, QWidget* parent)
    : ModalFormView(app, app.context().binCodeForm, kRefreshIntervalMs, parent),
      m_model(app.context().binCodeForm) {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buildText());
  layout->addLayout(buildLists(), 1);
  layout->addLayout(buildButtons());

  followForm([this] { m_model.Command3.click(); });
}

QLayout* BinCodeFormView::buildText() {
  auto& m = m_model;
  auto* text = make<QPlainTextEdit>(this, m.Text1);
  // A message of a few lines; the room below is for the lists, which grow with it.
  text->setFixedHeight(
      kTextLines * text->fontMetrics().lineSpacing() +
      2 * (text->frameWidth() + static_cast<int>(text->document()->documentMargin())));
  auto* packed = make<QLineEdit>(this, m.Text4);
  packed->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  // The character being converted, as 8 bits, beside the text it comes from.
  auto* character = new QVBoxLayout;
  character->addWidget(bitsBox(this, m.Text2));
  character->addWidget(bitsBox(this, m.Text3));
  character->addStretch(1);

  auto* grid = new QGridLayout;
  grid->addWidget(make<QLabel>(this, m.Label3), 0, 0);
  grid->addWidget(text, 1, 0);
  grid->addLayout(character, 1, 1);
  grid->addWidget(make<QLabel>(this, m.Label4), 2, 0);
  grid->addWidget(packed, 3, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  return grid;
}

QLayout* BinCodeFormView::buildLists() {
  auto& m = m_model;
  // The octets as bits, and beside them the same rows of the pass since the walk last
  // started over.
  auto* octets = new QHBoxLayout;
  octets->addWidget(codeList(this, m.List4, "000000000"));
  octets->addWidget(codeList(this, m.List2, "00000000"));
  auto* octetColumn = new QVBoxLayout;
  octetColumn->addWidget(make<QLabel>(this, m.Label5));
  octetColumn->addLayout(octets, 1);

  auto* row = new QHBoxLayout;
  row->addLayout(labelled(make<QLabel>(this, m.Label1), codeList(this, m.List1, "000000000")));
  row->addLayout(octetColumn);
  row->addLayout(labelled(make<QLabel>(this, m.Label6), codeList(this, m.List3, "0000")));
  row->addStretch(1);
  return row;
}

QLayout* BinCodeFormView::buildButtons() {
  auto& m = m_model;
  auto* row = new QHBoxLayout;
  row->addWidget(make<QPushButton>(this, m.Command2));
  row->addWidget(make<QPushButton>(this, m.Command1));
  row->addStretch(1);
  row->addWidget(make<QPushButton>(this, m.Command3));
  return row;
}

}  // namespace d7o::ui
