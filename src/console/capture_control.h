#pragma once

#include "app/context.h"

#include <filesystem>
#include <optional>
#include <string>

namespace d7o::capture {
class RecordingPort;
class ReplayPort;
}  // namespace d7o::capture

namespace d7o::console {

// The "Capture" menu and the capture bar: recording the serial line into a file in the
// program folder, playing a file back (in a new run of the program on a replay port), and
// the replay's position, pause, speed and "to end".
class CaptureControl {
 public:
  explicit CaptureControl(app::Context& ctx);

  // The recorder around the program's port, and the replay beneath it when this run plays
  // `replayFile` back. Either may be missing (a run without a recorder has no menu).
  // Attached before the start-up, a replay logs into Log-replay.txt.
  void attach(capture::RecordingPort* recorder, capture::ReplayPort* replay,
              std::filesystem::path replayFile = {});
  // Starts a recording into `file` (relative: in the program folder); false after a message
  // that names the file.
  bool startRecording(const std::filesystem::path& file);

  void m_recordStart_Click();
  void m_recordStop_Click();
  void m_replay_Click();
  void m_replayEnd_Click();
  void ReplayPause_Click();
  void ReplaySpeed_Click();
  void ReplayToEnd_Click();
  void ReplayTimer_Tick();

  // "12:03.4 / 1:00:00.0"
  static std::string clockText(platform::Millis time);

 private:
  void showState();
  void recordingFailed(const std::string& why);
  std::filesystem::path inProgramFolder(const std::string& name) const;
  // The newest capture in the program folder, as the replay's suggestion.
  std::string newestCapture() const;

  app::Context& m_ctx;
  capture::RecordingPort* m_recorder = nullptr;
  capture::ReplayPort* m_replay = nullptr;
  std::filesystem::path m_replayFile;
  bool m_finishSaid = false;
};

}  // namespace d7o::console
