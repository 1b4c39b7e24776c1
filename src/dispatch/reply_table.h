#pragma once

#include "app/reply_flow.h"

#include <functional>
#include <string_view>
#include <vector>

namespace d7o::app {
struct SharedState;
}
namespace d7o::link {
class BaudSearch;
class ModuleInit;
}  // namespace d7o::link
namespace d7o::console {
class VoiceCall;
}
namespace d7o::device {
class Staging;
}
namespace d7o::gps {
class Analyzer;
}
namespace d7o::sms {
class SmsTab;
class PhoneBook;
}  // namespace d7o::sms
namespace d7o::remote {
class RemoteAccess;
}

namespace d7o::dispatch {

class ModeStates;
using app::Flow;

// One ordered test on a complete reply. Rows run in table order; every row whose condition
// holds fires, and a later row sees what an earlier one changed (state, a cleared buffer).
// A condition only reads; what a row changes is in its action. A row whose action belongs
// to a capability not built yet has no action.
struct ReplyRow {
  int row;
  std::string_view test;  // the condition in words, for traces and failures
  std::function<bool()> condition;
  std::function<Flow()> action;
};

// Everything the rows reach: the shared state and the subsystems whose behaviour they call.
struct ReplyTargets {
  app::SharedState& state;
  link::BaudSearch& baudSearch;
  link::ModuleInit& moduleInit;
  ModeStates& modes;
  console::VoiceCall& voice;
  device::Staging& staging;
  gps::Analyzer& gps;
  sms::SmsTab& sms;
  sms::PhoneBook& phoneBook;
  remote::RemoteAccess& remote;
};

// The 42 rows in their order, bound to the program's behaviour.
std::vector<ReplyRow> makeReplyTable(const ReplyTargets& to);

}  // namespace d7o::dispatch
