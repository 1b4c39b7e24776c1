#pragma once

#include "app/application.h"
#include "forms/pdu_form.h"
#include "ui/modal_form_view.h"

namespace d7o::ui {

// The PDU creator PDU as Qt widgets, each bound to its control of the model: the fields of
// an SMS-SUBMIT in PDU order, the finished PDU and the decoder for a pasted one. It opens
// and closes as the model's form becomes visible or not. Destroy it before the Application.
class PduFormView : public ModalFormView {
  Q_OBJECT

 public:
  explicit PduFormView(app::Application& app, QWidget* parent = nullptr);

 private:
  QWidget* buildServiceCentre();
  QWidget* buildTypeAndReference();
  QWidget* buildDestination();
  QWidget* buildProtocol();
  QWidget* buildCoding();
  QWidget* buildValidity();
  QWidget* buildUserData();
  QLayout* buildResult();
  QWidget* buildDecoder();

  forms::PduForm& m_model;
};

}  // namespace d7o::ui
