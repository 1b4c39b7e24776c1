#include "device/gps_panel.h"

#include "app/text.h"
#include "device/command_set.h"
#include "device/stepper.h"

#include <algorithm>

namespace d7o::device {

namespace {

constexpr int kLargestCounter = 255;
constexpr int kLongestInterval = 9999;
constexpr int kLongestIgnitionDelay = 60;

}  // namespace

GpsPanel::GpsPanel(app::Context& ctx) : m_ctx(ctx) {
  auto& w = m_ctx.main;
  w.Command19.Click.connect([this] { Command19_Click(); });

  auto setMode = [this] { SetMode(); };
  w.Option14.Click.connect(setMode);
  w.Option15.Click.connect(setMode);
  w.Check3.Click.connect(setMode);
  w.Check4.Click.connect(setMode);
  w.Command20.Click.connect([this] { Command20_Click(); });
  w.Spin2.Change.connect([this] { Command20_Click(); });

  auto messageKind = [this](forms::OptionButton& option, const char* letter) {
    option.Click.connect([this, letter] {
      m_ctx.main.Text29.setText(letter);
      Command21_Click();
    });
  };
  messageKind(w.Option16, "S");
  messageKind(w.Option17, "D");
  messageKind(w.Option18, "G");
  auto message = [this] { Command21_Click(); };
  w.Command21.Click.connect(message);
  w.Text15.Change.connect(message);
  w.Text16.Change.connect(message);
  w.Spin1.Change.connect(message);

  w.List5.Click.connect([this] { List5_Click(); });
  w.Command23.Click.connect([this] { Command23_Click(); });

  auto password = [this] { Command25_Click(); };
  w.Command25.Click.connect(password);
  w.Text11.Change.connect(password);
  w.Text30.Change.connect(password);

  w.Command45.Click.connect([this] { Command45_Click(); });
  // The tick writes its line; only a line that differs from the staged one re-enables the
  // send button.
  w.Check8.Click.connect([this] {
    auto& m = m_ctx.main;
    m.Text10.setText(m.Check8.checked() ? std::string(kIgnitionIgnored)
                                        : cnfIgn(m.Label49.caption()));
  });

  // Each stepper applies its step, then clamps; a click on a counter's label gives 0, a
  // double click its largest value (after the click's 0).
  auto steps = [](forms::CommandButton& button, forms::Label& value, int delta, int highest) {
    button.Click.connect([&value, delta, highest] {
      value.setCaption(steppedCaption(value.caption(), delta, 0, highest));
    });
  };
  steps(w.Command40, w.Spin2, 1, kLargestCounter);
  steps(w.Command41, w.Spin2, -1, kLargestCounter);
  steps(w.Command39, w.Spin1, 1, kLongestInterval);
  steps(w.Command38, w.Spin1, -1, kLongestInterval);
  auto quickValues = [](forms::Label& value, int highest) {
    value.Click.connect([&value] { value.setCaption("0"); });
    value.DblClick.connect([&value, highest] { value.setCaption(std::to_string(highest)); });
  };
  quickValues(w.Spin2, kLargestCounter);
  quickValues(w.Spin1, kLongestInterval);

  // The ignition delay's steppers write its line themselves, ignored ignition or not.
  auto ignitionStep = [this](forms::CommandButton& button, int delta) {
    button.Click.connect([this, delta] {
      auto& m = m_ctx.main;
      m.Label49.setCaption(steppedCaption(m.Label49.caption(), delta, 0, kLongestIgnitionDelay));
      m.Text10.setText(cnfIgn(m.Label49.caption()));
    });
  };
  ignitionStep(w.Command44, 1);
  ignitionStep(w.Command43, -1);
}

void GpsPanel::fillSentenceList() {
  for (std::string_view sentence : kNmeaSentences) m_ctx.main.List5.addItem(std::string(sentence));
}

void GpsPanel::stage(std::string line) {
  m_ctx.main.Text10.setText(std::move(line));
  // Also the same line again may go out once more.
  m_ctx.main.Command22.setEnabled(true);
}

void GpsPanel::Command19_Click() {
  stage(cnfTime(m_ctx.host.localDateTime()));
}

void GpsPanel::SetMode() {
  const auto& w = m_ctx.main;
  m_ctx.state.device.modeLetters = modeLetters({.autoData = w.Option14.value(),
                                                .answerVoice = w.Check3.checked(),
                                                .counter = w.Check4.checked(),
                                                .autoGps = w.Option15.value()});
  Command20_Click();
}

void GpsPanel::Command20_Click() {
  // The counter's caption only ever holds what its steppers wrote.
  const int counter = static_cast<int>(std::clamp(app::numericValue(m_ctx.main.Spin2.caption()),
                                                  0.0, static_cast<double>(kLargestCounter)));
  stage(cnfMode(m_ctx.state.device.modeLetters, counter));
}

void GpsPanel::Command21_Click() {
  const auto& w = m_ctx.main;
  stage(cnfMsg(w.Text29.text(), w.Text15.text(), w.Text16.text(), w.Spin1.caption()));
}

void GpsPanel::List5_Click() {
  const auto chosen = m_ctx.main.List5.selectedItems();
  std::string list;
  for (const std::string& sentence : chosen) {
    if (!list.empty()) list += ';';
    list += sentence;
  }
  m_ctx.state.device.gpsSentenceList = list;
  Command23_Click();
}

void GpsPanel::Command23_Click() {
  stage(cnfGps(std::string_view(m_ctx.state.device.gpsSentenceList)));
}

void GpsPanel::Command25_Click() {
  const auto& w = m_ctx.main;
  stage(pass(w.Text30.text(), w.Text11.text()));
}

void GpsPanel::Command45_Click() {
  const auto& w = m_ctx.main;
  stage(w.Check8.checked() ? std::string(kIgnitionIgnored) : cnfIgn(w.Label49.caption()));
}

}  // namespace d7o::device
