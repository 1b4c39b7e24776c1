#include "support/scripted_platform.h"

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

namespace d7o::test {

platform::MessageAnswer ScriptedDialogs::messageBox(const std::string& text,
                                                    const std::string& title,
                                                    platform::MessageIcon icon,
                                                    platform::MessageButtons buttons) {
  shown.push_back({Shown::Kind::Message, text, title, icon, ""});
  if (whileOpen) whileOpen();
  if (buttons != platform::MessageButtons::YesNo) return platform::MessageAnswer::Ok;
  if (m_messageAnswers.empty()) return platform::MessageAnswer::Yes;
  const platform::MessageAnswer answer = m_messageAnswers.front();
  m_messageAnswers.pop_front();
  return answer;
}

void ScriptedDialogs::notice(const std::string& text, const std::string& title,
                             platform::MessageIcon icon) {
  // Nothing waits for it: no whileOpen.
  shown.push_back({Shown::Kind::Notice, text, title, icon, ""});
}

std::string ScriptedDialogs::inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
  shown.push_back({Shown::Kind::Input, prompt, title, platform::MessageIcon::None, defaultText});
  if (whileOpen) whileOpen();
  if (m_inputAnswers.empty()) return "";
  std::string answer = std::move(m_inputAnswers.front());
  m_inputAnswers.pop_front();
  return answer;
}

std::vector<std::string> ScriptedDialogs::messageTexts() const {
  std::vector<std::string> out;
  for (const Shown& s : shown) {
    if (s.kind == Shown::Kind::Message) out.push_back(s.text);
  }
  return out;
}

int TestHost::localTimeOfDay() const {
  constexpr long long kMillisPerDay = 24LL * 60 * 60 * 1000;
  long long ms = ((clock.hour * 60LL + clock.minute) * 60 + clock.second) * 1000;
  if (m_scheduler != nullptr) ms += m_scheduler->now().count();
  return static_cast<int>(ms % kMillisPerDay);
}

std::int64_t TestHost::utcMillis() const {
  using namespace std::chrono;
  const sys_days day = year_month_day{year(clock.year), month(unsigned(clock.month)),
                                      std::chrono::day(unsigned(clock.day))};
  const auto at = day + hours(clock.hour) + minutes(clock.minute) + seconds(clock.second);
  std::int64_t ms = duration_cast<milliseconds>(at.time_since_epoch()).count();
  if (m_scheduler != nullptr) ms += m_scheduler->now().count();
  return ms;
}

TempFolder::TempFolder() {
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  // A name beyond ASCII, as a user's folder often has (within the windows' code page, which
  // is what the program can show): every test on the program's files goes through it.
  do {
    m_path = base / std::filesystem::path(u8"d7o-test-Jürgen-");
    m_path += std::to_string(rd());
  } while (std::filesystem::exists(m_path));
  std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::filesystem::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace d7o::test
