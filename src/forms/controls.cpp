#include "forms/controls.h"

namespace d7o::forms {

void ListBox::addItem(std::string text) {
  m_items.push_back(std::move(text));
  itemsChanged.emit({ListChange::Kind::Added, count() - 1});
}

void ListBox::removeItem(int index) {
  if (index < 0 || index >= count()) return;
  m_items.erase(m_items.begin() + index);
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
  m_listIndex = -1;
  itemsChanged.emit({ListChange::Kind::Cleared, -1});
}

void ListBox::setListIndex(int index) {
  if (index < -1 || index >= count()) return;
  if (assign(m_listIndex, index)) Click.emit();
}

}  // namespace d7o::forms
