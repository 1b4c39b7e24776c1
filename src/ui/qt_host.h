#pragma once

#include "platform/host.h"

#include <filesystem>

namespace d7o::ui {

// The desktop process the program runs in.
class QtHost : public platform::Host {
 public:
  explicit QtHost(std::filesystem::path programFolder)
      : m_programFolder(std::move(programFolder)) {}

  std::filesystem::path programFolder() const override { return m_programFolder; }
  // The primary screen in pixels; the classic default when there is none.
  platform::ScreenSize screenSize() const override;
  platform::DateTime localDateTime() const override;
  int localTimeOfDay() const override;
  // Closes every window and leaves the event loop. The core has stopped its timers and
  // closed the port before it asks.
  void endProgram(int exitCode) override;

  bool endRequested() const { return m_ending; }
  int exitCode() const { return m_exitCode; }

 private:
  std::filesystem::path m_programFolder;
  bool m_ending = false;
  int m_exitCode = 0;
};

}  // namespace d7o::ui
