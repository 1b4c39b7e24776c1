#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace d7o::platform {

struct DateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

struct ScreenSize {
  int width = 1024;
  int height = 768;
};

// What the program needs of the process it runs in.
class Host {
 public:
  virtual ~Host() = default;
  // All files of the program live here (TARVIK.INI, Log.txt, ...).
  virtual std::filesystem::path programFolder() const = 0;
  virtual ScreenSize screenSize() const = 0;
  // The PC's local date and time (the clock label, the device's clock setting).
  virtual DateTime localDateTime() const = 0;
  // The PC's local time of day in milliseconds since midnight (the terminal's time stamps).
  // A host whose clock tells seconds only gives whole seconds.
  virtual int localTimeOfDay() const {
    const DateTime t = localDateTime();
    return ((t.hour * 60 + t.minute) * 60 + t.second) * 1000;
  }
  // Milliseconds since 1970 (UTC): when a reading of the signal trend was taken.
  virtual std::int64_t utcMillis() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  }
  // Asks the process to end with `exitCode` (0: a normal end, 1: it could not work, such
  // as a configuration it cannot start with); the caller returns normally and no further
  // events run.
  virtual void endProgram(int exitCode) = 0;
};

}  // namespace d7o::platform
