#include "sim/modem_engine.h"

#include "sim/firmware_reply.h"
#include "sim/modem_text.h"
#include "sim/nmea_sentences.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace d7o::sim {

ModemEngine::ModemEngine(SimClock& clock, ModemConfig config)
    : m_clock(clock),
      m_config(config),
      m_gpsWasOff(!m_config.powered),
      m_receiver(clock.now()),
      m_remote(clock, clock.now()),
      m_phonebook(m_config.phonebookSize),
      m_smsStore(m_config.smsStoreSize),
      m_serviceCentre(m_config.serviceCentre),
      m_networkTimeBase(clock.now()),
      m_simBusyUntil(clock.now() + m_config.simBusyTime) {
  m_profile.dtrMode = m_config.dtrDropHangsUp ? 2 : 0;
  m_storedProfile = currentProfile();
  m_device.password = m_config.devicePassword;
  m_remote.state().password = m_config.remotePassword;
  resetSmsSettings();
  for (const StoredSms& sms : m_config.smsAtStart) {
    if (pduOfStored(sms, m_serviceCentre)) m_smsStore.add(sms);
  }
  for (const PhonebookEntry& entry : m_config.phonebookAtStart) {
    if (!phonebookEntryError(entry) && !m_phonebook.at(entry.index)) m_phonebook.put(entry);
  }
  if (m_config.nmeaFromPowerOn) startGpsStream(Millis(0));
}

std::string ModemEngine::garble(std::string_view bytes) {
  // A frame at the wrong rate reads as a different, mostly high-bit byte; CR and LF never
  // survive, so the receiver's line never ends.
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    unsigned char g = static_cast<unsigned char>(((c * 7u) ^ 0xA5u) | 0x80u);
    out.push_back(static_cast<char>(g));
  }
  return out;
}

void ModemEngine::receive(std::string_view bytes, int programBaud) {
  if (!m_config.powered) endDataCall("the modem is off", false);
  if (!m_config.powered || m_restarting) return;
  if (!understandsRate(programBaud)) {
    // Noise: whatever was half typed is lost too, and online it spoils a "+++".
    m_line.clear();
    if (m_online) onlineData({});
    return;
  }
  // Detecting the rate, the modem takes the program's.
  if (m_config.autoBaud && programBaud > 0) m_config.baud = programBaud;
  std::string entryOutput;
  // The rest of a line whose first character aborted a dial goes with it.
  bool discardLine = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    // Online the bytes are the connection's; "ATO" may have gone online mid-way.
    if (m_online) {
      onlineData(bytes.substr(i));
      break;
    }
    const char c = bytes[i];
    if (discardLine) {
      discardLine = c != '\r';
      continue;
    }
    if (m_dataCall == DataCallState::Dialling) {
      // Any character while a data call is dialled aborts it with "NO CARRIER" (V.250),
      // and is gone with the rest of its line; a line feed after the dial command's
      // carriage return is still that command's. A voice dial's "ATH" is a command.
      if (c != '\n') {
        endDataCall("aborted by a character from the program", true);
        discardLine = c != '\r';
      }
      continue;
    }
    if (m_smsEntry) {
      smsEntryByte(c, entryOutput);
    } else if (c == '\r') {
      std::string line = m_line;
      m_line.clear();
      handleLine(line);
    } else if (c == '\n') {
      // Line feeds after a carriage return are ignored, as a modem does.
    } else if (c == '\b' || c == 0x7F) {
      if (!m_line.empty()) m_line.pop_back();
    } else if (c == '\0') {
      // NUL bytes inside a command line are ignored, as many modules do (some clients
      // end their strings with one: "AT+CMGR=1\0").
    } else if (m_line.size() < 1024) {
      m_line.push_back(c);
    }
  }
  if (!entryOutput.empty()) emitInOrder(std::move(entryOutput), Millis(0));
}

void ModemEngine::handleLine(const std::string& typed) {
  std::string answer;
  bool restart = false;
  bool startStream = false;
  if (m_config.echo) answer += typed + "\r";
  std::string line = typed;
  std::string command = upper(line);
  // What comes before the "AT" prefix is no part of the command (V.250): an escape "+++"
  // that found the modem in command mode, then "ATH" after the pause, is "ATH".
  if (!startsWith(command, "AT") && !startsWith(command, "&")) {
    if (const auto at = command.find("AT"); at != std::string::npos) {
      line.erase(0, at);
      command.erase(0, at);
    }
  }
  if (startsWith(command, "AT")) {
    m_commandLog.push_back(line);
    m_answering = true;
    answer += answerAt(line);
    m_answering = false;
  } else if (startsWith(command, "&")) {
    m_commandLog.push_back(line);
    noticePower();
    const bool streaming = gpsStreaming();
    const FirmwareReply reply = replyToDeviceLine(m_device, line, m_config.firmware, m_clock.now(),
                                                  [this] { return gpsReading(); });
    answer += reply.text;
    restart = reply.restart;
    startStream = !streaming && gpsStreaming();
  } else if (!line.empty()) {
    m_commandLog.push_back(line);
  }
  if (answer.empty()) return;
  // One line after the other: a short answer never overtakes a long one still going out.
  const Millis queued = m_answersUntil - m_clock.now();
  const Millis out = emitLater(answer, std::max(m_config.answerDelay, queued));
  m_answersUntil = m_clock.now() + out;
  // Indications the line's commands gave rise to ("+CMTI" for a message the centre kept).
  if (!m_afterAnswer.empty()) emitInOrder(std::exchange(m_afterAnswer, {}), Millis(0));
  // "ATO": what the remote device sent meanwhile follows "CONNECT".
  if (std::exchange(m_goingOnline, false)) resumeOnline(m_clock.now() + out);
  // "AT+IPR=<rate>": the answer goes at the old rate, what follows at the new one.
  if (const auto rate = std::exchange(m_rateAfterAnswer, std::nullopt)) {
    m_clock.after(out, [this, rate = *rate] { takeRate(rate); });
  }
  // "&REQ INT": the sentences follow the confirmation.
  if (startStream) startGpsStream(out);
  // The device confirms "&RESET" first, then restarts.
  if (restart) {
    m_clock.after(out, [this, epoch = m_epoch] {
      if (epoch == m_epoch) beginRestart();
    });
  }
}

Millis ModemEngine::emitLater(std::string bytes, Millis delay) {
  const Millis when = delay + lineTime(bytes.size(), m_config.baud);
  m_clock.after(when, [this, bytes = std::move(bytes), epoch = m_epoch] {
    if (m_output && m_config.powered && !m_restarting && epoch == m_epoch) m_output(bytes);
  });
  m_outputQueuedUntil = std::max(m_outputQueuedUntil, m_clock.now() + when);
  return when;
}

Millis ModemEngine::emitInOrder(std::string bytes, Millis delay) {
  return emitLater(std::move(bytes), std::max(delay, m_outputQueuedUntil - m_clock.now()));
}

void ModemEngine::sendUnsolicited(std::string_view text) {
  if (m_output && m_config.powered && !m_restarting) m_output(text);
}

// The device starts afresh: it forgets what is not stored (a half line, the unlocked SIM,
// the registration, a call, echo set by ATE, AT+CLIP) and says nothing until it is up
// again; then it reads its SIM once more.
void ModemEngine::beginRestart() {
  if (m_restarting) return;
  ++m_restarts;
  ++m_epoch;
  m_restarting = true;
  m_line.clear();
  m_smsEntry.reset();
  m_heldIndications.clear();
  m_bufferedIndications.clear();
  resetSmsSettings();
  m_simUnlocked = false;
  m_simBusyUntil = m_clock.now() + m_config.restartTime + m_config.simBusyTime;
  m_clip = false;
  m_cregPolls = 0;
  m_cregReport = CregReport::Off;
  m_cgregReport = 0;
  m_crc = 1;
  m_reportedRegistration = -1;
  m_copsFormat = 0;
  m_functionality = 1;
  m_ussd = false;
  m_deregistered = false;
  applyProfile(m_storedProfile);
  endDataCall("the modem restarts", false);
  m_carrier = false;
  if (m_call != CallState::Idle) setCall(CallState::Idle);
  // The receiver restarts with the device, and "&REQ INT" must be given again.
  m_device.intervalRequested = false;
  m_receiver.startAcquiring(m_clock.now() + m_config.restartTime);
  m_clock.after(m_config.restartTime, [this, epoch = m_epoch] {
    if (epoch == m_epoch) m_restarting = false;
  });
}

void ModemEngine::setDtr(bool high) {
  if (m_dtr && !high) {
    ++m_dtrPulses;
    dtrDropped();
  }
  m_dtr = high;
}
void ModemEngine::setRts(bool high) {
  m_rts = high;
}
// What a DTR drop does to a data call, as AT&D says: &D2 hangs up, &D1 returns to command
// mode with the call up ("ATO" goes back), &D0 ignores it.
void ModemEngine::dtrDropped() {
  if (m_profile.dtrMode == 2) {
    endDataCall("DTR dropped", true);
  } else if (m_profile.dtrMode == 1 && onlineDataMode()) {
    m_online = false;
    m_pluses = 0;
    m_line.clear();
    emitInOrder(resultLine("OK"), Millis(0));
    flushHeldIndications();
    logCall("data call to " + m_dataCalled + ": command mode (DTR dropped)");
  }
}

// A BREAK held long enough restarts the device; a short one only spoils the line typed.
void ModemEngine::setBreak(bool on) {
  if (on) {
    if (!m_breakSince) m_breakSince = m_clock.now();
    m_line.clear();
    return;
  }
  if (!m_breakSince) return;
  const Millis held = m_clock.now() - *m_breakSince;
  m_breakSince.reset();
  if (held >= kLongBreak && m_config.powered) beginRestart();
}

}  // namespace d7o::sim
