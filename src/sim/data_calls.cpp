// Data calls: "ATD<number>" without ";" dials the R7O-3 device at the far end. Connected,
// the modem is in online data mode and the line is the connection's; "+++" with its guard
// times returns to command mode, "ATO" goes back online, "ATH" or the far end ends it.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace d7o::sim {

namespace {

// The rate of the connection, whatever the rate between the program and the modem.
constexpr int kLinkBaud = 9600;
constexpr std::string_view kConnect = "CONNECT 9600";
// What the modem holds of the remote device's output while the program is in command
// mode; more than that is lost, as from a modem without flow control towards the far end.
constexpr std::size_t kHoldLimit = 8192;
// How often a call in progress looks whether the modem was switched off under it.
constexpr Millis kPowerCheck{100};

std::string withoutSeparators(std::string_view number) {
  std::string out;
  for (char c : number) {
    if (c != ' ' && c != '-' && c != '(' && c != ')' && c != '.') {
      out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
  }
  return out;
}

const char* resultOf(DataDialOutcome outcome) {
  switch (outcome) {
    case DataDialOutcome::Connect:
      return "CONNECT 9600";
    case DataDialOutcome::Busy:
      return "BUSY";
    case DataDialOutcome::NoDialtone:
      return "NO DIALTONE";
    case DataDialOutcome::NoAnswer:
      return "NO CARRIER";
  }
  return "NO CARRIER";
}

}  // namespace

void ModemEngine::setDataCall(DataCallState state) {
  m_dataCall = state;
  ++m_callSerial;
}

void ModemEngine::logCall(const std::string& message) {
  if (m_callLog) m_callLog(message);
}

DataDialOutcome ModemEngine::dataOutcomeFor() const {
  const auto& outcomes = m_config.dataDialOutcomes;
  if (const auto exact = outcomes.find(m_dataDialled); exact != outcomes.end()) {
    return exact->second;
  }
  const std::string dialled = withoutSeparators(m_dataDialled);
  const std::string called = withoutSeparators(m_dataCalled);
  for (const auto& [number, outcome] : outcomes) {
    const std::string n = withoutSeparators(number);
    if (n == dialled || n == called) return outcome;
  }
  return m_config.dataDialDefault;
}

// No answer at once: the result comes when the far end has answered, refused or the
// modem gave up waiting.
void ModemEngine::startDataCall(std::string dialled, std::string called) {
  m_dataDialled = std::move(dialled);
  m_dataCalled = std::move(called);
  setDataCall(DataCallState::Dialling);
  const DataDialOutcome outcome = dataOutcomeFor();
  Millis wait = m_config.dataConnectDelay;
  if (outcome == DataDialOutcome::Busy || outcome == DataDialOutcome::NoDialtone) {
    wait = m_config.dataRefusedDelay;
  } else if (outcome == DataDialOutcome::NoAnswer) {
    wait = m_config.dataNoAnswerTimeout;
  }
  logCall("data call to " + m_dataCalled + " dialled");
  superviseDataCall(m_callSerial);
  m_clock.after(m_config.answerDelay + wait, [this, call = m_callSerial, outcome] {
    // Hung up, or the modem restarted, meanwhile.
    if (call != m_callSerial || m_dataCall != DataCallState::Dialling) return;
    if (!m_config.powered || m_restarting) return;
    if (outcome == DataDialOutcome::Connect) {
      connectDataCall();
      return;
    }
    setDataCall(DataCallState::Idle);
    emitInOrder(resultLine(resultOf(outcome)), Millis(0));
    logCall("data call to " + m_dataCalled + ": " + resultOf(outcome));
  });
}

void ModemEngine::connectDataCall() {
  setDataCall(DataCallState::Connected);
  ++m_linkSession;
  m_carrier = true;
  m_online = true;
  m_pluses = 0;
  m_heldFromRemote.clear();
  const Millis out = emitInOrder(resultLine(kConnect), Millis(0));
  // Nothing from the far end overtakes "CONNECT", and the escape's guard time starts with it.
  m_linkUntil = m_clock.now() + out;
  m_lastDataAt = m_clock.now() + out;
  RemoteDeviceSettings settings;
  settings.firmware = m_config.remoteFirmware;
  settings.answerDelay = m_config.answerDelay;
  settings.gps = GpsStart{m_config.remoteLatitude, m_config.remoteLongitude, m_config.remoteGpsSeed,
                          m_config.gpsStartUtc, Millis(0)};
  m_remote.connect(
      settings, [this](std::string bytes) { sendOverLink(std::move(bytes)); },
      [this, call = m_callSerial] {
        if (call == m_callSerial) remoteHangUp();
      });
  logCall("data call to " + m_dataCalled + " connected (" + std::string(kConnect) + ")");
  superviseDataCall(m_callSerial);
}

// Switched off, the modem loses the call, and switched on again it has none.
void ModemEngine::superviseDataCall(unsigned call) {
  m_clock.after(kPowerCheck, [this, call] {
    if (call != m_callSerial || m_dataCall == DataCallState::Idle) return;
    if (!m_config.powered) {
      endDataCall("the modem is off", false);
      return;
    }
    superviseDataCall(call);
  });
}

void ModemEngine::endDataCall(std::string_view why, bool noCarrier) {
  if (m_dataCall == DataCallState::Idle) return;
  const bool wasConnected = m_dataCall == DataCallState::Connected;
  setDataCall(DataCallState::Idle);
  m_carrier = false;
  m_online = false;
  m_goingOnline = false;
  m_pluses = 0;
  m_heldFromRemote.clear();
  m_remote.disconnect();
  // The far end hanging up: what it sent before still arrives, then "NO CARRIER". The
  // modem dropping the call itself loses what was still on its way.
  if (!noCarrier) ++m_linkSession;
  if (m_config.powered && !m_restarting) {
    if (noCarrier) {
      emitInOrder(resultLine("NO CARRIER"), std::max(Millis(0), m_linkUntil - m_clock.now()));
    }
    if (!m_smsEntry) flushHeldIndications();
  }
  logCall("data call to " + m_dataCalled + (wasConnected ? " ended: " : " cancelled: ") +
          std::string(why));
}

bool ModemEngine::remoteHangUp() {
  if (!dataCallUp()) return false;
  endDataCall("the far end hung up", true);
  return true;
}

// "O": back online to the call the program escaped from.
bool ModemEngine::atOnline(const AtCommand&, Answer& a) {
  if (m_dataCall != DataCallState::Connected) {
    a.final = "NO CARRIER";
    return false;
  }
  a.final = std::string(kConnect);
  m_goingOnline = true;
  return true;
}

void ModemEngine::resumeOnline(Millis connectOutAt) {
  if (m_dataCall != DataCallState::Connected) return;
  m_online = true;
  m_pluses = 0;
  m_line.clear();
  m_lastDataAt = connectOutAt;
  m_linkUntil = std::max(m_linkUntil, connectOutAt);
  if (!m_heldFromRemote.empty()) sendOverLink(std::exchange(m_heldFromRemote, {}));
}

void ModemEngine::sendOverLink(std::string bytes) {
  if (bytes.empty() || m_dataCall != DataCallState::Connected) return;
  const Millis now = m_clock.now();
  const int rate = std::min(kLinkBaud, m_config.baud);
  m_linkUntil = std::max(m_linkUntil, now) + lineTime(bytes.size(), rate);
  m_clock.after(
      m_linkUntil - now, [this, bytes = std::move(bytes), link = m_linkSession, epoch = m_epoch] {
        if (link != m_linkSession || epoch != m_epoch) return;
        if (!m_config.powered || m_restarting) return;
        if (m_dataCall == DataCallState::Connected && !m_online) {
          // The program is in command mode: the modem keeps it for "ATO".
          const std::size_t room = kHoldLimit - std::min(kHoldLimit, m_heldFromRemote.size());
          m_heldFromRemote.append(bytes, 0, std::min(room, bytes.size()));
          return;
        }
        if (m_output) m_output(bytes);
      });
}

// Bytes from the program in online data mode. A "+" that may begin the escape is held back
// until it is clear whether it does; all else goes to the remote device as it came.
void ModemEngine::onlineData(std::string_view bytes) {
  const Millis now = m_clock.now();
  std::string toRemote;
  const auto passHeldPluses = [this, &toRemote] {
    toRemote.append(static_cast<std::size_t>(std::exchange(m_pluses, 0)), '+');
  };
  // Noise on the line (bytes at the wrong rate) ends an escape begun, and the silence.
  if (bytes.empty()) passHeldPluses();
  for (char c : bytes) {
    const bool silenceBefore = now - m_lastDataAt >= m_config.escapeGuardTime;
    if (c == '+' && m_pluses > 0 && m_pluses < 3 && !silenceBefore) {
      ++m_pluses;
    } else if (c == '+' && silenceBefore) {
      // A "+" after a second of silence may begin the escape; a slow one before it is data.
      passHeldPluses();
      m_pluses = 1;
    } else {
      passHeldPluses();
      toRemote.push_back(c);
    }
    m_lastDataAt = now;
  }
  m_lastDataAt = now;
  const unsigned serial = ++m_dataBytes;
  if (m_pluses == 3) {
    m_clock.after(m_config.escapeGuardTime, [this, serial, call = m_callSerial] {
      if (call == m_callSerial) escapeCheck(serial);
    });
  }
  if (!toRemote.empty()) m_remote.receive(toRemote);
}

// A second after "+++": nothing else came, so it was the escape.
void ModemEngine::escapeCheck(unsigned serial) {
  if (serial != m_dataBytes || m_pluses != 3 || !onlineDataMode()) return;
  m_pluses = 0;
  m_online = false;
  m_line.clear();
  emitInOrder(resultLine("OK"), Millis(0));
  flushHeldIndications();
  logCall("data call to " + m_dataCalled + ": command mode (+++)");
}

}  // namespace d7o::sim
