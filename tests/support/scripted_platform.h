#pragma once

#include "platform/dialogs.h"
#include "platform/host.h"
#include "platform/scheduler.h"
#include "platform/shell.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace d7o::test {

// Dialogs answered from a script; every box shown is recorded.
class ScriptedDialogs : public platform::Dialogs {
 public:
  struct Shown {
    enum class Kind { Message, Input, Notice } kind;
    std::string text;  // message text or input prompt
    std::string title;
    platform::MessageIcon icon = platform::MessageIcon::None;
    std::string defaultText;
  };

  platform::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     platform::MessageIcon icon,
                                     platform::MessageButtons buttons) override;
  void notice(const std::string& text, const std::string& title,
              platform::MessageIcon icon) override;
  std::string inputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;

  // Answers for the next input boxes, in order; without one the box is cancelled ("").
  void answerInput(std::string answer) { m_inputAnswers.push_back(std::move(answer)); }
  // Answers for the next Yes/No boxes, in order; without one the answer is Yes.
  void answerMessage(platform::MessageAnswer answer) { m_messageAnswers.push_back(answer); }
  // Runs while a box is open (a modal box pumps events in the real program).
  std::function<void()> whileOpen;

  std::vector<Shown> shown;
  std::vector<std::string> messageTexts() const;

 private:
  std::deque<std::string> m_inputAnswers;
  std::deque<platform::MessageAnswer> m_messageAnswers;
};

class RecordingShell : public platform::Shell {
 public:
  bool openDocument(const std::string& path, const std::string& folder) override {
    opened.push_back(path + " in " + folder);
    return true;
  }
  bool openUrl(const std::string& url) override {
    opened.push_back(url);
    return true;
  }
  bool startProgram(const std::string& path) override {
    started.push_back(path);
    return true;
  }
  std::vector<std::string> opened;
  std::vector<std::string> started;
};

class TestHost : public platform::Host {
 public:
  // With a scheduler, the time of day runs on with its virtual time.
  explicit TestHost(std::filesystem::path folder, const platform::Scheduler* scheduler = nullptr)
      : m_folder(std::move(folder)), m_scheduler(scheduler) {}
  std::filesystem::path programFolder() const override { return m_folder; }
  platform::ScreenSize screenSize() const override { return {1280, 1024}; }
  platform::DateTime localDateTime() const override { return clock; }
  // The clock's time of day, moved on by the virtual time passed since the start, so a
  // stamp tells exactly when in the test a row came.
  int localTimeOfDay() const override;
  // The clock taken as UTC, moved on likewise.
  std::int64_t utcMillis() const override;
  void endProgram(int code) override {
    ++endRequests;
    exitCode = code;
  }

  platform::DateTime clock{2026, 12, 8, 9, 30, 0};
  int endRequests = 0;
  int exitCode = 0;

 private:
  std::filesystem::path m_folder;
  const platform::Scheduler* m_scheduler;
};

// A fresh, empty program folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& content);

}  // namespace d7o::test
