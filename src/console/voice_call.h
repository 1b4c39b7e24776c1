#pragma once

#include "app/context.h"

#include <string>

namespace d7o::link {
class SerialLink;
}  // namespace d7o::link

namespace d7o::console {

// Voice calls and audio: dialling, answering and hanging up, the blinking "incoming
// Call", the speaker and microphone levels per modem engine, and the ringer melody.
class VoiceCall {
 public:
  VoiceCall(app::Context& ctx, link::SerialLink& link);

  void Command9_Click();   // dial
  void Command3_Click();   // "answer" / "hangup"
  void Command53_Click();  // "set values"
  void Command51_Click();  // ringer melody "set"

  // Reply rows.
  void voiceIndication();  // 27: "VOICE"
  void callEnded();        // 33: "NO CARRIER" or "CMGS:"
  void receiveGain();      // 35: "+VGR: "
  void transmitGain();     // 36: "+VGT: "
  void answerButtonOff();  // 38, 39: "NO CARRIER", "BUSY"
  void ring();             // 40: "RING"

  // "+VGR: 64  " -> " 64 " (from after the colon to one character before the reply's end).
  static std::string gainText(const std::string& reply);

 private:
  app::Context& m_ctx;
  link::SerialLink& m_link;
};

}  // namespace d7o::console
