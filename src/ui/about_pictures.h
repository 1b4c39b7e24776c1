#pragma once

#include "forms/controls.h"

#include <QWidget>

namespace d7o::ui {

// The pictures of the about tab, drawn: the product (the modem with its antenna and the
// R7O-3 board beside it), the modem alone, and the manual. An Image may carry a border.
class AboutPicture : public QWidget {
  Q_OBJECT

 public:
  enum class Kind { Product, Modem, Manual };
  explicit AboutPicture(Kind kind, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  void setBorder(bool border);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Kind m_kind;
  bool m_border = false;
};

// The product picture follows its control's visibility; an image also its border, and
// reports a click and the mouse moving over it.
void bind(AboutPicture* widget, forms::PictureBox& control);
void bind(AboutPicture* widget, forms::Image& control);

}  // namespace d7o::ui
