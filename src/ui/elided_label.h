#pragma once

#include <QLabel>
#include <QResizeEvent>
#include <QString>

namespace d7o::ui {

// A text on one line, cut with an ellipsis where the window is narrower; the whole text
// is its tooltip and its accessible name (while empty: its role, the description its
// window gave it). The analyzer's last received sentence, the status fields.
class ElidedLabel : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent = nullptr) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // The text must not widen the window: it takes the width the window gives it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumWidth(0);
  }

  const QString& fullText() const { return m_full; }
  void setFullText(const QString& text) {
    if (text == m_full) return;
    m_full = text;
    setToolTip(text);
    nameWholly();
    elide();
  }

  // Once the window has given it its role.
  void nameWholly() {
    const QString name = m_full.isEmpty() ? accessibleDescription() : m_full;
    if (accessibleName() != name) setAccessibleName(name);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    elide();
  }

 private:
  void elide() {
    setText(fontMetrics().elidedText(m_full, Qt::ElideRight, contentsRect().width()));
  }

  QString m_full;
};

}  // namespace d7o::ui
