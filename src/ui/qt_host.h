#pragma once

#include "platform/host.h"

#include <filesystem>

#include <QtGlobal>

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
  // Without a look at the time zone per call: a GPS stream stamps some 200 terminal rows a
  // second, and each local time asked of the C library reads the zone file's status.
  int localTimeOfDay() const override;
  // Closes every window and leaves the event loop. The core has stopped its timers and
  // closed the port before it asks.
  void endProgram(int exitCode) override;

  bool endRequested() const { return m_ending; }
  int exitCode() const { return m_exitCode; }

 private:
  // Local milliseconds since 1970: UTC plus the zone's offset, which is looked up anew in
  // each new second (a zone changes its offset on a whole second only).
  qint64 localMillis() const;

  std::filesystem::path m_programFolder;
  mutable qint64 m_offsetSecond = -1;  // the UTC second the offset was looked up in
  mutable qint64 m_offsetMs = 0;
  bool m_ending = false;
  int m_exitCode = 0;
};

}  // namespace d7o::ui
