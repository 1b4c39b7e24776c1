#pragma once

#include "forms/color.h"
#include "forms/form.h"
#include "forms/signal.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace d7o::forms {

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

// What every control has. `changed` tells a view that something it shows changed; the
// behaviour listens to the typed events (Click, Change, ...) instead.
//
// A control declared in a window names the window first (`Label Label2{*this, ...}`) and
// is then in its list of controls; one without a window stands alone (in tests).
class Control {
 public:
  explicit Control(std::string name) : m_name(std::move(name)) {}
  Control(Form& form, std::string name) : m_name(std::move(name)), m_form(&form) {
    form.m_controls.push_back(this);
  }
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& name() const { return m_name; }
  // The window it is declared in; nullptr for one that stands alone.
  Form* form() const { return m_form; }
  bool enabled() const { return m_enabled; }
  void setEnabled(bool enabled) { assign(m_enabled, enabled); }
  bool visible() const { return m_visible; }
  void setVisible(bool visible) { assign(m_visible, visible); }
  const std::string& toolTip() const { return m_toolTip; }
  void setToolTip(std::string tip) { assign(m_toolTip, std::move(tip)); }

  Signal<> changed;

 protected:
  // Stores a property and tells the view; true when the value really changed.
  template <typename T>
  bool assign(T& member, T value) {
    if (member == value) return false;
    member = std::move(value);
    changed.emit();
    return true;
  }

 private:
  std::string m_name;
  Form* m_form = nullptr;
  bool m_enabled = true;
  bool m_visible = true;
  std::string m_toolTip;
};

// A control with a caption and two colours (labels, buttons, frames, check boxes).
class Captioned : public Control {
 public:
  Captioned(std::string name, std::string caption)
      : Control(std::move(name)), m_caption(std::move(caption)) {}
  Captioned(Form& form, std::string name, std::string caption)
      : Control(form, std::move(name)), m_caption(std::move(caption)) {}
  const std::string& caption() const { return m_caption; }
  Color backColor() const { return m_backColor; }
  void setBackColor(Color c) { assign(m_backColor, c); }
  Color foreColor() const { return m_foreColor; }
  void setForeColor(Color c) { assign(m_foreColor, c); }

 protected:
  bool assignCaption(std::string caption) { return assign(m_caption, std::move(caption)); }

 private:
  std::string m_caption;
  Color m_backColor = colors::kSystemButtonFace;
  Color m_foreColor = colors::kSystemButtonText;
};

class Label : public Captioned {
 public:
  using Captioned::Captioned;
  // A caption written from code raises Change when it differs, like a typed one. Compared
  // before it is copied: the GPS analyzer writes all its values with every sentence.
  void setCaption(std::string_view caption) {
    if (caption == this->caption()) return;
    if (assignCaption(std::string(caption))) Change.emit();
  }
  // Horizontal position and width, in the window's units, where the program computes them.
  int left() const { return m_left; }
  void setLeft(int left) { assign(m_left, left); }
  int width() const { return m_width; }
  void setWidth(int width) { assign(m_width, width); }

  Signal<> Change;
  Signal<> Click;
  // A double click comes after the Click of its first press, as on the classic desktop.
  Signal<> DblClick;
  Signal<MouseButton> MouseUp;
  Signal<> MouseMove;

 private:
  int m_left = 0;
  int m_width = 0;
};

class Frame : public Captioned {
 public:
  using Captioned::Captioned;
  void setCaption(std::string caption) { assignCaption(std::move(caption)); }
};

class CommandButton : public Captioned {
 public:
  using Captioned::Captioned;
  void setCaption(std::string caption) { assignCaption(std::move(caption)); }
  // A press by the user (or by code that presses the button).
  void click() {
    if (enabled()) Click.emit();
  }
  Signal<> Click;
};

class CheckBox : public Captioned {
 public:
  // `checked` is the designed value: it is there when the window opens, without a Click.
  CheckBox(std::string name, std::string caption, bool checked = false)
      : Captioned(std::move(name), std::move(caption)), m_checked(checked) {}
  CheckBox(Form& form, std::string name, std::string caption, bool checked = false)
      : Captioned(form, std::move(name), std::move(caption)), m_checked(checked) {}
  void setCaption(std::string caption) { assignCaption(std::move(caption)); }
  bool checked() const { return m_checked; }
  // Setting the value, from code or by the user, raises Click when it changes.
  void setChecked(bool checked) {
    if (assign(m_checked, checked)) Click.emit();
  }
  // The designed value of a window that is loaded afresh: no Click.
  void restoreDesignValue(bool checked) { assign(m_checked, checked); }
  Signal<> Click;

 private:
  bool m_checked;
};

class OptionButton;

// The option buttons of one frame: selecting one clears the others.
class OptionGroup {
 public:
  void add(OptionButton* button) { m_buttons.push_back(button); }
  void selected(OptionButton* chosen);

 private:
  std::vector<OptionButton*> m_buttons;
};

class OptionButton : public Captioned {
 public:
  // `selected` is the designed value: there when the window opens, without a Click.
  OptionButton(std::string name, std::string caption, OptionGroup& group, bool selected = false)
      : Captioned(std::move(name), std::move(caption)), m_group(group), m_value(selected) {
    m_group.add(this);
  }
  OptionButton(Form& form, std::string name, std::string caption, OptionGroup& group,
               bool selected = false)
      : Captioned(form, std::move(name), std::move(caption)), m_group(group), m_value(selected) {
    m_group.add(this);
  }
  bool value() const { return m_value; }
  // Selecting it, from code or by the user, clears the others of its group and raises Click.
  void select() {
    if (!assign(m_value, true)) return;
    m_group.selected(this);
    Click.emit();
  }
  // The designed selection of a window that is loaded afresh: no Click.
  void restoreDesignValue() {
    if (assign(m_value, true)) m_group.selected(this);
  }
  Signal<> Click;

 private:
  friend class OptionGroup;
  void clear() { assign(m_value, false); }

  OptionGroup& m_group;
  bool m_value;
};

inline void OptionGroup::selected(OptionButton* chosen) {
  for (OptionButton* b : m_buttons) {
    if (b != chosen) b->clear();
  }
}

// A drop-down list of fixed items. An editable one also takes text the user types, which a
// choice from the list replaces.
class ComboBox : public Control {
 public:
  ComboBox(std::string name, std::vector<std::string> items, int listIndex)
      : Control(std::move(name)), m_items(std::move(items)), m_listIndex(listIndex) {}
  ComboBox(Form& form, std::string name, std::vector<std::string> items, int listIndex,
           bool editable = false)
      : Control(form, std::move(name)),
        m_items(std::move(items)),
        m_listIndex(listIndex),
        m_editable(editable),
        m_text(itemText(listIndex)) {}
  const std::vector<std::string>& items() const { return m_items; }
  int listIndex() const { return m_listIndex; }
  bool editable() const { return m_editable; }
  std::string text() const { return m_editable ? m_text : itemText(m_listIndex); }
  // Choosing an entry, from code or by the user, raises Click.
  void setListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(m_items.size())) return;
    if (m_editable) assign(m_text, itemText(index));
    if (assign(m_listIndex, index)) Click.emit();
  }
  // Typing into an editable combo: no Click, and no entry of the list is chosen any more.
  void setText(std::string text) {
    if (!m_editable) return;
    assign(m_text, std::move(text));
    assign(m_listIndex, -1);
  }
  // Lists the program keeps (a call history, the drives): the text stays as it is; an
  // entry chosen before stays chosen while it is still there.
  void setItems(std::vector<std::string> items) {
    if (items == m_items) return;
    const int count = static_cast<int>(items.size());
    m_items = std::move(items);
    if (m_listIndex >= count) m_listIndex = -1;
    changed.emit();
  }
  void addItem(std::string item) {
    auto items = m_items;
    items.push_back(std::move(item));
    setItems(std::move(items));
  }
  // The user's choice of an entry, even the one shown: Click every time.
  void choose(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return;
    if (m_editable) assign(m_text, itemText(index));
    assign(m_listIndex, index);
    Click.emit();
  }
  Signal<> Click;

 private:
  std::string itemText(int index) const {
    return index >= 0 && index < static_cast<int>(m_items.size())
               ? m_items[static_cast<std::size_t>(index)]
               : std::string();
  }

  std::vector<std::string> m_items;
  int m_listIndex;
  bool m_editable = false;
  std::string m_text;
};

// A picture the program only shows or hides (the wiring sample of the alarm tab).
class PictureBox : public Control {
 public:
  using Control::Control;
};

// A picture the user can point at and click (the about tab's links); it may carry a
// single-line border.
class Image : public Control {
 public:
  using Control::Control;
  bool border() const { return m_border; }
  void setBorder(bool border) { assign(m_border, border); }
  Signal<> Click;
  Signal<> MouseMove;

 private:
  bool m_border = false;
};

class TextBox : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return m_text; }
  // Written by code or typed: Change is raised when the text differs.
  void setText(std::string text) {
    if (assign(m_text, std::move(text))) Change.emit();
  }
  // A key let go in the box: 13 for Enter, else the key's character code (0: none).
  static constexpr int kEnterKey = 13;
  // The arrow keys, as the classic key codes 38 and 40 moved above every character code.
  static constexpr int kUpKey = 0x100 + 38;
  static constexpr int kDownKey = 0x100 + 40;
  Signal<int> KeyUp;
  Color backColor() const { return m_backColor; }
  void setBackColor(Color c) { assign(m_backColor, c); }
  // A box of several lines keeps its line ends as CR LF, as the classic text box does.
  bool multiLine() const { return m_multiLine; }
  void setMultiLine(bool multiLine) { assign(m_multiLine, multiLine); }
  // What the user may type at most; 0: no limit. Text written by code is kept whole.
  int maxLength() const { return m_maxLength; }
  void setMaxLength(int maxLength) { assign(m_maxLength, maxLength); }
  bool readOnly() const { return m_readOnly; }
  void setReadOnly(bool readOnly) { assign(m_readOnly, readOnly); }
  Signal<> Change;

 private:
  std::string m_text;
  Color m_backColor = colors::kSystemWindow;
  bool m_multiLine = false;
  int m_maxLength = 0;
  bool m_readOnly = false;
};

// One change of a list's items, so a view can follow without copying the whole list.
struct ListChange {
  enum class Kind { Added, Removed, Replaced, Cleared } kind;
  int index = -1;
};

// When a row came: the PC's local time of day in milliseconds since midnight, and whether
// it is the echo of a line the program sent. Kept beside the row, never in its text, so
// what the program matches, sends again and logs is the row as it arrived.
struct RowStamp {
  static constexpr int kNoTime = -1;
  int timeOfDay = kNoTime;
  bool sent = false;
  // What the row means where its text alone does not say it (the meaning of an error
  // code), for its tooltip and for a screen reader; empty for most rows.
  std::string note = {};

  bool operator==(const RowStamp&) const = default;
};

// "09:30:01.250"; empty for kNoTime.
std::string timeOfDayText(int timeOfDay);
// A row with its stamp in front: "09:30:01.250 > AT+CSQ" for a line the program sent,
// "09:30:01.250   +CSQ: 17,99" for any other (the texts stay in one column); a row
// without a time is its text alone.
std::string stampedRow(const RowStamp& stamp, const std::string& text);

class ListBox : public Control {
 public:
  using Control::Control;
  int count() const { return static_cast<int>(m_items.size()); }
  bool empty() const { return m_items.empty(); }
  const std::string& item(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& items() const { return m_items; }

  // A row added or replaced is stamped by the stamper, if one is set (a stamper leaves the
  // list alone); its stamp goes and comes with it, so row i and stamp i belong together.
  void addItem(std::string text);
  void removeItem(int index);
  void replaceItem(int index, std::string text);
  void clear();

  using Stamper = std::function<RowStamp(const std::string& text)>;
  void setStamper(Stamper stamper) { m_stamper = std::move(stamper); }
  const RowStamp& stamp(int index) const { return m_stamps.at(static_cast<std::size_t>(index)); }
  // Whether a view shows each row with its stamp (the terminal's "time stamps").
  bool showStamps() const { return m_showStamps; }
  void setShowStamps(bool show) { assign(m_showStamps, show); }
  // A row as a view shows it: stamped while the stamps show, else its text alone.
  std::string shownText(int index) const;

  // -1: nothing selected. Selecting from code raises Click, as a click does.
  int listIndex() const { return m_listIndex; }
  void setListIndex(int index);

  // A list of several selected rows (a click toggles its row) keeps one mark per row;
  // `listIndex` then stays -1. A mark set or cleared, from code or by a click, raises Click.
  bool multiSelect() const { return m_multiSelect; }
  void setMultiSelect(bool multiSelect) { assign(m_multiSelect, multiSelect); }
  bool selected(int index) const;
  void setSelected(int index, bool selected);
  // The marked rows' texts, in list order.
  std::vector<std::string> selectedItems() const;

  Color foreColor() const { return m_foreColor; }
  void setForeColor(Color c) { assign(m_foreColor, c); }

  Signal<ListChange> itemsChanged;
  Signal<> Click;
  Signal<> DblClick;
  Signal<MouseButton> MouseUp;

 private:
  RowStamp stampOf(const std::string& text) const {
    return m_stamper ? m_stamper(text) : RowStamp{};
  }

  std::vector<std::string> m_items;
  std::vector<bool> m_selected;    // multi-selection only: one mark per item
  std::vector<RowStamp> m_stamps;  // one per item
  Stamper m_stamper;
  bool m_showStamps = false;
  int m_listIndex = -1;
  bool m_multiSelect = false;
  Color m_foreColor = colors::kSystemWindowText;
};

class ProgressBar : public Control {
 public:
  // The bar as the style paints it: the system's highlight colour.
  static constexpr Color kStyleBarColor = colors::kSystemFlag | 0x0Du;

  using Control::Control;
  int value() const { return m_value; }
  void setValue(int value) { assign(m_value, value); }
  int max() const { return m_max; }
  void setMax(int max) { assign(m_max, max); }
  // The colour of the filled part (the analyzer's level bars tell weak from strong by it).
  Color barColor() const { return m_barColor; }
  void setBarColor(Color c) { assign(m_barColor, c); }
  int left() const { return m_left; }
  int width() const { return m_width; }
  void setGeometry(int left, int width) {
    assign(m_left, left);
    assign(m_width, width);
  }

 private:
  int m_value = 0;
  int m_max = 100;
  int m_left = 0;
  int m_width = 0;
  Color m_barColor = kStyleBarColor;
};

// A straight line from (X1, Y1) to (X2, Y2), in the window's pixels: the analyzer's
// compass needle.
class Line : public Control {
 public:
  using Control::Control;
  int x1() const { return m_points[0]; }
  int y1() const { return m_points[1]; }
  int x2() const { return m_points[2]; }
  int y2() const { return m_points[3]; }
  // Both points at once, so a view sees one change, never half a line.
  void setPoints(int x1, int y1, int x2, int y2) {
    assign(m_points, std::array<int, 4>{x1, y1, x2, y2});
  }
  void setPoint1(int x1, int y1) { setPoints(x1, y1, x2(), y2()); }

 private:
  std::array<int, 4> m_points{};
};

// A slider with its range; Change is raised when the value changes, from code or the user.
class Slider : public Control {
 public:
  using Control::Control;
  int value() const { return m_value; }
  // A value outside the range is held at its nearest end: the module may report a gain
  // the slider cannot show.
  void setValue(int value) {
    value = value < m_min ? m_min : (value > m_max ? m_max : value);
    if (assign(m_value, value)) Change.emit();
  }
  int min() const { return m_min; }
  void setMin(int min) { assign(m_min, min); }
  int max() const { return m_max; }
  // A value above the new maximum is pulled down to it, as the classic slider does.
  void setMax(int max) {
    assign(m_max, max);
    if (m_value > max) setValue(max);
  }
  int tickFrequency() const { return m_tickFrequency; }
  void setTickFrequency(int f) { assign(m_tickFrequency, f); }
  Signal<> Change;

 private:
  int m_value = 0;
  int m_min = 0;
  int m_max = 255;
  int m_tickFrequency = 1;
};

// A filled shape used as a lamp (the CTS indicator).
class Shape : public Control {
 public:
  using Control::Control;
  Color fillColor() const { return m_fillColor; }
  void setFillColor(Color c) { assign(m_fillColor, c); }
  Signal<MouseButton> MouseUp;

 private:
  Color m_fillColor = colors::kRed;
};

class TabControl : public Control {
 public:
  TabControl(std::string name, std::vector<std::string> captions)
      : Control(std::move(name)), m_captions(std::move(captions)) {}
  TabControl(Form& form, std::string name, std::vector<std::string> captions)
      : Control(form, std::move(name)), m_captions(std::move(captions)) {}
  int tabCount() const { return static_cast<int>(m_captions.size()); }
  const std::string& tabCaption(int tab) const {
    return m_captions.at(static_cast<std::size_t>(tab));
  }
  int tab() const { return m_tab; }
  // Selecting another tab, by the user or from code, raises Click with the tab left.
  void setTab(int tab) {
    const int previous = m_tab;
    if (tab < 0 || tab >= tabCount()) return;
    if (assign(m_tab, tab)) Click.emit(previous);
  }
  Signal<int> Click;
  // The mouse moves over the tab control's own surface, not over one of its controls.
  Signal<> MouseMove;

 private:
  std::vector<std::string> m_captions;
  int m_tab = 0;
};

class Menu : public Control {
 public:
  Menu(std::string name, std::string caption)
      : Control(std::move(name)), m_caption(std::move(caption)) {}
  Menu(Form& form, std::string name, std::string caption)
      : Control(form, std::move(name)), m_caption(std::move(caption)) {}
  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption) { assign(m_caption, std::move(caption)); }
  void click() {
    if (enabled() && visible()) Click.emit();
  }
  Signal<> Click;

 private:
  std::string m_caption;
};

namespace detail {
template <typename T, typename... Args, std::size_t... I>
std::array<T, sizeof...(I)> controlArray(Form& form, const std::string& base,
                                         std::index_sequence<I...>, const Args&... args) {
  return {T(form, base + "(" + std::to_string(I + 1) + ")", args...)...};
}
}  // namespace detail

// A control array of the program: `N` controls named "Nr(1)" to "Nr(N)", as it counts its
// rows from 1 (index 0 is row 1). The trailing arguments go to every control.
template <typename T, std::size_t N, typename... Args>
std::array<T, N> controlArray(Form& form, const std::string& base, const Args&... args) {
  return detail::controlArray<T>(form, base, std::make_index_sequence<N>{}, args...);
}

}  // namespace d7o::forms
