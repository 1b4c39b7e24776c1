#include "forms/controls.h"

namespace d7o::forms {

void ListBox::addItem(std::string text) {
  m_items.push_back(std::move(text));
  m_selected.push_back(false);
  itemsChanged.emit({ListChange::Kind::Added, count() - 1});
}

void ListBox::removeItem(int index) {
  if (index < 0 || index >= count()) return;
  m_items.erase(m_items.begin() + index);
  m_selected.erase(m_selected.begin() + index);
  if (m_listIndex >= count()) m_listIndex = count() - 1;
  itemsChanged.emit({ListChange::Kind::Removed, index});
}

void ListBox::replaceItem(int index, std::string text) {
  if (index < 0 || index >= count()) return;
  m_items[static_cast<std::size_t>(index)] = std::move(text);
  itemsChanged.emit({ListChange::Kind::Replaced, index});
}

void ListBox::clear() {
  if (m_items.empty() && m_listIndex == -1) return;
  m_items.clear();
  m_selected.clear();
  m_listIndex = -1;
  itemsChanged.emit({ListChange::Kind::Cleared, -1});
}

void ListBox::setListIndex(int index) {
  if (index < -1 || index >= count()) return;
  if (assign(m_listIndex, index)) Click.emit();
}

bool ListBox::selected(int index) const {
  if (index < 0 || index >= count()) return false;
  return m_selected[static_cast<std::size_t>(index)];
}

void ListBox::setSelected(int index, bool selected) {
  if (!m_multiSelect || index < 0 || index >= count()) return;
  const auto i = static_cast<std::size_t>(index);
  if (m_selected[i] == selected) return;
  m_selected[i] = selected;
  changed.emit();
  Click.emit();
}

std::vector<std::string> ListBox::selectedItems() const {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_selected[i]) out.push_back(m_items[i]);
  }
  return out;
}

}  // namespace d7o::forms
