#include "sim/sms_store.h"

#include <algorithm>
#include <array>

namespace d7o::sim {

namespace {

constexpr std::array<std::string_view, 4> kStatusNames = {"REC UNREAD", "REC READ", "STO UNSENT",
                                                          "STO SENT"};

}  // namespace

std::string_view statusName(SmsStatus status) {
  return kStatusNames[static_cast<std::size_t>(status)];
}

std::optional<SmsStatus> statusNamed(std::string_view name) {
  for (std::size_t i = 0; i < kStatusNames.size(); ++i) {
    if (kStatusNames[i] == name) return static_cast<SmsStatus>(i);
  }
  return std::nullopt;
}

SmsStore::SmsStore(int size) : m_slots(static_cast<std::size_t>(std::max(size, 0))) {}

int SmsStore::used() const {
  return static_cast<int>(std::count_if(m_slots.begin(), m_slots.end(),
                                        [](const auto& slot) { return slot.has_value(); }));
}

const StoredSms* SmsStore::at(int index) const {
  if (index < 1 || index > size()) return nullptr;
  const auto& slot = m_slots[static_cast<std::size_t>(index - 1)];
  return slot ? &*slot : nullptr;
}

StoredSms* SmsStore::at(int index) {
  if (index < 1 || index > size()) return nullptr;
  auto& slot = m_slots[static_cast<std::size_t>(index - 1)];
  return slot ? &*slot : nullptr;
}

std::optional<int> SmsStore::add(StoredSms sms) {
  for (std::size_t i = 0; i < m_slots.size(); ++i) {
    if (!m_slots[i]) {
      m_slots[i] = std::move(sms);
      return static_cast<int>(i) + 1;
    }
  }
  return std::nullopt;
}

bool SmsStore::put(int index, StoredSms sms) {
  if (index < 1 || index > size()) return false;
  m_slots[static_cast<std::size_t>(index - 1)] = std::move(sms);
  return true;
}

bool SmsStore::erase(int index) {
  if (index < 1 || index > size()) return false;
  m_slots[static_cast<std::size_t>(index - 1)].reset();
  return true;
}

std::vector<int> SmsStore::occupied() const {
  std::vector<int> out;
  for (std::size_t i = 0; i < m_slots.size(); ++i) {
    if (m_slots[i]) out.push_back(static_cast<int>(i) + 1);
  }
  return out;
}

}  // namespace d7o::sim
