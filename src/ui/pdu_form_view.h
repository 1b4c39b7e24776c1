#pragma once

#include "app/application.h"
#include "forms/pdu_form.h"

#include <QWidget>

namespace d7o::ui {

// The PDU creator PDU as Qt widgets, each bound to its control of the model: the fields of
// an SMS-SUBMIT in PDU order, the finished PDU and the decoder for a pasted one. It opens
// and closes as the model's form becomes visible or not. Destroy it before the Application.
class PduFormView : public QWidget {
  Q_OBJECT

 public:
  explicit PduFormView(app::Application& app, QWidget* parent = nullptr);
  ~PduFormView() override;
  PduFormView(const PduFormView&) = delete;
  PduFormView& operator=(const PduFormView&) = delete;

 protected:
  void closeEvent(QCloseEvent* event) override;

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
  void followVisibility();

  app::Application& m_app;
  forms::PduForm& m_model;
  forms::Signal<>::Connection m_visibility = 0;
};

}  // namespace d7o::ui
