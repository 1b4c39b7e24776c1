#pragma once

#include "app/application.h"
#include "forms/remote_form.h"
#include "ui/modal_form_view.h"

class QLayout;
class QWidget;

namespace d7o::ui {

// The remote control tool Remote as Qt widgets bound to its model: the call controls in
// Frame13, which cover the choice of the Map&Guide program until its path is known, the
// lamp row, the status line and the menus. Destroy it before the Application.
class RemoteFormView : public ModalFormView {
  Q_OBJECT

 public:
  explicit RemoteFormView(app::Application& app, QWidget* parent = nullptr);

 private:
  void buildMenus(QLayout* layout);
  QWidget* buildCallControls();
  QWidget* buildFileChoice();

  forms::RemoteForm& m_model;
};

}  // namespace d7o::ui
