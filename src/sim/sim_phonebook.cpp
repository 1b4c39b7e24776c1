#include "sim/sim_phonebook.h"

#include <algorithm>

namespace d7o::sim {

namespace {

bool isDialCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '*' || c == '#';
}

// UTF-8 characters, not bytes: an umlaut in a name counts once.
std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

std::optional<int> phonebookEntryError(const PhonebookEntry& entry) {
  std::string_view digits = entry.number;
  if (digits.starts_with('+')) digits.remove_prefix(1);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDialCharacter)) return 27;
  if (digits.size() > static_cast<std::size_t>(kPhonebookNumberDigits)) return 26;
  if (entry.type < 128 || entry.type > 255) return 3;  // no type of address
  // A quote would end the name early in every reply; control characters break the line.
  for (char c : entry.name) {
    if (c == '"' || (static_cast<unsigned char>(c) < 0x20)) return 25;
  }
  if (characters(entry.name) > static_cast<std::size_t>(kPhonebookNameLength)) return 24;
  return std::nullopt;
}

SimPhonebook::SimPhonebook(int size) : m_slots(static_cast<std::size_t>(std::max(size, 0))) {}

int SimPhonebook::used() const {
  return static_cast<int>(std::count_if(m_slots.begin(), m_slots.end(),
                                        [](const auto& slot) { return slot.has_value(); }));
}

const PhonebookEntry* SimPhonebook::at(int index) const {
  if (index < 1 || index > size()) return nullptr;
  const auto& slot = m_slots[static_cast<std::size_t>(index - 1)];
  return slot ? &*slot : nullptr;
}

bool SimPhonebook::put(PhonebookEntry entry) {
  if (entry.index < 1 || entry.index > size()) return false;
  const auto slot = static_cast<std::size_t>(entry.index - 1);
  m_slots[slot] = std::move(entry);
  return true;
}

bool SimPhonebook::erase(int index) {
  if (index < 1 || index > size()) return false;
  m_slots[static_cast<std::size_t>(index - 1)].reset();
  return true;
}

std::optional<int> SimPhonebook::firstFree() const {
  const auto free = std::find_if(m_slots.begin(), m_slots.end(),
                                 [](const auto& slot) { return !slot.has_value(); });
  if (free == m_slots.end()) return std::nullopt;
  return static_cast<int>(free - m_slots.begin()) + 1;
}

}  // namespace d7o::sim
