// The SIM's message store through GSM 07.05: its size (AT+CPMS), listing, reading and
// deleting messages. Text mode names a message's status and shows its text in the
// program's character set; PDU mode numbers the status and gives the whole PDU.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"
#include "sms/pdu_codec.h"

#include <string>

namespace d7o::sim {

namespace {

constexpr int kAllMessages = 4;  // AT+CMGL's "ALL" and 4

bool isReceived(SmsStatus status) {
  return status == SmsStatus::RecUnread || status == SmsStatus::RecRead;
}

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// What AT+CMGD's delete flag 1..4 removes: read messages, then also sent, unsent, all.
bool deletedByFlag(SmsStatus status, int flag) {
  switch (status) {
    case SmsStatus::RecRead:
      return true;
    case SmsStatus::StoSent:
      return flag >= 2;
    case SmsStatus::StoUnsent:
      return flag >= 3;
    case SmsStatus::RecUnread:
      return flag >= 4;
  }
  return false;
}

}  // namespace

// The SIM must be there, read and unlocked: "+CMS ERROR: 310" (none), 311 (PIN), 313
// (failure), 314 (busy), 316 (PUK).
bool ModemEngine::smsSimReady(Answer& a) const {
  const std::optional<int> error = simCmsError();
  if (error) a.final = cmsError(false, *error);
  return !error;
}

// "+CMS ERROR: 321". Where a parameter was wrong, the code names the mode it was given in:
// 304 for PDU mode, 305 for text mode (`code` 0 picks the one of `pduMode`).
std::string ModemEngine::cmsError(bool pduMode, int code) const {
  if (code == 0) code = pduMode ? 304 : 305;
  return "+CMS ERROR: " + std::to_string(code);
}

// "+CPMS?" -> "+CPMS: \"SM\",3,20,\"SM\",3,20,\"SM\",3,20": the SIM serves reading,
// writing and receiving alike.
bool ModemEngine::atCpmsQuery(const AtCommand&, Answer& a) {
  if (!smsSimReady(a)) return false;
  const std::string part =
      "\"SM\"," + std::to_string(m_smsStore.used()) + "," + std::to_string(m_smsStore.size());
  a.info += framed("+CPMS: " + part + "," + part + "," + part);
  return true;
}

// "+CPMS=\"SM\",\"SM\",\"SM\"" -> "+CPMS: 3,20,3,20,3,20": only the SIM is offered.
bool ModemEngine::atCpmsSet(const AtCommand& c, Answer& a) {
  if (!smsSimReady(a)) return false;
  const std::vector<std::string> p = parameters(c.args());
  if (p.empty() || p.size() > 3) return false;
  for (const std::string& memory : p) {
    if (memory != "\"SM\"") {
      a.final = cmsError(false, 302);
      return false;
    }
  }
  const std::string part =
      std::to_string(m_smsStore.used()) + "," + std::to_string(m_smsStore.size());
  a.info += framed("+CPMS: " + part + "," + part + "," + part);
  return true;
}

// "+CMGL=?" -> "+CMGL: (0-4)" in PDU mode, the status names in text mode.
bool ModemEngine::atCmglRange(const AtCommand&, Answer& a) {
  a.info += framed(m_sms.textMode
                       ? "+CMGL: (\"REC UNREAD\",\"REC READ\",\"STO UNSENT\",\"STO SENT\",\"ALL\")"
                       : "+CMGL: (0-4)");
  return true;
}

// "+CMGL=\"ALL\"" (text mode), "+CMGL=4" (PDU mode): the messages of that status, lowest
// position first; without a status the unread ones. Listing reads them: unread ones become
// read, unless a second parameter 1 asks to leave them so.
bool ModemEngine::atCmgl(const AtCommand& c, Answer& a) {
  std::string_view args = c.args();
  if (!args.empty() && args.front() != '=') return false;
  if (!smsSimReady(a)) return false;
  if (!args.empty()) args.remove_prefix(1);
  const std::vector<std::string> p = parameters(args);
  int wanted = 0;
  int keepStatus = 0;
  bool valid = p.size() <= 2 && readParameter(p, 1, 0, 1, keepStatus);
  if (valid && !p.empty()) {
    if (m_sms.textMode) {
      const std::string name = unquoted(p[0]);
      const auto status = statusNamed(name);
      valid = isQuoted(p[0]) && (status || name == "ALL");
      wanted = status ? static_cast<int>(*status) : kAllMessages;
    } else {
      valid = readParameter(p, 0, 0, kAllMessages, wanted) && !p[0].empty();
    }
  }
  if (!valid) {
    a.final = cmsError(!m_sms.textMode, 0);
    return false;
  }
  for (int index : m_smsStore.occupied()) {
    StoredSms& sms = *m_smsStore.at(index);
    if (wanted != kAllMessages && static_cast<int>(sms.status) != wanted) continue;
    a.info += listedSms(index, sms);
    if (sms.status == SmsStatus::RecUnread && keepStatus == 0) sms.status = SmsStatus::RecRead;
  }
  return true;
}

// "+CMGR=3": the message at position 3; reading an unread one makes it read. An empty
// position answers only "OK", one outside the store "+CMS ERROR: 321".
bool ModemEngine::atCmgr(const AtCommand& c, Answer& a) {
  if (!smsSimReady(a)) return false;
  const auto index = numberIn(c.args(), 0, 999999);
  if (!index) return false;
  if (*index < 1 || *index > m_smsStore.size()) {
    a.final = cmsError(!m_sms.textMode, 321);
    return false;
  }
  StoredSms* sms = m_smsStore.at(*index);
  if (sms == nullptr) return true;
  a.info += readSms(*sms, "+CMGR");
  if (sms->status == SmsStatus::RecUnread) sms->status = SmsStatus::RecRead;
  return true;
}

// "+CMGD=?" -> "+CMGD: (1,3),(0-4)": the occupied positions and the delete flags.
bool ModemEngine::atCmgdRange(const AtCommand&, Answer& a) {
  std::string positions;
  for (int index : m_smsStore.occupied()) {
    positions += (positions.empty() ? "" : ",") + std::to_string(index);
  }
  a.info += framed("+CMGD: (" + positions + "),(0-4)");
  return true;
}

// "+CMGD=3": empties position 3 (already empty is fine; 0 or outside the store is "+CMS
// ERROR: 321"). "+CMGD=1,4" with a delete flag 1..4 empties every read (1), also sent (2),
// also unsent (3) or every (4) message, whatever the position says. A message the centre
// held back for a full store comes in once there is room.
bool ModemEngine::atCmgd(const AtCommand& c, Answer& a) {
  if (!smsSimReady(a)) return false;
  const std::vector<std::string> p = parameters(c.args());
  int index = -1;
  int flag = 0;
  if (p.empty() || p.size() > 2 || p[0].empty() || !readParameter(p, 0, 0, 999999, index) ||
      !readParameter(p, 1, 0, 4, flag)) {
    return false;
  }
  if (flag == 0) {
    if (index < 1 || index > m_smsStore.size()) {
      a.final = cmsError(!m_sms.textMode, 321);
      return false;
    }
    m_smsStore.erase(index);
  } else {
    for (int i : m_smsStore.occupied()) {
      if (deletedByFlag(m_smsStore.at(i)->status, flag)) m_smsStore.erase(i);
    }
  }
  deliverWaiting();
  return true;
}

// A message with the time stamp it is shown with: a preset one without its own has the
// network's time at power-on.
StoredSms ModemEngine::stamped(const StoredSms& sms) const {
  StoredSms out = sms;
  if (!out.time) out.time = SmsTime{m_config.networkTime, m_config.networkZoneQuarters};
  return out;
}

// Text mode: "+CMGL: 1,\"REC UNREAD\",\"+4917...\",,\"26/12/09,14:05:00+04\"" (with
// AT+CSDH=1 also ",145,26": type of number and length), then the text.
// PDU mode: "+CMGL: 1,0,,26", then the PDU.
std::string ModemEngine::listedSms(int index, const StoredSms& stored) const {
  const StoredSms sms = stamped(stored);
  const std::string position = "+CMGL: " + std::to_string(index) + ",";
  if (!m_sms.textMode) {
    const auto pdu = pduOfStored(sms, m_serviceCentre);
    if (!pdu) return {};
    return framed(position + std::to_string(static_cast<int>(sms.status)) + ",," +
                  std::to_string(pdu->tpduOctets)) +
           pdu->hex + "\r\n";
  }
  const std::string data = textModeData(sms, m_sms.charset);
  std::string header = position + quoted(statusName(sms.status)) + "," +
                       quoted(toTe(sms::fromUtf8(sms.number), m_sms.charset)) + ",,";
  if (isReceived(sms.status)) header += quoted(textTimestamp(*sms.time));
  if (m_sms.showHeader) {
    const bool gsm = codingOf(sms) == sms::Coding::Gsm7;
    const std::size_t length = gsm ? sms::fromUtf8(sms.text).size() : data.size() / 2;
    header += "," + std::to_string(typeOfNumber(sms.number)) + "," + std::to_string(length);
  }
  return framed(header) + data + "\r\n";
}

// `command` "+CMGR" gives the status first, "+CMT" (a message shown as it arrives) none.
// Text mode: "+CMGR: \"REC READ\",\"+4917...\",,\"26/12/09,14:05:00+04\"" (with AT+CSDH=1
// also type of number, first octet, PID, DCS, centre, its type and length), then the text.
// PDU mode: "+CMGR: 1,,26" ("+CMT: ,26"), then the PDU.
std::string ModemEngine::readSms(const StoredSms& stored, std::string_view command) const {
  const StoredSms sms = stamped(stored);
  const bool withStatus = command == "+CMGR";
  std::string header = std::string(command) + ": ";
  if (!m_sms.textMode) {
    const auto pdu = pduOfStored(sms, m_serviceCentre);
    if (!pdu) return {};
    if (withStatus) header += std::to_string(static_cast<int>(sms.status)) + ",";
    return framed(header + "," + std::to_string(pdu->tpduOctets)) + pdu->hex + "\r\n";
  }
  const std::string data = textModeData(sms, m_sms.charset);
  const bool received = isReceived(sms.status);
  if (withStatus) header += quoted(statusName(sms.status)) + ",";
  header += quoted(toTe(sms::fromUtf8(sms.number), m_sms.charset)) + ",";
  if (received) header += "," + quoted(textTimestamp(*sms.time));
  if (m_sms.showHeader) {
    const bool gsm = codingOf(sms) == sms::Coding::Gsm7;
    const std::size_t length = gsm ? sms::fromUtf8(sms.text).size() : data.size() / 2;
    // An SMS-DELIVER's first octet is 4 (no more messages waiting); a stored SMS-SUBMIT's 17,
    // with its relative validity period before the centre.
    header += "," + std::to_string(typeOfNumber(sms.number)) + (received ? ",4,0," : ",17,0,") +
              (gsm ? "0" : "8") + (received ? "," : ",167,") +
              quoted(toTe(sms::fromUtf8(m_serviceCentre), m_sms.charset)) + "," +
              std::to_string(typeOfNumber(m_serviceCentre)) + "," + std::to_string(length);
  }
  return framed(header) + data + "\r\n";
}

}  // namespace d7o::sim
