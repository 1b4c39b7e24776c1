#pragma once

#include <QPoint>
#include <QWidget>

namespace d7o::ui {

// The square the analyzer's needle moves in: its outline, the two concentric centre marks
// and the needle, a line from its free end to the centre. Points are in the square's own
// pixels, (0, 0) its top left corner; the core computes them, this only draws.
class CompassPanel : public QWidget {
  Q_OBJECT

 public:
  CompassPanel(QSize square, QWidget* parent = nullptr);

  void setNeedle(QPoint end, QPoint centre);
  QPoint needleEnd() const { return m_end; }
  QPoint needleCentre() const { return m_centre; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize m_square;
  QPoint m_end;
  QPoint m_centre;
};

// The compass "Direction": the needle's square with the scale labels around it, "0" at
// the top (Label1), "90" right (Label7), "180" bottom (Label3) and "270" left (Label4).
class CompassWidget : public QWidget {
  Q_OBJECT

 public:
  CompassWidget(QSize square, QWidget* parent = nullptr);

  CompassPanel* panel() const { return m_panel; }

 private:
  CompassPanel* m_panel;
};

}  // namespace d7o::ui
