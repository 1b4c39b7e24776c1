#include "app/application.h"

#include "app/command_line.h"
#include "app/path_text.h"
#include "app/subsystems.h"
#include "app/tarvik_ini.h"
#include "app/text.h"

#include <cmath>
#include <initializer_list>

namespace d7o::app {

using platform::MessageButtons;
using platform::MessageIcon;

namespace {
// The prompt names the maker's trade mark; the 8-bit code page writes it as one byte.
constexpr const char* kPortPrompt = "Enter port number for Tarvik\xAE module (1..16)";
}  // namespace

Application::Application(const Platform& platform, std::string classicArgument)
    : m_ctx(std::make_unique<Context>(platform)), m_classicArgument(std::move(classicArgument)) {
  m_parts = std::make_unique<Subsystems>(*m_ctx, [this] { activate(); });

  auto& w = m_ctx->main;
  w.attachTimers(&m_ctx->scheduler);
  m_ctx->gpsForm.attachTimers(&m_ctx->scheduler);
  w.Check1.Click.connect([this] { m_ctx->state.log.logEnabled = m_ctx->main.Check1.checked(); });
  w.m_exit.Click.connect([this] { unload(); });
}

Application::~Application() {
  // Timers hold the scheduler; stop them before the windows go.
  m_ctx->main.attachTimers(nullptr);
  m_ctx->gpsForm.attachTimers(nullptr);
  m_ctx->port.setReceiveHandler(nullptr);
}

link::SerialLink& Application::link() {
  return m_parts->link;
}
link::BaudSearch& Application::baudSearch() {
  return m_parts->baudSearch;
}
link::ModuleInit& Application::moduleInit() {
  return m_parts->moduleInit;
}
dispatch::ModeStates& Application::modeStates() {
  return m_parts->modeStates;
}
console::Terminal& Application::terminal() {
  return m_parts->terminal;
}
console::VoiceCall& Application::voiceCall() {
  return m_parts->voiceCall;
}
device::Staging& Application::staging() {
  return m_parts->staging;
}
gps::Analyzer& Application::gpsAnalyzer() {
  return m_parts->gpsAnalyzer;
}
dispatch::ReceiveHandler& Application::receiver() {
  return m_parts->receiver;
}

bool Application::load() {
  Context& c = *m_ctx;
  SharedState& s = c.state;
  auto& w = c.main;

  c.CenterForm(w);
  s.dispatch.dataLinkState = "OFF";
  const std::filesystem::path folder = c.host.programFolder();
  // A replay logs beside the live session's log, which it must not wipe out: the session
  // just recorded is often the one replayed next, in the same folder.
  const std::filesystem::path logFile = folder / (c.replaying ? "Log-replay.txt" : "Log.txt");
  s.log.logFilePath = pathText(logFile);
  c.log.start(logFile);

  const std::filesystem::path iniPath = folder / kIniFileName;
  if (!std::filesystem::exists(iniPath)) {
    createIni(folder);
    return false;
  }

  std::string readError;
  std::vector<int> lines;
  const auto items = readIniItems(iniPath, &readError, &lines);
  if (!items) {
    c.showError(pathText(iniPath) + " can't be read: " + readError);
    c.endProgram(1);
    return false;
  }
  // A configuration the program cannot start with is named with its folder and line, and
  // the program ends with an exit code that says so.
  const bool portFromCommandLine =
      classifyClassicArgument(m_classicArgument) == ClassicArgument::Port;
  if (const auto fault = iniFault(*items, lines, portFromCommandLine)) {
    c.showError(std::string(kIniFileName) + " in " + pathText(folder) + *fault);
    c.endProgram(1);
    return false;
  }
  for (const std::string& item : *items) {
    const std::string upper = upperCase(item);
    ++s.log.iniLineCount;
    if (s.log.iniLineCount > ini_index::kFirstCommand) w.List1.addItem(upper);
    w.List2.addItem(upper);
    if (contains(upper, "ICHIP")) s.link.iChipPresent = true;
  }

  w.setCaption(forms::kInitialisingTitle);
  applyCommandLine();
  w.Text1.setText("COM" + configItem(ini_index::kPort) + ":");
  fillFields();
  w.Tab1.setTab(forms::tabs::kTerminal);
  m_parts->gpsPanel.fillSentenceList();
  w.resize(w.width(), kStartHeight);

  // The port is only configured here; the baud-rate search opens it.
  const int port = portNumberOf(configItem(ini_index::kPort));
  if (auto error = c.port.setCommPort(port)) {
    if (c.port.isOpen()) c.port.close();
    c.dialogs.messageBox(link::SerialLink::errorText(*error), "", MessageIcon::None,
                         MessageButtons::Ok);
    c.endProgram(1);
    return false;
  }
  w.HS_Timer.setEnabled(true);
  w.setVisible(true);
  return true;
}

void Application::createIni(const std::filesystem::path& folder) {
  Context& c = *m_ctx;
  const std::string answer = c.dialogs.inputBox(kPortPrompt, "Parameters for INI-File", "1");
  if (auto error = writeDefaultIni(folder, portFromAnswer(answer))) {
    c.showError("TARVIK.INI can't be created: " + *error);
  } else {
    c.dialogs.messageBox(
        "TARVIK.INI new created, please check\nall parameters and restart the program !!!",
        "TARVIK.INI", MessageIcon::Critical, MessageButtons::Ok);
  }
  c.endProgram();
}

void Application::applyCommandLine() {
  Context& c = *m_ctx;
  switch (classifyClassicArgument(m_classicArgument)) {
    case ClassicArgument::None:
      break;
    case ClassicArgument::Port:
      // This run only: the file keeps its port.
      if (c.main.List2.count() > ini_index::kPort) {
        c.main.List2.replaceItem(ini_index::kPort, m_classicArgument);
      }
      break;
    case ClassicArgument::Help:
      c.dialogs.messageBox(commandLineHelpText(), "Command line parameters", MessageIcon::Question,
                           MessageButtons::Ok);
      break;
  }
}

// The fields that start with a value of the configuration.
void Application::fillFields() {
  auto& w = m_ctx->main;
  w.Text4.setText(configItem(ini_index::kInitString));
  w.Text5.setText(configItem(ini_index::kSmsNumber));
  w.Text7.setText(configItem(ini_index::kServiceCentre));
  w.Text14.setText(configItem(ini_index::kServiceCentre));
  w.Text8.setText(configItem(ini_index::kVoiceNumber));
  // The alarm inputs and the device's messages go to the SMS number until the user names
  // another.
  for (forms::TextBox* dest : {&w.Text13, &w.Text19, &w.Text22, &w.Text15}) {
    dest->setText(configItem(ini_index::kSmsNumber));
  }
}

void Application::activate() {
  // The search pumps events for up to half a minute; an activation meanwhile (a window
  // closing over the main window) must not start a second one.
  if (m_ctx->ended || m_activating || m_ctx->state.link.baudRateKnown) return;
  m_activating = true;
  m_parts->baudSearch.FoundBaudRate();
  m_activating = false;
}

void Application::unload() {
  if (m_ctx->ended) return;
  m_ctx->endProgram();
}

}  // namespace d7o::app
