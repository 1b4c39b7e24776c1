#include "console/terminal.h"

#include "app/text.h"
#include "link/module_init.h"
#include "link/serial_link.h"

namespace d7o::console {

using app::contains;
using app::upperCase;

namespace {
constexpr const char* kPrompt = "Enter AT-Command: ";
constexpr const char* kTitle = "AT-Commands";

bool isPortSwitch(const std::string& command) {
  return contains(upperCase(command), "&PORT") && contains(command, ",");
}
}  // namespace

std::string commandInLine(const std::string& line) {
  auto at = upperCase(line).find("AT");
  if (at == std::string::npos) at = line.find('&');
  if (at == std::string::npos) return "";
  return line.substr(at);
}

Terminal::Terminal(app::Context& ctx, link::SerialLink& link, link::ModuleInit& init)
    : m_ctx(ctx), m_link(link), m_init(init), m_stamps(ctx) {
  auto& w = m_ctx.main;
  w.List1.DblClick.connect([this] { List1_DblClick(); });
  w.List3.DblClick.connect([this] { List3_DblClick(); });
  w.List3.MouseUp.connect([this](forms::MouseButton b) { List3_MouseUp(b); });
  w.List3.Click.connect([this] { initialisationHint(); });
  w.CommandLine.KeyUp.connect([this](int key) { CommandLine_KeyUp(key); });
  // Every row is stamped as it arrives, whether the stamps show or not: switched on later,
  // they show when the rows came, not when the box was ticked.
  w.List3.setStamper([this](const std::string& row) { return m_stamps.stampFor(row); });
  m_lineSent = m_link.lineSent.connect([this](std::string_view line) { m_stamps.lineSent(line); });
  w.CheckTimeStamps.Click.connect([this] { CheckTimeStamps_Click(); });
  CheckTimeStamps_Click();
}

Terminal::~Terminal() {
  m_ctx.main.List3.setStamper({});
  m_link.lineSent.disconnect(m_lineSent);
}

void Terminal::CheckTimeStamps_Click() {
  m_ctx.main.List3.setShowStamps(m_ctx.main.CheckTimeStamps.checked());
}

void Terminal::openRemote() {
  if (m_openRemote) m_openRemote();
}

void Terminal::initialisationHint() {
  auto& w = m_ctx.main;
  if (w.Label2.backColor() != forms::colors::kGreen && m_ctx.state.link.modemAnswered) {
    w.Text3.setText("...wait while initialising the module");
  }
}

void Terminal::resend(const std::string& command) {
  // The phone book's answers fill its list afresh, not after the last reading.
  if (contains(command, "+CPBR")) m_ctx.main.List4.clear();
  m_link.sendOrReport(command);
}

void Terminal::List1_DblClick() {
  auto& w = m_ctx.main;
  initialisationHint();
  const int selected = w.List1.listIndex();
  if (selected < 0) return;
  std::string command = w.List1.item(selected);
  if (command.empty()) command = m_ctx.dialogs.inputBox(kPrompt, kTitle, "AT");
  runCommand(command);
}

void Terminal::CommandLine_KeyUp(int key) {
  auto& line = m_ctx.main.CommandLine;
  if (key == forms::TextBox::kUpKey || key == forms::TextBox::kDownKey) {
    if (m_history.empty()) return;
    if (key == forms::TextBox::kUpKey && m_recalled > 0) --m_recalled;
    if (key == forms::TextBox::kDownKey && m_recalled < m_history.size()) ++m_recalled;
    // Down past the newest gives an empty line to type a new one.
    line.setText(m_recalled < m_history.size() ? m_history[m_recalled] : std::string());
    return;
  }
  if (key != forms::TextBox::kEnterKey) return;
  const std::string command = line.text();
  if (!command.empty() && (m_history.empty() || m_history.back() != command)) {
    m_history.push_back(command);
  }
  m_recalled = m_history.size();
  line.setText("");
  runCommand(command);
}

void Terminal::runCommand(const std::string& command) {
  const std::string upper = upperCase(command);
  if (upper == "&REMOTE") {
    openRemote();
  } else if (upper == "&ICHIP") {
    m_ctx.state.link.iChipPresent = true;
    m_init.Command1_Click();
  } else if (isPortSwitch(command)) {
    portSwitch(command);
  } else if (m_link.openForUser()) {
    m_link.sendOrReport(command);
  }
}

void Terminal::List3_DblClick() {
  auto& w = m_ctx.main;
  const int selected = w.List3.listIndex();
  if (selected < 0) return;
  const std::string& entry = w.List3.item(selected);
  if (entry.empty()) return;
  // The last blank stands for the reply's line end.
  std::string command = commandInLine(entry.substr(0, entry.size() - 1));
  if (command.empty()) return;
  if (command.size() >= 2 && command.compare(command.size() - 2, 2, "  ") == 0) {
    command.erase(command.size() - 2);
  }
  if (!command.empty() && command.back() == ' ') command.pop_back();
  resend(command);
  if (contains(command, "&REQ INT")) w.Command31.setVisible(true);
}

void Terminal::List3_MouseUp(forms::MouseButton button) {
  if (button != forms::MouseButton::Right) return;
  auto& w = m_ctx.main;
  const int selected = w.List3.listIndex();
  if (selected < 0) return;
  std::string answer = m_ctx.dialogs.inputBox(kPrompt, kTitle, w.List3.item(selected));
  if (upperCase(answer) == "&REMOTE") {
    openRemote();
    return;
  }
  if (isPortSwitch(answer)) {
    portSwitch(answer);
    return;
  }
  if (answer.empty()) return;
  if (answer.back() == ' ') answer.pop_back();
  const std::string command = commandInLine(answer);
  if (!command.empty()) resend(command);
}

void Terminal::portSwitch(const std::string& command) {
  const auto comma = command.find(',');
  const int number = app::wholeNumberOf(command.substr(comma + 1, 3));
  m_link.switchPort(number);
}

}  // namespace d7o::console
