#pragma once

#include "forms/color.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/signal.h"
#include "ui/refresh_beat.h"

#include <functional>
#include <string>
#include <vector>

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace d7o::ui {

// Keeps one widget (or action) and one forms control in step both ways. A binder is a
// child of its widget and goes with it; it drops its model connections then, so the view
// must be destroyed before the model it shows.
//
// Model -> widget copies run under QSignalBlocker, so the widget never echoes them back;
// widget -> model follows every change of the widget's value, whoever made it: the
// keyboard, the mouse, a paste, an input method, a screen reader or an automation script.
//
// Model -> widget copies wait for the window's refresh beat: a change marks the binder
// dirty, and the beat calls `show` (a window without a beat: at once).
class Binder : public QObject {
 public:
  // `anchor` is the widget whose window's beat paces the copies (the widget itself, or
  // the window of an action).
  Binder(QObject* owner, QWidget* anchor) : QObject(owner), m_anchor(anchor) {}
  ~Binder() override;
  Binder(const Binder&) = delete;
  Binder& operator=(const Binder&) = delete;

  // For the beat.
  void flushFromBeat() {
    m_queued = false;
    show();
  }
  void beatGone() {
    m_queued = false;
    m_beat = nullptr;
  }

 protected:
  // Copies the control to the widget, under QSignalBlocker.
  virtual void show() = 0;

  // The control changed: its widget follows on the beat.
  void showOnBeat();
  // `show` on the beat whenever `changed` fires.
  void follow(forms::Signal<>& changed) {
    listen(changed, [this] { showOnBeat(); });
  }

  template <typename... Args, typename Handler>
  void listen(forms::Signal<Args...>& signal, Handler handler) {
    const auto id = signal.connect(std::move(handler));
    m_disconnects.push_back([&signal, id] { signal.disconnect(id); });
  }

  // Raises `mouseUp` when a mouse button is released after a press on `target`; `inside`
  // tells whether the pointer was still over it (a click).
  using MouseUp = std::function<void(forms::MouseButton button, bool inside)>;
  void watchMouseUp(QWidget* target, MouseUp mouseUp);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<std::function<void()>> m_disconnects;
  QPointer<QWidget> m_anchor;
  QPointer<RefreshBeat> m_beat;
  bool m_queued = false;
  QWidget* m_mouseTarget = nullptr;
  MouseUp m_mouseUp;
};

// Enabled, visible and tooltip, which every control has.
void applyControlState(QWidget* widget, const forms::Control& control);

// A colour of the program on a palette role. A system colour leaves the role as the
// style paints it. Returns whether the colour was a plain one.
bool applyColor(QWidget* widget, QPalette::ColorRole role, forms::Color color);

// A background that really shows (labels, lamps): filled in a plain colour, transparent
// like any other widget for a system colour.
void applyBackground(QWidget* widget, forms::Color color);

// A label is read out by its text; an empty one (a value not received yet) by its role,
// which its window gave it as its description. One whose property `kReadWithRole` is set
// (a number between stepper buttons) is read as "role: text".
inline constexpr const char* kReadWithRole = "d7oReadWithRole";
void nameByRoleWhileEmpty(QLabel* label);

// Puts "?" in the field in place of each character outside the windows' code page, so
// it shows what goes on the wire, with the cursor where it was; returns those characters.
std::u32string keepInCodePage(QLineEdit* edit);

// Shows the technician at `widget` which characters went as "?".
void showReplaced(QWidget* widget, const std::u32string& replaced);

// Tells the program that `control`'s field (named by `widget`'s accessible name) got
// `replaced` characters as "?", and shows the technician so at the field at once.
void reportReplaced(QWidget* widget, const forms::Control& control, const std::u32string& replaced);

// The part of a text box's text the user's last edit inserted beyond the box's typing
// limit, to be taken out again: [from, to) of `after`, empty when all of it fits.
struct TypingCut {
  int from = 0;
  int to = 0;
  bool empty() const { return to <= from; }
};

// A text box lets the user type at most `maxLength` characters of the model (0: no
// limit); what code writes is kept whole, so a longer text takes nothing typed, but the
// user may still delete from it. `before` and `after` are the widget's text around one
// edit and `cursor` where the edit left the cursor, which tells where the insertion
// ended when the text repeats itself ("aa" to "aaa"). A line break of the widget is
// `lineBreakLength` characters of the model (CR LF: 2). What fits is kept from the start
// of the insertion, as a paste into a full box keeps its beginning.
TypingCut cutTyping(const QString& before, const QString& after, int cursor, int maxLength,
                    int lineBreakLength = 1);

}  // namespace d7o::ui
