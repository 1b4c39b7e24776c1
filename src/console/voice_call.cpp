#include "console/voice_call.h"

#include "app/text.h"
#include "link/serial_link.h"

#include <cmath>

namespace d7o::console {

using app::contains;

namespace {
constexpr const char* kAnswer = "answer";
constexpr const char* kHangUp = "hangup";
constexpr int kGainTickFrequency = 15;

// A slider's value in its label, as a whole number.
void showSliderValue(const forms::Slider& slider, forms::Label& label) {
  label.setCaption(std::to_string(slider.value()));
}
}  // namespace

VoiceCall::VoiceCall(app::Context& ctx, link::SerialLink& link) : m_ctx(ctx), m_link(link) {
  auto& w = m_ctx.main;
  w.Command9.Click.connect([this] { Command9_Click(); });
  w.Command3.Click.connect([this] { Command3_Click(); });
  w.Command53.Click.connect([this] { Command53_Click(); });
  w.Command51.Click.connect([this] { Command51_Click(); });
  w.Slider1.Change.connect([this] { showSliderValue(m_ctx.main.Slider1, m_ctx.main.Label5); });
  w.Slider2.Change.connect([this] { showSliderValue(m_ctx.main.Slider2, m_ctx.main.Label6); });
  w.Combo1.Click.connect(
      [this] { m_ctx.state.voice.melodyIndex = std::to_string(m_ctx.main.Combo1.listIndex()); });
  w.Option12.Click.connect([this] { m_ctx.state.voice.ringerOutput = "1"; });
  w.Option13.Click.connect([this] { m_ctx.state.voice.ringerOutput = "0"; });
}

void VoiceCall::Command9_Click() {
  auto& w = m_ctx.main;
  // The next reply shown enables INIT again.
  w.Command1.setEnabled(false);
  if (!m_link.openForUser()) return;
  // The semicolon makes it a voice call.
  m_link.sendOrReport("ATD" + w.Text8.text() + ";");
}

void VoiceCall::Command3_Click() {
  auto& w = m_ctx.main;
  if (w.Command3.caption() == kAnswer) {
    m_link.sendOrReport("ATA");
    w.Command3.setCaption(kHangUp);
    m_ctx.state.voice.ringPos = 0;
  } else {
    m_link.sendOrReport("ATH");
    w.Command3.setCaption(kAnswer);
    w.Command3.setVisible(false);
  }
}

void VoiceCall::Command53_Click() {
  auto& w = m_ctx.main;
  if (auto error = m_link.openPort()) {
    m_ctx.showError(link::SerialLink::errorText(*error));
  } else {
    const std::string& engine = m_ctx.state.link.manufacturer;
    if (engine == "Tarvik" || engine == "BRELLSTOWEN") {
      m_link.Delay(1);
      // Both gains set and stored in the module's profile in one line.
      m_link.sendOrReport("AT+VGR=" + w.Label5.caption() + ";+VGT=" + w.Label6.caption() + ";&W");
    } else if (engine == "SIEMENS") {
      // The SIEMENS engine takes its audio settings one line at a time.
      m_link.Delay(1);
      m_link.sendOrReport("AT^SNFO=1,3000,6000,9000,12000,30000,4,4969");
      m_link.Delay(1);
      m_link.sendOrReport("AT^SNFS=4");
      m_link.Delay(1);
      m_link.sendOrReport("AT+CLVL=" + w.Label5.caption());
      m_link.Delay(1);
      m_link.sendOrReport("AT^SNFI=" + w.Label6.caption() + ",32767");
      w.Slider1.setValue(app::wholeNumberOf(w.Label5.caption()));
    }
  }
  if (m_ctx.ended) return;
  w.Text3.setText(m_ctx.port.isOpen() ? "PORT open" : "Port close");
}

void VoiceCall::Command51_Click() {
  m_link.sendOrReport("AT+WCDM=" + m_ctx.state.voice.melodyIndex + "," +
                      m_ctx.state.voice.ringerOutput + ";&W");
}

void VoiceCall::voiceIndication() {
  m_ctx.main.Timer3.setEnabled(true);
}

void VoiceCall::callEnded() {
  auto& w = m_ctx.main;
  w.Command1.setEnabled(true);
  if (contains(m_ctx.state.dispatch.receiveBuffer, "NO CARRIER")) {
    w.Timer3.setEnabled(false);
    w.Label1.setVisible(false);
  }
}

std::string VoiceCall::gainText(const std::string& reply) {
  const auto colon = reply.find(": ");
  if (colon == std::string::npos || reply.size() < colon + 2) return "";
  return reply.substr(colon + 1, reply.size() - colon - 2);
}

void VoiceCall::receiveGain() {
  auto& w = m_ctx.main;
  m_ctx.state.voice.receiveGainText = gainText(m_ctx.state.dispatch.receiveBuffer);
  w.Slider1.setValue(app::wholeNumberOf(m_ctx.state.voice.receiveGainText));
  w.Slider1.setTickFrequency(kGainTickFrequency);
}

void VoiceCall::transmitGain() {
  auto& w = m_ctx.main;
  m_ctx.state.voice.transmitGainText = gainText(m_ctx.state.dispatch.receiveBuffer);
  w.Slider2.setValue(app::wholeNumberOf(m_ctx.state.voice.transmitGainText));
  w.Slider2.setTickFrequency(kGainTickFrequency);
}

void VoiceCall::answerButtonOff() {
  m_ctx.main.Command3.setVisible(false);
  m_ctx.main.Command3.setCaption(kAnswer);
}

void VoiceCall::ring() {
  auto& w = m_ctx.main;
  m_ctx.state.voice.ringPos = static_cast<int>(m_ctx.state.dispatch.receiveBuffer.find("RING")) + 1;
  w.Command3.setCaption(kAnswer);
  w.Command3.setVisible(true);
  w.Timer3.setEnabled(true);
}

}  // namespace d7o::console
