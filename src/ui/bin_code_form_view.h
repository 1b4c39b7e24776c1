#pragma once

#include "app/application.h"
#include "forms/bin_code_form.h"

#include <QWidget>

namespace d7o::ui {

// The 7-bit converter BinCode as Qt widgets, each bound to its control of the model: the
// text to pack, every stage of the packing in its lists and the packed hex. It opens and
// closes as the model's form becomes visible or not. Destroy it before the Application.
class BinCodeFormView : public QWidget {
  Q_OBJECT

 public:
  explicit BinCodeFormView(app::Application& app, QWidget* parent = nullptr);
  ~BinCodeFormView() override;
  BinCodeFormView(const BinCodeFormView&) = delete;
  BinCodeFormView& operator=(const BinCodeFormView&) = delete;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLayout* buildText();
  QLayout* buildLists();
  QLayout* buildButtons();
  void followVisibility();

  app::Application& m_app;
  forms::BinCodeForm& m_model;
  forms::Signal<>::Connection m_visibility = 0;
};

}  // namespace d7o::ui
