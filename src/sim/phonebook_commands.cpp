// The SIM phone book through GSM 07.07: the storage (AT+CPBS, only the SIM's "SM"),
// reading a range of positions (AT+CPBR), writing and clearing one (AT+CPBW), and the
// number a dial from memory ("ATD>5;") calls.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <string>
#include <vector>

namespace d7o::sim {

namespace {

// "+CME ERROR" codes of the phone book.
constexpr int kNotAllowed = 3;
constexpr int kMemoryFull = 20;
constexpr int kInvalidIndex = 21;
constexpr int kNotFound = 22;

std::string cmeError(int code) {
  return "+CME ERROR: " + std::to_string(code);
}

bool refuse(Answer& a, int code) {
  a.final = cmeError(code);
  return false;
}

// A position as given; it need not lie within the book ("AT+CPBR=300" is an index error,
// "AT+CPBR=X" a syntax error).
std::optional<int> position(std::string_view text) {
  return numberIn(text, 0, 999999999);
}

// "1,"0123456789",129,"Testnumber"": an entry as AT+CPBR reports it.
std::string reported(const PhonebookEntry& entry) {
  return "+CPBR: " + std::to_string(entry.index) + ",\"" + entry.number + "\"," +
         std::to_string(entry.type) + ",\"" + entry.name + "\"";
}

}  // namespace

// Like the other SIM commands: "+CME ERROR: 10" unreadable, 13 none, 11 PIN not yet given,
// 12 PUK wanted, 14 busy.
bool ModemEngine::simReady(Answer& a) const {
  const std::optional<int> error = simCmeError();
  return !error || refuse(a, *error);
}

// "+CPBS?" -> "+CPBS: \"SM\",3,250": the SIM is the only storage, used and total positions.
bool ModemEngine::atCpbsQuery(const AtCommand&, Answer& a) {
  if (!simReady(a)) return false;
  a.info += framed("+CPBS: \"SM\"," + std::to_string(m_phonebook.used()) + "," +
                   std::to_string(m_phonebook.size()));
  return true;
}

// "+CPBS=\"SM\"" -> OK. Another storage (the dialled calls "LD", the fixed dialling "FD" ...)
// this device does not offer: "+CME ERROR: 3".
bool ModemEngine::atCpbsSet(const AtCommand& c, Answer& a) {
  const std::vector<std::string> p = parameters(c.args());
  if (p.size() != 1 || !isQuoted(p[0])) return false;
  if (!simReady(a)) return false;
  return unquoted(p[0]) == "SM" || refuse(a, kNotAllowed);
}

// "+CPBR=?" -> "+CPBR: (1-250),20,16": the positions, the longest number and name.
bool ModemEngine::atCpbrRange(const AtCommand&, Answer& a) {
  if (!simReady(a)) return false;
  a.info +=
      framed("+CPBR: (1-" + std::to_string(m_phonebook.size()) + ")," +
             std::to_string(kPhonebookNumberDigits) + "," + std::to_string(kPhonebookNameLength));
  return true;
}

// "+CPBR=1,250" -> "+CPBR: 1,\"0123456789\",129,\"Testnumber\"" for each stored entry of
// the range, lowest first; empty positions give no line. A range outside 1..size, or one
// that runs backwards: "+CME ERROR: 21".
bool ModemEngine::atCpbr(const AtCommand& c, Answer& a) {
  const std::vector<std::string> p = parameters(c.args());
  if (p.empty() || p.size() > 2) return false;
  const std::optional<int> first = position(p[0]);
  const std::optional<int> last = p.size() == 2 ? position(p[1]) : first;
  if (!first || !last) return false;
  if (!simReady(a)) return false;
  if (*first < 1 || *last < *first || *last > m_phonebook.size()) return refuse(a, kInvalidIndex);
  for (int index = *first; index <= *last; ++index) {
    if (const PhonebookEntry* entry = m_phonebook.at(index)) a.info += framed(reported(*entry));
  }
  return true;
}

// "+CPBW=?" -> "+CPBW: (1-250),20,(128-255),16": positions, number length, types, name
// length.
bool ModemEngine::atCpbwRange(const AtCommand&, Answer& a) {
  if (!simReady(a)) return false;
  a.info += framed("+CPBW: (1-" + std::to_string(m_phonebook.size()) + ")," +
                   std::to_string(kPhonebookNumberDigits) + ",(128-255)," +
                   std::to_string(kPhonebookNameLength));
  return true;
}

// "+CPBW=1,\"0123456789\",129,\"Testnumber\"" stores the entry at position 1, over what was
// there; without a position ("+CPBW=,\"0123\"...") at the first free one. "+CPBW=1" or an
// empty number clears position 1. Without a type, a number with "+" is international
// (145), any other national (129). The name keeps its case.
bool ModemEngine::atCpbw(const AtCommand& c, Answer& a) {
  const std::vector<std::string> p = parameters(c.rawArgs());
  if (p.empty() || p.size() > 4) return false;
  const bool clears = p.size() == 1 || p[1].empty() || p[1] == "\"\"";
  if (!clears && (!isQuoted(p[1]) || (p.size() == 4 && !p[3].empty() && !isQuoted(p[3])))) {
    return false;
  }
  PhonebookEntry entry;
  const bool firstFree = p[0].empty();
  if (firstFree && clears) return false;  // nothing to clear
  if (!firstFree) {
    const std::optional<int> index = position(p[0]);
    if (!index) return false;
    entry.index = *index;
  }
  if (!clears) {
    entry.number = unquoted(p[1]);
    entry.type = startsWith(entry.number, "+") ? 145 : 129;
    if (p.size() >= 3 && !p[2].empty()) {
      const std::optional<int> type = numberIn(p[2], 0, 999);
      if (!type) return false;
      entry.type = *type;
    }
    if (p.size() == 4) entry.name = unquoted(p[3]);
  }
  if (!simReady(a)) return false;
  if (firstFree) {
    const std::optional<int> free = m_phonebook.firstFree();
    if (!free) return refuse(a, kMemoryFull);
    entry.index = *free;
  }
  if (entry.index < 1 || entry.index > m_phonebook.size()) return refuse(a, kInvalidIndex);
  if (clears) return m_phonebook.erase(entry.index);
  if (const std::optional<int> error = phonebookEntryError(entry)) return refuse(a, *error);
  return m_phonebook.put(std::move(entry));
}

// ">5" of "ATD>5;": the number at position 5. Outside the book "+CME ERROR: 21"; an empty
// position "+CME ERROR: 22" (not found), so no call starts that could reach nobody.
std::optional<std::string> ModemEngine::phonebookNumber(std::string_view memory, Answer& a) const {
  const std::optional<int> index = position(memory);
  if (!index) return std::nullopt;
  if (!simReady(a)) return std::nullopt;
  if (*index < 1 || *index > m_phonebook.size()) {
    a.final = cmeError(kInvalidIndex);
    return std::nullopt;
  }
  const PhonebookEntry* entry = m_phonebook.at(*index);
  if (entry == nullptr) {
    a.final = cmeError(kNotFound);
    return std::nullopt;
  }
  return entry->number;
}

}  // namespace d7o::sim
