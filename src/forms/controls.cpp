#include "forms/controls.h"

namespace d7o::forms {

namespace {
constexpr int kMillisPerDay = 24 * 60 * 60 * 1000;

std::string twoDigits(int n) {
  return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}
}  // namespace

std::string timeOfDayText(int timeOfDay) {
  if (timeOfDay < 0) return "";
  const int ms = timeOfDay % kMillisPerDay;
  const int seconds = ms / 1000;
  const int millis = ms % 1000;
  return twoDigits(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" +
         twoDigits(seconds % 60) + "." + static_cast<char>('0' + millis / 100) +
         twoDigits(millis % 100);
}

void ListBox::addItem(std::string text) {
  // Stamped before the row is there: a stamper never sees half a row.
  const RowStamp stamp = stampOf(text);
  m_items.push_back(std::move(text));
  m_selected.push_back(false);
  m_stamps.push_back(stamp);
  itemsChanged.emit({ListChange::Kind::Added, count() - 1});
}

void ListBox::removeItem(int index) {
  if (index < 0 || index >= count()) return;
  m_items.erase(m_items.begin() + index);
  m_selected.erase(m_selected.begin() + index);
  m_stamps.erase(m_stamps.begin() + index);
  if (m_listIndex >= count()) m_listIndex = count() - 1;
  itemsChanged.emit({ListChange::Kind::Removed, index});
}

void ListBox::replaceItem(int index, std::string text) {
  if (index < 0 || index >= count()) return;
  // The new text came now: it carries its own time.
  const RowStamp stamp = stampOf(text);
  const auto i = static_cast<std::size_t>(index);
  m_items[i] = std::move(text);
  m_stamps[i] = stamp;
  itemsChanged.emit({ListChange::Kind::Replaced, index});
}

void ListBox::clear() {
  if (m_items.empty() && m_listIndex == -1) return;
  m_items.clear();
  m_selected.clear();
  m_stamps.clear();
  m_listIndex = -1;
  itemsChanged.emit({ListChange::Kind::Cleared, -1});
}

std::string stampedRow(const RowStamp& stamp, const std::string& text) {
  if (stamp.timeOfDay == RowStamp::kNoTime) return text;
  return timeOfDayText(stamp.timeOfDay) + (stamp.sent ? " > " : "   ") + text;
}

std::string ListBox::shownText(int index) const {
  return m_showStamps ? stampedRow(stamp(index), item(index)) : item(index);
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
