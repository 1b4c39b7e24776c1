#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace d7o::forms {

// A list of handlers called in connection order. Handlers may connect, disconnect or
// emit the same signal again while it runs (a Click handler that changes the value
// raises Click again): emission works on a snapshot, and a handler disconnected during
// an emission is not called afterwards.
template <typename... Args>
class Signal {
 public:
  using Handler = std::function<void(Args...)>;
  using Connection = std::uint64_t;

  Connection connect(Handler handler) {
    auto slot = std::make_shared<Slot>(Slot{++m_last, std::move(handler), true});
    m_slots.push_back(slot);
    return slot->id;
  }

  void disconnect(Connection id) {
    for (auto it = m_slots.begin(); it != m_slots.end(); ++it) {
      if ((*it)->id == id) {
        (*it)->alive = false;
        m_slots.erase(it);
        return;
      }
    }
  }

  void emit(Args... args) const {
    // Most signals have no handler or one (a control and its widget): no snapshot list
    // for them, as a GPS device changes some control with every sentence.
    if (m_slots.empty()) return;
    if (m_slots.size() == 1) {
      const std::shared_ptr<Slot> only = m_slots.front();
      if (only->alive) only->handler(args...);
      return;
    }
    const auto snapshot = m_slots;
    for (const auto& slot : snapshot) {
      if (slot->alive) slot->handler(args...);
    }
  }

  bool connected() const { return !m_slots.empty(); }

 private:
  struct Slot {
    Connection id;
    Handler handler;
    bool alive;
  };
  std::vector<std::shared_ptr<Slot>> m_slots;
  Connection m_last = 0;
};

}  // namespace d7o::forms
