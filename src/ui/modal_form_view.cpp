#include "ui/modal_form_view.h"

#include "ui/accessible_names.h"
#include "ui/binders.h"
#include "ui/refresh_beat.h"

#include <QCloseEvent>
#include <QTimer>

namespace d7o::ui {

ModalFormView::ModalFormView(app::Application& app, forms::Form& form, int refreshIntervalMs,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_app(app), m_form(form) {
  // The window holds the user until it is left, as the main window waits behind it.
  setWindowModality(Qt::ApplicationModal);
  new RefreshBeat(this, refreshIntervalMs);
}

ModalFormView::~ModalFormView() {
  if (m_following) m_form.changed.disconnect(m_visibility);
}

void ModalFormView::followForm(std::function<void()> closeButton) {
  m_closeButton = std::move(closeButton);
  // The window is built: every control has its widget to name.
  nameForAssistiveTools(*this, m_form);
  bind(static_cast<QWidget*>(this), m_form);
  m_visibility = m_form.changed.connect([this] { followVisibility(); });
  m_following = true;
  followVisibility();
}

void ModalFormView::followVisibility() {
  if (m_form.visible() == isVisible()) return;
  if (m_form.visible()) {
    show();
    activateWindow();
  } else {
    hide();
  }
}

void ModalFormView::closeEvent(QCloseEvent* event) {
  // Closed by the program's end, or already unloaded by the model: nothing to do.
  if (m_app.context().ended || !m_form.visible()) {
    event->accept();
    return;
  }
  // The close button is the window's way out; the model hides the window. From the event
  // loop, as a click would come: leaving may wait for the modem.
  event->ignore();
  QTimer::singleShot(0, this, [this] {
    if (!m_app.context().ended && m_form.visible() && m_closeButton) m_closeButton();
  });
}

}  // namespace d7o::ui
