#include "device/command_set.h"

namespace d7o::device {

namespace {
constexpr char kQuote = '"';

std::string quoted(std::string_view text) {
  std::string out(1, kQuote);
  out += text;
  out += kQuote;
  return out;
}
}  // namespace

std::string cnfTime(const platform::DateTime& t) {
  auto n = [](int v) { return std::to_string(v); };
  return "&CNF TIME," + n(t.hour) + "." + n(t.minute) + "." + n(t.second) + "," + n(t.day) + "." +
         n(t.month) + "." + n(t.year);
}

std::string modeLetters(const ModeLetters& m) {
  std::string out;
  if (m.autoData) out += 'D';
  if (m.answerVoice) out += 'V';
  if (m.counter) out += 'C';
  if (m.autoGps) out += 'G';
  return out;
}

std::string cnfMode(std::string_view letters, int startCounter) {
  return "&CNF MODE," + std::string(letters) + "," + std::to_string(startCounter);
}

std::string cnfMsg(std::string_view kind, std::string_view destination, std::string_view source,
                   std::string_view interval) {
  std::string line = "&CNF MSG," + std::string(kind) + std::string(destination) + ",";
  if (!source.empty()) line += quoted(source);
  line += ",";
  line += interval;
  return line;
}

std::string cnfGps(std::string_view sentenceList) {
  return "&CNF GPS," + std::string(sentenceList) + ",100";
}

std::string cnfGps(const std::vector<std::string>& sentences) {
  std::string list;
  for (const std::string& s : sentences) {
    if (!list.empty()) list += ';';
    list += s;
  }
  return cnfGps(std::string_view(list));
}

std::string cnfIgn(std::string_view minutes) {
  return "&CNF IGN," + std::string(minutes);
}

std::string pass(std::string_view newPassword, std::string_view oldPassword) {
  return "&PASS," + std::string(newPassword) + "," + std::string(oldPassword);
}

std::string cnfKey(int key, std::string_view kind, std::string_view destination,
                   std::string_view alarmText, std::string_view edge, bool appendPosition) {
  std::string line = "&CNF KEY," + std::to_string(key) + "," + std::string(kind) +
                     std::string(destination) + "," + quoted(alarmText) + "," + std::string(edge);
  if (appendPosition) line += 'P';
  return line;
}

std::string cnfPort(std::string_view mode, std::string_view time1, std::string_view time2) {
  return "&CNF PORT," + std::string(mode) + "," + std::string(time1) + "," + std::string(time2);
}

}  // namespace d7o::device
