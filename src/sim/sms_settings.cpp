// The SMS settings of GSM 07.05 on the simulated D7O: message format, service, new-message
// indications, text-mode parameters, character set and the service centre. A value out of
// range is a wrong command ("ERROR"); the service centre lives on the SIM and needs it.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"
#include "sms/pdu_codec.h"

#include <string>

namespace d7o::sim {

namespace {

std::string joined(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += (out.empty() ? "" : ",") + std::to_string(v);
  return out;
}

// A quoted string parameter in the program's character set, as text; unquoted: nothing.
std::optional<std::string> stringParameter(std::string_view raw, TeCharset charset) {
  if (!isQuoted(raw)) return std::nullopt;
  const auto text = fromTe(unquoted(raw), charset);
  if (!text) return std::nullopt;
  return sms::toUtf8(*text);
}

}  // namespace

void ModemEngine::resetSmsSettings() {
  m_sms = SmsSettings{};
  m_sms.textMode = m_config.smsTextMode;
}

// "+CMGF?" -> "+CMGF: 1"
bool ModemEngine::atCmgfQuery(const AtCommand&, Answer& a) {
  a.info += framed(std::string("+CMGF: ") + (m_sms.textMode ? "1" : "0"));
  return true;
}

// "+CMGF=0": PDU mode; "+CMGF=1": text mode.
bool ModemEngine::atCmgfSet(const AtCommand& c, Answer&) {
  const auto mode = numberIn(c.args(), 0, 1);
  if (!mode) return false;
  m_sms.textMode = *mode == 1;
  return true;
}

// "+CSMS?" -> "+CSMS: 0,1,1,1": the service, and that it serves incoming, outgoing and
// broadcast messages.
bool ModemEngine::atCsmsQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CSMS: " + std::to_string(m_sms.service) + ",1,1,1");
  return true;
}

// "+CSMS=1" -> "+CSMS: 1,1,1"
bool ModemEngine::atCsmsSet(const AtCommand& c, Answer& a) {
  const auto service = numberIn(c.args(), 0, 1);
  if (!service) return false;
  m_sms.service = *service;
  a.info += framed("+CSMS: 1,1,1");
  return true;
}

// "+CNMI?" -> "+CNMI: 1,1,0,0,0"
bool ModemEngine::atCnmiQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CNMI: " +
                   joined({m_sms.indicationMode, m_sms.deliverIndication, m_sms.broadcastIndication,
                           m_sms.statusReport, m_sms.bufferFlush}));
  return true;
}

// "+CNMI=1,1,0,0,0": indications to the program at once (mode 1..3) or kept in the modem
// (0); "+CMTI" for a stored message (mt 1, 3), the message itself with "+CMT" (2), or
// nothing (0). Broadcasts never come, so bm 2 is taken; status reports are not offered.
// Leaving mode 0 hands over the kept indications, or drops them with bfr 1.
bool ModemEngine::atCnmiSet(const AtCommand& c, Answer&) {
  const std::vector<std::string> p = parameters(c.args());
  SmsSettings s = m_sms;
  if (p.empty() || p.size() > 5 || p[0].empty()) return false;
  const bool valid = readParameter(p, 0, 0, 3, s.indicationMode) &&
                     readParameter(p, 1, 0, 3, s.deliverIndication) &&
                     readParameter(p, 2, 0, 2, s.broadcastIndication) &&
                     readParameter(p, 3, 0, 0, s.statusReport) &&
                     readParameter(p, 4, 0, 1, s.bufferFlush) && s.broadcastIndication != 1;
  if (!valid) return false;
  m_sms = s;
  if (m_sms.indicationMode != 0) {
    if (m_sms.bufferFlush == 0) {
      for (std::string& text : m_bufferedIndications) m_afterAnswer += text;
    }
    m_bufferedIndications.clear();
  }
  return true;
}

// "+CSMP?" -> "+CSMP: 17,167,0,0"
bool ModemEngine::atCsmpQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CSMP: " + joined({m_sms.firstOctet, m_sms.validityPeriod, m_sms.protocolId,
                                       m_sms.dataCoding}));
  return true;
}

// "+CSMP=17,167,0,0": what text mode puts into an SMS-SUBMIT. The first octet must be one
// (message type 01) with no validity period or a relative one, and no user-data header,
// which text mode cannot give.
bool ModemEngine::atCsmpSet(const AtCommand& c, Answer&) {
  const std::vector<std::string> p = parameters(c.args());
  SmsSettings s = m_sms;
  if (p.empty() || p.size() > 4) return false;
  const bool valid =
      readParameter(p, 0, 0, 255, s.firstOctet) && readParameter(p, 1, 0, 255, s.validityPeriod) &&
      readParameter(p, 2, 0, 255, s.protocolId) && readParameter(p, 3, 0, 255, s.dataCoding);
  const int vpFormat = (s.firstOctet >> 3) & 0x3;
  if (!valid || (s.firstOctet & 0x3) != 1 || vpFormat == 1 || vpFormat == 3 ||
      (s.firstOctet & 0x40) != 0) {
    return false;
  }
  m_sms = s;
  return true;
}

// "+CSDH?" -> "+CSDH: 0"
bool ModemEngine::atCsdhQuery(const AtCommand&, Answer& a) {
  a.info += framed(std::string("+CSDH: ") + (m_sms.showHeader ? "1" : "0"));
  return true;
}

// "+CSDH=1": text mode shows the header values of a message too.
bool ModemEngine::atCsdhSet(const AtCommand& c, Answer&) {
  const auto show = c.args().empty() ? std::optional<int>(0) : numberIn(c.args(), 0, 1);
  if (!show) return false;
  m_sms.showHeader = *show == 1;
  return true;
}

// "+CSCS?" -> "+CSCS: \"IRA\""
bool ModemEngine::atCscsQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CSCS: \"" + std::string(charsetName(m_sms.charset)) + "\"");
  return true;
}

// "+CSCS=\"UCS2\"": the character set of texts and numbers between program and modem.
bool ModemEngine::atCscsSet(const AtCommand& c, Answer&) {
  const auto charset = charsetNamed(unquoted(c.args()));
  if (!charset) return false;
  m_sms.charset = *charset;
  return true;
}

// "+CSCA?" -> "+CSCA: \"+491710760000\",145"
bool ModemEngine::atCscaQuery(const AtCommand&, Answer& a) {
  if (!smsSimReady(a)) return false;
  const std::u32string number = sms::fromUtf8(m_serviceCentre);
  a.info += framed("+CSCA: \"" + toTe(number, m_sms.charset) + "\"," +
                   std::to_string(typeOfNumber(m_serviceCentre)));
  return true;
}

// "+CSCA=\"+491710760000\",145", "+CSCA=\"01710760000\"": stored on the SIM. Type 145
// makes the number international even without its "+"; "" leaves the SIM without one.
bool ModemEngine::atCscaSet(const AtCommand& c, Answer& a) {
  if (!smsSimReady(a)) return false;
  const std::vector<std::string> p = parameters(c.rawArgs());
  if (p.empty() || p.size() > 2) return false;
  std::optional<std::string> number = stringParameter(p[0], m_sms.charset);
  int type = 0;
  if (!number || !readParameter(p, 1, 128, 255, type)) return false;
  if (!number->empty()) {
    if ((type & 0x70) == 0x10 && number->front() != '+') number->insert(0, "+");
    if (!addressOf(*number)) return false;
  }
  m_serviceCentre = *number;
  return true;
}

// "+CNMA": the program acknowledges a message; nothing waits for it here.
bool ModemEngine::atCnma(const AtCommand& c, Answer&) {
  return c.args().empty() || c.args().front() == '=';
}

}  // namespace d7o::sim
