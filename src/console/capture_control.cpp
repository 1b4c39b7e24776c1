#include "console/capture_control.h"

#include "app/path_text.h"
#include "capture/capture_file.h"
#include "capture/recording_port.h"
#include "capture/replay_port.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace d7o::console {

namespace {

namespace fs = std::filesystem;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

// The speeds of ReplaySpeed's entries; 0 is "max".
constexpr std::array<double, 6> kSpeeds = {1, 2, 5, 10, 100, capture::ReplayPort::kMaxSpeed};

}  // namespace

CaptureControl::CaptureControl(app::Context& ctx) : m_ctx(ctx) {
  auto& w = m_ctx.main;
  w.m_recordStart.Click.connect([this] { m_recordStart_Click(); });
  w.m_recordStop.Click.connect([this] { m_recordStop_Click(); });
  w.m_replay.Click.connect([this] { m_replay_Click(); });
  w.m_replayEnd.Click.connect([this] { m_replayEnd_Click(); });
  w.ReplayPause.Click.connect([this] { ReplayPause_Click(); });
  w.ReplaySpeed.Click.connect([this] { ReplaySpeed_Click(); });
  w.ReplayToEnd.Click.connect([this] { ReplayToEnd_Click(); });
  w.ReplayTimer.Tick.connect([this] { ReplayTimer_Tick(); });
  showState();
}

void CaptureControl::attach(capture::RecordingPort* recorder, capture::ReplayPort* replay,
                            fs::path replayFile) {
  m_recorder = recorder;
  m_replay = replay;
  m_replayFile = std::move(replayFile);
  m_ctx.replaying = m_replay != nullptr;
  if (m_recorder != nullptr) {
    m_recorder->setFailureHandler([this](const std::string& why) { recordingFailed(why); });
  }
  if (m_replay != nullptr) {
    auto& w = m_ctx.main;
    for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
      if (kSpeeds[i] == m_replay->speed()) w.ReplaySpeed.choose(static_cast<int>(i));
    }
    const capture::Header& h = m_replay->header();
    std::string from = m_replay->isCapture()
                           ? ", recorded " + h.startUtc + " on " + h.port + " by " + h.program
                           : " (a plain log at " + h.settings + ")";
    m_ctx.notice("...replay of " + app::pathText(m_replayFile.filename()) + from +
                 ": what the program sends goes nowhere");
    m_replay->setProgressHandler([this] { showState(); });
    w.ReplayTimer.setEnabled(true);
  }
  showState();
}

std::string CaptureControl::clockText(platform::Millis time) {
  const long long tenths = time.count() / 100;
  const long long seconds = tenths / 10;
  char text[40];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60, tenths % 10);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", seconds / 60, seconds % 60, tenths % 10);
  }
  return text;
}

void CaptureControl::showState() {
  auto& w = m_ctx.main;
  const bool recording = m_recorder != nullptr && m_recorder->recording();
  w.m_capture.setVisible(m_recorder != nullptr);
  for (forms::Menu* m : {&w.m_recordStart, &w.m_recordStop, &w.m_replay}) {
    m->setVisible(m_recorder != nullptr);
  }
  w.m_recordStart.setEnabled(!recording);
  w.m_recordStop.setEnabled(recording);
  w.m_replayEnd.setVisible(m_replay != nullptr);

  std::string state;
  std::string tip;
  if (m_replay != nullptr) {
    state = "replay " + app::pathText(m_replayFile.filename());
    tip = app::pathText(m_replayFile);
  }
  if (recording) {
    if (!state.empty()) state += ", ";
    state += "recording " + app::pathText(m_recorder->file().filename());
    tip += (tip.empty() ? "" : "\n") + ("recording to " + app::pathText(m_recorder->file()));
  }
  w.CaptureState.setCaption(state);
  w.CaptureState.setToolTip(tip);
  w.CaptureState.setForeColor(recording ? forms::colors::kRed : forms::colors::kBlack);
  w.CaptureState.setVisible(!state.empty());

  const bool replay = m_replay != nullptr;
  for (forms::Control* c : std::initializer_list<forms::Control*>{&w.ReplayPosition, &w.ReplayPause,
                                                                  &w.ReplaySpeed, &w.ReplayToEnd}) {
    c->setVisible(replay);
  }
  if (!replay) return;
  const bool finished = m_replay->finished();
  std::string position = clockText(m_replay->position()) + " / " + clockText(m_replay->length());
  if (finished) {
    position += m_replay->error().empty() ? ", at its end" : ", stopped";
  } else if (m_replay->paused()) {
    position += ", paused";
  }
  w.ReplayPosition.setCaption(position);
  w.ReplayPause.setCaption(m_replay->paused() ? "go on" : "pause");
  w.ReplayPause.setEnabled(!finished);
  w.ReplayToEnd.setEnabled(!finished);
  if (finished && !m_finishSaid) {
    m_finishSaid = true;
    w.ReplayTimer.setEnabled(false);
    // The windows keep what the replay left in them.
    if (m_replay->error().empty()) {
      m_ctx.notice("...replay of " + app::pathText(m_replayFile.filename()) + " finished at " +
                   clockText(m_replay->position()));
    } else {
      m_ctx.notice("...replay stopped at byte " + std::to_string(m_replay->errorOffset()) + " of " +
                   app::pathText(m_replayFile.filename()) + ": " + m_replay->error());
    }
  }
}

fs::path CaptureControl::inProgramFolder(const std::string& name) const {
  const fs::path path = app::pathFromText(name);
  return path.is_absolute() ? path : m_ctx.host.programFolder() / path;
}

bool CaptureControl::startRecording(const fs::path& file) {
  if (m_recorder == nullptr) return false;
  const fs::path path = file.is_absolute() ? file : m_ctx.host.programFolder() / file;
  if (auto error = m_recorder->start(path, std::string("rezedev7 ") + D7O_VERSION)) {
    m_ctx.showError("Recording not started: " + *error);
    showState();
    return false;
  }
  m_ctx.notice("...recording the serial line to " + app::pathText(path));
  showState();
  return true;
}

void CaptureControl::m_recordStart_Click() {
  if (m_recorder == nullptr || m_recorder->recording()) return;
  const std::string name = m_ctx.dialogs.inputBox(
      "Record the serial line into this file (in the program folder):", "start recording",
      capture::suggestedFileName(m_ctx.host.localDateTime()));
  if (name.empty()) return;
  const fs::path path = inProgramFolder(name);
  std::error_code ec;
  if (fs::exists(path, ec) &&
      m_ctx.dialogs.messageBox(app::pathText(path) + " exists. Replace it?", "start recording",
                               MessageIcon::Question,
                               MessageButtons::YesNo) != MessageAnswer::Yes) {
    return;
  }
  startRecording(path);
}

void CaptureControl::m_recordStop_Click() {
  if (m_recorder == nullptr || !m_recorder->recording()) return;
  const fs::path file = m_recorder->file();
  m_recorder->stop();
  m_ctx.notice("...recording ended: " + app::pathText(file));
  showState();
}

void CaptureControl::recordingFailed(const std::string& why) {
  // Said without a box: the session on the line goes on, only its recording ended.
  m_ctx.notice("...recording stopped: " + why);
  showState();
}

std::string CaptureControl::newestCapture() const {
  std::error_code ec;
  std::string newest;
  fs::file_time_type newestTime{};
  for (const auto& entry : fs::directory_iterator(m_ctx.host.programFolder(), ec)) {
    if (entry.path().extension() != capture::kFileExtension) continue;
    const auto time = entry.last_write_time(ec);
    if (!ec && (newest.empty() || time > newestTime)) {
      newest = app::pathText(entry.path().filename());
      newestTime = time;
    }
  }
  return newest;
}

void CaptureControl::m_replay_Click() {
  const std::string name = m_ctx.dialogs.inputBox(
      "Play back this capture or log (in the program folder); the program starts again on it:",
      "replay", newestCapture());
  if (name.empty()) return;
  const fs::path path = inProgramFolder(name);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    m_ctx.showError("Replay not started: cannot read " + app::pathText(path));
    return;
  }
  capture::Reader reader(in);
  // The header and the first record, so a file that is no capture is told now.
  reader.next();
  if (!reader.error().empty()) {
    m_ctx.showError("Replay not started: " + app::pathText(path) + ", byte " +
                    std::to_string(reader.errorOffset()) + ": " + reader.error());
    return;
  }
  m_ctx.restartArguments = std::vector<std::string>{"--replay", path.string()};
  m_ctx.endProgram();
}

void CaptureControl::m_replayEnd_Click() {
  if (m_replay == nullptr) return;
  m_ctx.restartArguments = std::vector<std::string>{};
  m_ctx.endProgram();
}

void CaptureControl::ReplayPause_Click() {
  if (m_replay == nullptr) return;
  m_replay->setPaused(!m_replay->paused());
  showState();
}

void CaptureControl::ReplaySpeed_Click() {
  const int index = m_ctx.main.ReplaySpeed.listIndex();
  if (m_replay == nullptr || index < 0 || index >= static_cast<int>(kSpeeds.size())) return;
  m_replay->setSpeed(kSpeeds[static_cast<std::size_t>(index)]);
  showState();
}

void CaptureControl::ReplayToEnd_Click() {
  if (m_replay == nullptr) return;
  m_replay->toEnd();
  showState();
}

void CaptureControl::ReplayTimer_Tick() {
  showState();
}

}  // namespace d7o::console
