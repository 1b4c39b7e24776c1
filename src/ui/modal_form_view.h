#pragma once

#include "app/application.h"
#include "forms/form.h"

#include <functional>

#include <QWidget>

namespace d7o::ui {

// A side window the program shows over the hidden main window (the analyzer, the PDU
// creator, the 7-bit converter): application-modal, with its own refresh beat; it opens
// and closes as its model's form becomes visible or not, and its title bar's close button
// is the window's own way out. Destroy it before the Application.
class ModalFormView : public QWidget {
  Q_OBJECT

 public:
  ModalFormView(app::Application& app, forms::Form& form, int refreshIntervalMs,
                QWidget* parent = nullptr);
  ~ModalFormView() override;
  ModalFormView(const ModalFormView&) = delete;
  ModalFormView& operator=(const ModalFormView&) = delete;

 protected:
  // Binds the window to its form and follows its visibility from now on; the view calls it
  // once its widgets are built. `closeButton` clicks the window's way out.
  void followForm(std::function<void()> closeButton);
  void closeEvent(QCloseEvent* event) override;

  app::Application& m_app;

 private:
  void followVisibility();

  forms::Form& m_form;
  std::function<void()> m_closeButton;
  forms::Signal<>::Connection m_visibility = 0;
  bool m_following = false;
};

}  // namespace d7o::ui
