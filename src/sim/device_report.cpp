// "&REQ CNF": the device reports its settings in the form the "&CNF" lines set them, so a
// reader can put the two side by side.
#include "sim/device_firmware.h"

#include <chrono>

namespace d7o::sim {

namespace {

std::string n(int v) {
  return std::to_string(v);
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// The clock runs on from the moment it was set.
std::string clockNow(const DeviceClock& c, Millis now) {
  using namespace std::chrono;
  const year_month_day date{year{c.year}, month{static_cast<unsigned>(c.month)},
                            day{static_cast<unsigned>(c.day)}};
  const sys_seconds set = sys_days{date} + hours{c.hour} + minutes{c.minute} + seconds{c.second};
  const sys_seconds at = set + duration_cast<seconds>(now - c.setAt);
  const sys_days today = floor<days>(at);
  const year_month_day d{today};
  const hh_mm_ss<seconds> t{at - today};
  return n(static_cast<int>(t.hours().count())) + "." + n(static_cast<int>(t.minutes().count())) +
         "." + n(static_cast<int>(t.seconds().count())) + "," +
         n(static_cast<int>(static_cast<unsigned>(d.day()))) + "." +
         n(static_cast<int>(static_cast<unsigned>(d.month()))) + "." +
         n(static_cast<int>(d.year()));
}

}  // namespace

std::vector<std::string> describeDevice(const DeviceState& state, Millis now) {
  std::vector<std::string> out;
  if (state.clock) out.push_back("$CNF TIME," + clockNow(*state.clock, now));
  out.push_back("$CNF MODE," + state.modeLetters + "," + n(state.startCounter));
  if (state.message) {
    const MessageTarget& m = *state.message;
    out.push_back("$CNF MSG," + std::string(1, m.kind) + m.number + "," +
                  (m.source.empty() ? "" : quoted(m.source)) + "," + n(m.interval));
  }
  std::string list;
  for (const std::string& s : state.gpsSentences) list += (list.empty() ? "" : ";") + s;
  out.push_back("$CNF GPS," + list + "," + n(state.gpsRate));
  out.push_back("$CNF IGN," + n(state.ignitionMinutes));
  for (std::size_t i = 0; i < state.keys.size(); ++i) {
    if (!state.keys[i]) continue;
    const AlarmKey& k = *state.keys[i];
    std::string line = "$CNF KEY," + n(static_cast<int>(i + 1)) + ",";
    if (k.kind != '\0') line += k.kind;
    line += k.number + "," + quoted(k.text) + "," + std::string(1, k.edge);
    if (k.position) line += 'P';
    out.push_back(line);
  }
  if (state.port) {
    out.push_back("$CNF PORT," + std::string(1, state.port->mode) + "," + n(state.port->time1) +
                  "," + n(state.port->time2));
  }
  return out;
}

}  // namespace d7o::sim
