#pragma once

#include "app/application.h"
#include "forms/bin_code_form.h"
#include "ui/modal_form_view.h"

namespace d7o::ui {

// The 7-bit converter BinCode as Qt widgets, each bound to its control of the model: the
// text to pack, every stage of the packing in its lists and the packed hex. It opens and
// closes as the model's form becomes visible or not. Destroy it before the Application.
class BinCodeFormView : public ModalFormView {
  Q_OBJECT

 public:
  explicit BinCodeFormView(app::Application& app, QWidget* parent = nullptr);

 private:
  QLayout* buildText();
  QLayout* buildLists();
  QLayout* buildButtons();

  forms::BinCodeForm& m_model;
};

}  // namespace d7o::ui
