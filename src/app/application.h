#pragma once

#include "app/context.h"

#include <filesystem>
#include <memory>
#include <string>

namespace d7o::link {
class SerialLink;
class HsTimer;
class BaudSearch;
class InitTimers;
class ModuleInit;
}  // namespace d7o::link
namespace d7o::console {
class Terminal;
class VoiceCall;
class OptionsTab;
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
  link::SerialLink& link() { return *m_link; }
  link::BaudSearch& baudSearch() { return *m_baudSearch; }
  link::ModuleInit& moduleInit() { return *m_moduleInit; }
  dispatch::ModeStates& modeStates() { return *m_modeStates; }
  console::Terminal& terminal() { return *m_terminal; }
  console::VoiceCall& voiceCall() { return *m_voiceCall; }
  device::Staging& staging() { return *m_staging; }
  gps::Analyzer& gpsAnalyzer() { return *m_gpsAnalyzer; }
  dispatch::ReceiveHandler& receiver() { return *m_receiver; }

 private:
  // The main window's height at start: the classic 5460 twips.
  static constexpr int kStartHeight = 5460 / 15;

  void CenterForm(forms::Form& form);
  void createIni(const std::filesystem::path& folder);
  void applyCommandLine();
  void fillFields();
  // An item of TARVIK.INI by its index; empty where the file is shorter.
  std::string configItem(int index) const;

  std::unique_ptr<Context> m_ctx;
  std::string m_classicArgument;
  std::unique_ptr<link::SerialLink> m_link;
  std::unique_ptr<link::HsTimer> m_hsTimer;
  std::unique_ptr<link::BaudSearch> m_baudSearch;
  std::unique_ptr<link::InitTimers> m_initTimers;
  std::unique_ptr<link::ModuleInit> m_moduleInit;
  std::unique_ptr<dispatch::ModeStates> m_modeStates;
  std::unique_ptr<console::Terminal> m_terminal;
  std::unique_ptr<console::VoiceCall> m_voiceCall;
  std::unique_ptr<console::OptionsTab> m_optionsTab;
  std::unique_ptr<device::Staging> m_staging;
  std::unique_ptr<gps::Analyzer> m_gpsAnalyzer;
  bool m_activating = false;
  std::unique_ptr<dispatch::ReceiveHandler> m_receiver;
};

}  // namespace d7o::app
