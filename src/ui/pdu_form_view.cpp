#include "ui/pdu_form_view.h"

#include "ui/binders.h"
#include "ui/refresh_beat.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace d7o::ui {

namespace {

// Nothing streams into this window: a picture every 40 ms follows any typing.
constexpr int kRefreshIntervalMs = 40;
// Room for the lines of a decoded PDU, and for a message of a few lines.
constexpr int kDecodedMinHeight = 100;
constexpr int kUserDataMinHeight = 60;

QFont fixedFont() {
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

// A box for hex digits, in a fixed font so the octets line up.
template <typename Widget>
Widget* hexBox(QWidget* parent, forms::TextBox& control) {
  auto* box = make<Widget>(parent, control);
  box->setFont(fixedFont());
  return box;
}

// A box for one octet (a length, a type, the MR, which may grow to three digits), just as
// wide as that.
QLineEdit* octetBox(QWidget* parent, forms::TextBox& control) {
  auto* box = hexBox<QLineEdit>(parent, control);
  const int digits = box->fontMetrics().horizontalAdvance(QStringLiteral("0000"));
  box->setFixedWidth(digits + 2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
  return box;
}

// The window holds every field of a PDU at its default size: its frames sit close.
constexpr int kFrameMargin = 6;
constexpr int kFrameSpacing = 4;

template <typename Layout>
Layout* compact(Layout* layout) {
  layout->setContentsMargins(kFrameMargin, kFrameMargin, kFrameMargin, kFrameMargin);
  layout->setSpacing(kFrameSpacing);
  return layout;
}

// A heading over fields the window itself does not name: it says which part of the
// address each box holds.
QLabel* heading(QWidget* parent, const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setEnabled(false);
  return label;
}

}  // namespace

PduFormView::PduFormView(app::Application& app, QWidget* parent)
    : ModalFormView(app, app.context().pduForm, kRefreshIntervalMs, parent),
      m_model(app.context().pduForm) {
  auto* grid = new QGridLayout;
  grid->addWidget(buildServiceCentre(), 0, 0);
  grid->addWidget(buildTypeAndReference(), 0, 1);
  grid->addWidget(buildDestination(), 0, 2);
  grid->addWidget(buildProtocol(), 1, 0);
  grid->addWidget(buildCoding(), 1, 1);
  grid->addWidget(buildValidity(), 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);

  auto* lower = new QHBoxLayout;
  lower->addWidget(buildUserData(), 1);
  lower->addWidget(buildDecoder(), 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(lower, 1);
  layout->addLayout(buildResult());

  followForm([this] { m_model.Command3.click(); });
}

QWidget* PduFormView::buildServiceCentre() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.Frame1);
  auto* layout = compact(new QVBoxLayout(frame));
  layout->addWidget(make<QRadioButton>(frame, m.Option11));
  layout->addWidget(make<QRadioButton>(frame, m.Option10));
  layout->addWidget(make<QRadioButton>(frame, m.Option9));

  auto* fields = new QGridLayout;
  fields->addWidget(heading(frame, "length"), 0, 0);
  fields->addWidget(heading(frame, "type"), 0, 1);
  fields->addWidget(heading(frame, "number"), 0, 2);
  fields->addWidget(octetBox(frame, m.Text1), 1, 0);
  fields->addWidget(octetBox(frame, m.Text16), 1, 1);
  fields->addWidget(hexBox<QLineEdit>(frame, m.Text14), 1, 2);
  fields->addWidget(heading(frame, "semi-octets"), 2, 0, 1, 2);
  fields->addWidget(hexBox<QLineEdit>(frame, m.Text15), 2, 2);
  fields->setColumnStretch(2, 1);
  layout->addLayout(fields);
  layout->addStretch(1);
  return frame;
}

QWidget* PduFormView::buildTypeAndReference() {
  auto& m = m_model;
  auto* column = new QWidget(this);
  auto* grid = new QGridLayout(column);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(make<QLabel>(column, m.Label1), 0, 0);
  grid->addWidget(octetBox(column, m.Text2), 0, 1);
  grid->addWidget(make<QLabel>(column, m.Label3), 1, 0);
  grid->addWidget(octetBox(column, m.Text3), 1, 1);
  grid->addWidget(make<QCheckBox>(column, m.Check1), 2, 1);
  grid->setRowStretch(3, 1);
  return column;
}

QWidget* PduFormView::buildDestination() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.Frame2);
  auto* layout = compact(new QVBoxLayout(frame));
  layout->addWidget(make<QRadioButton>(frame, m.Option1));
  layout->addWidget(make<QRadioButton>(frame, m.Option2));

  auto* fields = new QGridLayout;
  fields->addWidget(heading(frame, "length"), 0, 0);
  fields->addWidget(heading(frame, "type"), 0, 1);
  fields->addWidget(make<QLabel>(frame, m.Label6), 0, 2);
  fields->addWidget(octetBox(frame, m.Text4), 1, 0);
  fields->addWidget(octetBox(frame, m.Text5), 1, 1);
  fields->addWidget(hexBox<QLineEdit>(frame, m.Text6), 1, 2);
  fields->addWidget(heading(frame, "semi-octets"), 2, 0, 1, 2);
  fields->addWidget(hexBox<QLineEdit>(frame, m.Text7), 2, 2);
  fields->setColumnStretch(2, 1);
  layout->addLayout(fields);
  layout->addStretch(1);
  return frame;
}

QWidget* PduFormView::buildProtocol() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.Frame4);
  auto* grid = compact(new QGridLayout(frame));
  grid->addWidget(make<QRadioButton>(frame, m.Option12), 0, 0);
  grid->addWidget(make<QRadioButton>(frame, m.Option14), 0, 1);
  grid->addWidget(make<QRadioButton>(frame, m.Option13), 1, 0);
  grid->addWidget(make<QRadioButton>(frame, m.Option15), 1, 1);
  grid->addWidget(octetBox(frame, m.Text8), 2, 0);
  grid->setRowStretch(3, 1);
  return frame;
}

QWidget* PduFormView::buildCoding() {
  auto& m = m_model;
  auto* frame5 = make<QGroupBox>(this, m.Frame5);
  auto* frame3 = make<QGroupBox>(frame5, m.Frame3);
  auto* classes = compact(new QGridLayout(frame3));
  classes->addWidget(make<QRadioButton>(frame3, m.Option3), 0, 0);
  classes->addWidget(make<QRadioButton>(frame3, m.Option4), 0, 1);
  classes->addWidget(make<QRadioButton>(frame3, m.Option5), 1, 0);
  classes->addWidget(make<QRadioButton>(frame3, m.Option6), 1, 1);

  auto* layout = compact(new QGridLayout(frame5));
  layout->addWidget(frame3, 0, 0, 1, 2);
  layout->addWidget(make<QRadioButton>(frame5, m.Option7), 1, 0);
  layout->addWidget(make<QRadioButton>(frame5, m.Option8), 2, 0);
  // The octet the options make, beside them.
  layout->addWidget(octetBox(frame5, m.Text9), 1, 1, 2, 1, Qt::AlignCenter);
  layout->setRowStretch(3, 1);
  return frame5;
}

QWidget* PduFormView::buildValidity() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.Frame6);
  auto* grid = compact(new QGridLayout(frame));
  auto* octet = new QHBoxLayout;
  octet->addWidget(make<QLabel>(frame, m.Label10));
  octet->addWidget(octetBox(frame, m.Text13));
  octet->addStretch(1);
  grid->addLayout(octet, 0, 0, 1, 3);

  grid->addWidget(octetBox(frame, m.Text10), 1, 0);
  grid->addWidget(make<QSlider>(frame, m.Slider1), 1, 1);
  grid->addWidget(make<QLabel>(frame, m.Label7), 1, 2);

  // The period in words, and what it means, in the window's own three lines.
  auto* meaning = new QVBoxLayout;
  meaning->setSpacing(0);
  meaning->addWidget(make<QLabel>(frame, m.Label15));
  meaning->addWidget(make<QLabel>(frame, m.Label4));
  meaning->addWidget(make<QLabel>(frame, m.Label5));
  grid->addWidget(make<QLineEdit>(frame, m.Text17), 2, 0, 1, 2, Qt::AlignTop);
  grid->addLayout(meaning, 3, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
  return frame;
}

QWidget* PduFormView::buildUserData() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.Frame7);
  auto* length = new QHBoxLayout;
  length->addWidget(make<QLabel>(frame, m.Label11));
  length->addWidget(octetBox(frame, m.Text11));
  length->addStretch(1);
  auto* text = hexBox<QPlainTextEdit>(frame, m.Text12);
  text->setMinimumHeight(kUserDataMinHeight);

  auto* layout = compact(new QVBoxLayout(frame));
  layout->addLayout(length);
  layout->addWidget(text, 1);
  return frame;
}

QWidget* PduFormView::buildDecoder() {
  auto& m = m_model;
  auto* frame = make<QGroupBox>(this, m.Frame8);
  auto* pasted = hexBox<QLineEdit>(frame, m.Text21);
  pasted->setPlaceholderText(QStringLiteral("paste a PDU here"));
  auto* fields = hexBox<QPlainTextEdit>(frame, m.Text22);
  fields->setMinimumHeight(kDecodedMinHeight);
  // One field a line, as decoded: a long line scrolls instead of breaking.
  fields->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* layout = compact(new QVBoxLayout(frame));
  layout->addWidget(pasted);
  layout->addWidget(fields, 1);
  return frame;
}

QLayout* PduFormView::buildResult() {
  auto& m = m_model;
  auto* pdu = new QHBoxLayout;
  pdu->addWidget(new QLabel(QStringLiteral("PDU"), this));
  pdu->addWidget(hexBox<QLineEdit>(this, m.Text20), 1);
  pdu->addWidget(new QLabel(QStringLiteral("AT+CMGS="), this));
  auto* length = make<QLabel>(this, m.deb);
  length->setMinimumWidth(length->fontMetrics().horizontalAdvance(QStringLiteral("000")));
  pdu->addWidget(length);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(make<QPushButton>(this, m.Command1));
  buttons->addWidget(make<QPushButton>(this, m.Command2));
  buttons->addStretch(1);
  buttons->addWidget(make<QPushButton>(this, m.Command3));

  auto* layout = new QVBoxLayout;
  layout->addLayout(pdu);
  layout->addLayout(buttons);
  return layout;
}

}  // namespace d7o::ui
