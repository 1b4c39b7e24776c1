#include "device/alarm_panel.h"

#include "device/command_set.h"
#include "device/stepper.h"
#include "link/serial_link.h"

#include <initializer_list>

namespace d7o::device {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

namespace {

constexpr int kTimeStep = 10;
constexpr int kShortestTime = 10;
constexpr int kLongestTime = 99999;

// The letter of an alarm's kind; a text the device does not know gives none.
std::string kindLetter(const std::string& kind) {
  if (kind == "SMS") return "S";
  if (kind == "Data") return "D";
  if (kind == "Voice") return "V";
  if (kind == "GPS") return "G";
  return "";
}

// A position can only ride along an SMS or a data alarm: a call or a GPS report has no room
// for it, so the tick goes (its Click rebuilds the lines once more) and the box waits.
std::string applyKind(const forms::ComboBox& kind, forms::CheckBox& appendPosition) {
  const std::string letter = kindLetter(kind.text());
  if (letter == "S" || letter == "D") {
    appendPosition.setEnabled(true);
  } else if (letter == "V" || letter == "G") {
    appendPosition.setEnabled(false);
    appendPosition.setChecked(false);
  }
  return letter;
}

std::string edgeLetter(const forms::OptionButton& rising, const forms::OptionButton& falling,
                       const forms::OptionButton& each) {
  if (rising.value()) return "L";
  if (falling.value()) return "H";
  if (each.value()) return "E";
  return "";
}

std::string outputModeLetter(const std::string& mode) {
  if (mode == "ON") return "E";
  if (mode == "OFF") return "A";
  if (mode == "one Time Imp.") return "I";
  if (mode == "cycled switching") return "Z";
  return "";
}

}  // namespace

AlarmPanel::AlarmPanel(app::Context& ctx, link::SerialLink& link) : m_ctx(ctx), m_link(link) {
  auto& w = m_ctx.main;
  auto rebuild = [this] { CreateAlarmSettings(); };
  for (forms::CheckBox* c : {&w.Check2, &w.Check6, &w.Check7}) c->Click.connect(rebuild);
  for (forms::ComboBox* c : {&w.Combo2, &w.Combo3, &w.Combo4, &w.Combo5}) {
    c->Click.connect(rebuild);
  }
  for (forms::OptionButton* o : {&w.Option3, &w.Option4, &w.Option9, &w.Option5, &w.Option6,
                                 &w.Option8, &w.Option10, &w.Option11, &w.Option7}) {
    o->Click.connect(rebuild);
  }
  for (forms::TextBox* t : {&w.Text13, &w.Text17, &w.Text19, &w.Text20, &w.Text22, &w.Text23}) {
    t->Change.connect(rebuild);
  }
  for (forms::Label* l : {&w.Spin3, &w.Spin4}) l->Change.connect(rebuild);

  // What stands in a line field goes out, hand edits included.
  auto sends = [this](forms::CommandButton& button, forms::TextBox& line) {
    button.Click.connect([this, &line] { m_link.sendOrReport(line.text()); });
  };
  sends(w.Command24, w.Text24);
  sends(w.Command26, w.Text25);
  sends(w.Command27, w.Text26);
  sends(w.Command33, w.Text28);

  auto steps = [](forms::CommandButton& button, forms::Label& time, int delta) {
    button.Click.connect([&time, delta] { time.setCaption(steppedTime(time.caption(), delta)); });
  };
  steps(w.Command34, w.Spin3, kTimeStep);
  steps(w.Command35, w.Spin3, -kTimeStep);
  steps(w.Command36, w.Spin4, kTimeStep);
  steps(w.Command37, w.Spin4, -kTimeStep);

  w.Command28.Click.connect([this] { Command28_Click(); });
  w.Command32.Click.connect([this] { Command32_Click(); });
  w.Command52.Click.connect([this] { Command52_Click(); });
}

void AlarmPanel::CreateAlarmSettings() {
  auto& w = m_ctx.main;
  const std::string kind1 = applyKind(w.Combo2, w.Check2);
  const std::string kind2 = applyKind(w.Combo3, w.Check6);
  const std::string kind3 = applyKind(w.Combo4, w.Check7);
  const std::string mode = outputModeLetter(w.Combo5.text());
  const std::string edge1 = edgeLetter(w.Option3, w.Option4, w.Option9);
  const std::string edge2 = edgeLetter(w.Option5, w.Option6, w.Option8);
  const std::string edge3 = edgeLetter(w.Option10, w.Option11, w.Option7);
  w.Text24.setText(cnfKey(1, kind1, w.Text13.text(), w.Text17.text(), edge1, w.Check2.checked()));
  w.Text25.setText(cnfKey(2, kind2, w.Text19.text(), w.Text20.text(), edge2, w.Check6.checked()));
  w.Text26.setText(cnfKey(3, kind3, w.Text22.text(), w.Text23.text(), edge3, w.Check7.checked()));
  w.Text28.setText(cnfPort(mode, w.Spin3.caption(), w.Spin4.caption()));
}

std::string AlarmPanel::steppedTime(const std::string& caption, int delta) {
  return steppedCaption(caption, delta, kShortestTime, kLongestTime);
}

void AlarmPanel::Command28_Click() {
  const MessageAnswer answer =
      m_ctx.dialogs.messageBox("clear all unproceded commands", std::string(kClearFailures),
                               MessageIcon::Question, MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) m_link.sendOrReport(kClearFailures);
}

void AlarmPanel::Command32_Click() {
  m_link.sendOrReport(kRequestConfiguration);
}

void AlarmPanel::Command52_Click() {
  auto& w = m_ctx.main;
  const bool show = !w.Picture2.visible();
  w.Picture2.setVisible(show);
  w.Command52.setCaption(show ? "Sample OFF" : "Sample");
}

}  // namespace d7o::device
