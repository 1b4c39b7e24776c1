#pragma once

#include <QPoint>
#include <QWidget>

namespace d7o::ui {

// The needle over the compass square: the two concentric centre marks and the line from
// its free end to the centre. Points are in the square's own pixels, (0, 0) its top left
// corner; `origin` is where that corner lies in the window's pixels, in which the core
// computes the needle. It only draws, and lets the mouse through.
class CompassNeedle : public QWidget {
  Q_OBJECT

 public:
  CompassNeedle(QPoint origin, QWidget* parent);

  QPoint origin() const { return m_origin; }
  void setNeedle(QPoint end, QPoint centre);
  QPoint needleEnd() const { return m_end; }
  QPoint needleCentre() const { return m_centre; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPoint m_origin;
  QPoint m_end;
  QPoint m_centre;
};

// The square the analyzer's needle moves in (Panel1): its outline, with the needle on it.
class CompassPanel : public QWidget {
  Q_OBJECT

 public:
  // `square` is Panel1's size; `origin` its top left corner in the window's pixels.
  CompassPanel(QSize square, QPoint origin, QWidget* parent = nullptr);

  CompassNeedle* needle() const { return m_needle; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize m_square;
  CompassNeedle* m_needle;
};

// The compass "Direction": the needle's square with the scale labels around it, "0" at
// the top (Label1), "90" right (Label7), "180" bottom (Label3) and "270" left (Label4).
class CompassWidget : public QWidget {
  Q_OBJECT

 public:
  CompassWidget(QSize square, QPoint origin, QWidget* parent = nullptr);

  CompassPanel* panel() const { return m_panel; }

 private:
  CompassPanel* m_panel;
};

}  // namespace d7o::ui
