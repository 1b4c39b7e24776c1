#pragma once

#include "app/context.h"

#include <filesystem>
#include <memory>
#include <string>

namespace d7o::link {
class SerialLink;
class BaudSearch;
class ModuleInit;
}  // namespace d7o::link
namespace d7o::console {
class Terminal;
class VoiceCall;
}  // namespace d7o::console
namespace d7o::device {
class Staging;
}
namespace d7o::gps {
class Analyzer;
}
namespace d7o::dispatch {
class ReceiveHandler;
class ModeStates;
}  // namespace d7o::dispatch

namespace d7o::app {

struct Subsystems;

// The headless program: the main window's model and every behaviour behind it. A front
// end shows `main()`, forwards the user's actions into its controls and calls the
// window's lifecycle here.
class Application {
 public:
  // `classicArgument` is the program's own command-line text ("1".."8", "?" or empty).
  Application(const Platform& platform, std::string classicArgument);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Form_Load. False when the program ended during start-up (first run, unusable port).
  bool load();
  // Form_Activate: the main window became active.
  void activate();
  // Form_Unload and "E&xit": close the port and end.
  void unload();

  Context& context() { return *m_ctx; }
  forms::MainWindow& main() { return m_ctx->main; }
  // Every subsystem of the program; the ones below are its short names.
  Subsystems& parts() { return *m_parts; }
  link::SerialLink& link();
  link::BaudSearch& baudSearch();
  link::ModuleInit& moduleInit();
  dispatch::ModeStates& modeStates();
  console::Terminal& terminal();
  console::VoiceCall& voiceCall();
  device::Staging& staging();
  gps::Analyzer& gpsAnalyzer();
  dispatch::ReceiveHandler& receiver();

 private:
  // The main window's height at start: the classic 5460 twips.
  static constexpr int kStartHeight = 5460 / 15;

  void createIni(const std::filesystem::path& folder);
  void applyCommandLine();
  void fillFields();
  // An item of TARVIK.INI by its index; empty where the file is shorter.
  std::string configItem(int index) const { return m_ctx->configItem(index); }

  std::unique_ptr<Context> m_ctx;
  std::string m_classicArgument;
  bool m_activating = false;
  std::unique_ptr<Subsystems> m_parts;
};

}  // namespace d7o::app
