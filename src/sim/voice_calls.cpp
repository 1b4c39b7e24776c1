// Voice calls: dialling out with "ATD<number>;", incoming calls that ring until "ATA" (with
// the caller's number after AT+CLIP=1), "ATH" and the far end hanging up.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace d7o::sim {

namespace {

constexpr Millis kRingInterval{3000};
constexpr std::size_t kMaxDialString = 40;
// The network takes this call without a SIM, or with a locked one.
constexpr std::string_view kEmergencyNumber = "112";

// Digits and the dial characters of a keypad; blanks and the usual separators are ignored,
// as a modem does. ">5": position 5 of the phone book.
bool isDialString(const std::string& s) {
  if (startsWith(s, ">")) return numberIn(std::string_view(s).substr(1), 1, 9999).has_value();
  if (s.size() > kMaxDialString) return false;
  for (char c : s) {
    if (isDigit(c) || c == '+' || c == '*' || c == '#' || (c >= 'A' && c <= 'D')) continue;
    if (c == ' ' || c == '-' || c == '(' || c == ')' || c == '.') continue;
    return false;
  }
  return true;
}

// The dial modifiers of V.250 are taken and mean nothing here: T (tone) and P (pulse), ","
// (pause), W (wait for the dial tone), "!" (flash) and "@" (wait for silence). "DT0123;"
// dials "0123;". A ">" picks a phone-book position, and what follows it stays as it is.
std::string withoutDialModifiers(std::string_view dial) {
  if (startsWith(dial, "T") || startsWith(dial, "P")) dial.remove_prefix(1);
  if (startsWith(dial, ">")) return std::string(dial);
  std::string out;
  for (char c : dial) {
    if (c != 'T' && c != 'P' && c != ',' && c != 'W' && c != '!' && c != '@') out.push_back(c);
  }
  return out;
}

std::string resultOf(DialOutcome outcome) {
  switch (outcome) {
    case DialOutcome::Connected:
      return "OK";
    case DialOutcome::NoCarrier:
      return "NO CARRIER";
    case DialOutcome::Busy:
      return "BUSY";
    case DialOutcome::NoDialtone:
      return "NO DIALTONE";
  }
  return "NO CARRIER";
}

}  // namespace

void ModemEngine::setCall(CallState state) {
  m_call = state;
  ++m_callSerial;
}

// "D0123;", "D>5;": the whole rest of the line is the dial string; ";" at its end makes it
// a voice call, whose result follows the ring-out. Without it the call is a data call
// (data_calls.cpp). ">5" calls the number at position 5 of the SIM phone book; an empty
// position calls nobody. One call at a time: a dial while one is up is refused. Without a
// usable SIM there is no network but for the emergency number: the SIM's "+CME ERROR".
bool ModemEngine::atDial(const AtCommand& c, Answer& a) {
  const std::string dialString = withoutDialModifiers(c.args());
  const bool voice = !dialString.empty() && dialString.back() == ';';
  const std::string number(voice ? dialString.substr(0, dialString.size() - 1) : dialString);
  if (!voice && number.empty()) return false;
  if (!isDialString(number) || m_call != CallState::Idle || m_dataCall != DataCallState::Idle) {
    return false;
  }
  if (number != kEmergencyNumber && !simReady(a)) return false;
  std::string called = number;
  if (startsWith(number, ">")) {
    std::optional<std::string> stored = phonebookNumber(std::string_view(number).substr(1), a);
    if (!stored) return false;
    called = std::move(*stored);
  }
  a.final.clear();
  if (!voice) {
    startDataCall(number, std::move(called));
    return true;
  }
  m_dialled = number;
  m_called = std::move(called);
  setCall(CallState::Dialling);
  m_clock.after(m_config.answerDelay + m_config.ringOutDelay, [this, call = m_callSerial] {
    if (call != m_callSerial || m_call != CallState::Dialling) return;  // hung up meanwhile
    const DialOutcome outcome = m_config.dialOutcome;
    setCall(outcome == DialOutcome::Connected ? CallState::Active : CallState::Idle);
    emitLater(resultLine(resultOf(outcome)), Millis(0));
  });
  return true;
}

// "A": takes the ringing call.
bool ModemEngine::atAnswerCall(const AtCommand&, Answer& a) {
  if (m_call != CallState::Ringing) {
    a.final = "NO CARRIER";  // nothing to answer
    return false;
  }
  setCall(CallState::Active);
  return true;
}

// "H", "H0": ends a call in progress, a ring-out or a ringing call alike, a data call too.
bool ModemEngine::atHangUp(const AtCommand&, Answer&) {
  if (m_call != CallState::Idle) setCall(CallState::Idle);
  endDataCall("hung up (ATH)", false);
  return true;
}

// "+CLIP?" -> "+CLIP: 1,1": whether the caller's number follows each RING, and that the
// network offers it.
bool ModemEngine::atClipQuery(const AtCommand&, Answer& a) {
  a.info += framed(std::string("+CLIP: ") + (m_clip ? "1" : "0") + ",1");
  return true;
}

// "+CLIP=1": the caller's number after each RING; "+CLIP=0": none.
bool ModemEngine::atClipSet(const AtCommand& c, Answer&) {
  const std::optional<int> n = numberIn(c.args(), 0, 1);
  if (!n) return false;
  m_clip = *n == 1;
  return true;
}

bool ModemEngine::incomingCall(int rings, std::string_view caller) {
  // A call comes through the network, so only to a modem on it.
  if (rings <= 0 || !m_config.powered || m_restarting || m_call != CallState::Idle ||
      m_dataCall != DataCallState::Idle || simBlock() || !registered()) {
    return false;
  }
  m_caller = std::string(caller);
  m_ringsHeard = 0;
  setCall(CallState::Ringing);
  ring(m_callSerial, rings);
  return true;
}

// "RING", then "+CLIP: \"+491711234567\",145" (international) or "+CLIP: \"0301234\",129".
void ModemEngine::ring(unsigned call, int ringsLeft) {
  if (call != m_callSerial || m_call != CallState::Ringing) return;  // answered or ended
  std::string text = framed("+CRING: VOICE") + resultLine("RING");
  if (m_clip && !m_caller.empty()) {
    const char* type = startsWith(m_caller, "+") ? "145" : "129";
    text += framed("+CLIP: \"" + m_caller + "\"," + type);
  }
  emitLater(std::move(text), Millis(0));
  // "ATS0=n": the modem takes the call itself at the n-th ring.
  if (const int autoAnswer = m_profile.s[0]; autoAnswer > 0 && ++m_ringsHeard >= autoAnswer) {
    setCall(CallState::Active);
    return;
  }
  m_clock.after(kRingInterval, [this, call, ringsLeft] {
    if (ringsLeft > 1) {
      ring(call, ringsLeft - 1);
    } else if (call == m_callSerial && m_call == CallState::Ringing) {
      setCall(CallState::Idle);  // the caller gave up
      emitLater(resultLine("NO CARRIER"), Millis(0));
    }
  });
}

bool ModemEngine::farEndHangUp() {
  if (m_call != CallState::Active) return false;
  setCall(CallState::Idle);
  emitLater(resultLine("NO CARRIER"), Millis(0));
  return true;
}

}  // namespace d7o::sim
