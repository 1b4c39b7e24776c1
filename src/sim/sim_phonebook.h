#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// One entry of the SIM phone book. The type is the GSM type of address: 129 national or
// unknown, 145 international ("+" in front of the number).
struct PhonebookEntry {
  int index = 0;  // its position; in ModemConfig::phonebookAtStart, where it starts
  std::string number;
  int type = 129;
  std::string name;  // as the program's character set shows it
};

// What a SIM of this kind holds per entry.
inline constexpr int kPhonebookNumberDigits = 20;
inline constexpr int kPhonebookNameLength = 16;

// Why an entry cannot go onto the SIM, as the "+CME ERROR" code the modem reports; nothing
// when it fits. A "+" in front of the number is not a digit of it.
//   "0123456789",129,"Testnumber" -> nothing
//   21 digits -> 26 (dial string too long), "01?3" or none -> 27 (invalid characters in the
//   dial string), a name of 17 characters -> 24 (text too long), a quote in it -> 25
//   (invalid characters in the text), type 300 -> 3 (operation not allowed)
std::optional<int> phonebookEntryError(const PhonebookEntry& entry);

// The SIM phone book: positions 1..size, each empty or holding one entry.
class SimPhonebook {
 public:
  explicit SimPhonebook(int size);

  int size() const { return static_cast<int>(m_slots.size()); }
  int used() const;

  // Nothing at an empty position or one outside 1..size.
  const PhonebookEntry* at(int index) const;
  // Puts the entry at its index, over whatever was there; false outside 1..size.
  bool put(PhonebookEntry entry);
  // Empties the position; false outside 1..size (an empty one is fine).
  bool erase(int index);
  // The lowest empty position; nothing when the book is full.
  std::optional<int> firstFree() const;

 private:
  std::vector<std::optional<PhonebookEntry>> m_slots;
};

}  // namespace d7o::sim
