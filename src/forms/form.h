#pragma once

#include "forms/signal.h"

#include <string>
#include <vector>

namespace d7o::forms {

class Control;

// A window: caption, visibility, position and size (in pixels), and its lifecycle events.
class Form {
 public:
  Form(std::string name, std::string caption)
      : m_name(std::move(name)), m_caption(std::move(caption)) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  const std::string& name() const { return m_name; }
  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption) { assign(m_caption, std::move(caption)); }
  bool visible() const { return m_visible; }
  void setVisible(bool visible) { assign(m_visible, visible); }

  int left() const { return m_left; }
  int top() const { return m_top; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  void move(int left, int top) {
    assign(m_left, left);
    assign(m_top, top);
  }
  void resize(int width, int height) {
    assign(m_width, width);
    assign(m_height, height);
  }

  // Every control declared in the window, in the order of declaration: what a view must
  // show, and what a test of the view walks.
  const std::vector<Control*>& controls() const { return m_controls; }

  Signal<> changed;
  // Text that reached one of its fields held characters outside the windows' code page
  // (forms/code_page.h), which the field shows and sends as "?": the field's name as the
  // user knows it, and those characters.
  Signal<std::string, std::u32string> CharactersReplaced;
  Signal<> Load;
  Signal<> Activate;
  Signal<> Unload;

 private:
  template <typename T>
  void assign(T& member, T value) {
    if (member == value) return;
    member = std::move(value);
    changed.emit();
  }

  friend class Control;

  std::string m_name;
  std::string m_caption;
  std::vector<Control*> m_controls;
  bool m_visible = false;
  int m_left = 0;
  int m_top = 0;
  int m_width = 0;
  int m_height = 0;
};

}  // namespace d7o::forms
