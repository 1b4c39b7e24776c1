#include "ui/about_pictures.h"
#include "ui/binders.h"
#include "ui/tabs/tab_widgets.h"
#include "ui/tabs/tabs.h"

#include <QMouseEvent>

namespace d7o::ui::tabs {

namespace {

class MouseMoveRelay : public QObject {
 public:
  MouseMoveRelay(QWidget* watched, forms::Signal<>& move) : QObject(watched), m_move(move) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A move over a child that does not take it comes up here too: only the surface counts.
    if (event->type() == QEvent::MouseMove) {
      const auto* move = static_cast<QMouseEvent*>(event);
      if (static_cast<QWidget*>(watched)->childAt(move->position().toPoint()) == nullptr) {
        m_move.emit();
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  forms::Signal<>& m_move;
};

}  // namespace

QWidget* buildAboutTab(forms::MainWindow& m) {
  auto* page = new QWidget;
  // The tab's own surface: the mouse there clears the links' marks.
  page->setMouseTracking(true);
  new MouseMoveRelay(page, m.Tab1.MouseMove);

  auto* product = new AboutPicture(AboutPicture::Kind::Product, page);
  bind(product, m.Picture1);
  auto* modem = new AboutPicture(AboutPicture::Kind::Modem, page);
  bind(modem, m.Image1);
  auto* manual = new AboutPicture(AboutPicture::Kind::Manual, page);
  bind(manual, m.Image2);
  auto* text = make<QLabel>(page, m.Label10);
  text->setWordWrap(true);
  auto* link = make<QLabel>(page, m.Label13);
  link->setCursor(Qt::PointingHandCursor);
  link->setAutoFillBackground(true);

  auto* pictures = new QHBoxLayout;
  pictures->addWidget(product);
  pictures->addWidget(modem);
  pictures->addWidget(manual);
  pictures->addStretch(1);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(pictures);
  layout->addWidget(text);
  layout->addWidget(link, 0, Qt::AlignLeft);
  layout->addStretch(1);
  // The incoming call shows on the product picture.
  auto* incoming = make<QLabel>(product, m.Label1);
  incoming->setAlignment(Qt::AlignCenter);
  auto* onPicture = new QVBoxLayout(product);
  onPicture->addStretch(1);
  onPicture->addWidget(incoming);
  return page;
}

}  // namespace d7o::ui::tabs
