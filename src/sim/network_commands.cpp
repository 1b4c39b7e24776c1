// The network and the phone as GSM 07.07 has them: registration (with its unasked reports),
// the operator, the phone's functionality, its clock and battery, passwords, call
// forwarding and USSD. The program itself only polls AT+CREG? and AT+CSQ; standard clients
// ask for the rest when they start.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"
#include "sim/sms_format.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace d7o::sim {

namespace {

// One more operator the network search finds, which the SIM may not use.
constexpr std::string_view kForbiddenOperator = "3,\"Vodafone.de\",\"Vodafone\",\"26202\"";
// What AT+CUSD sends back for any request.
constexpr std::string_view kUssdAnswer = "Your balance is 12.34 EUR";
constexpr Millis kUssdTime{1500};

// "+CME ERROR: 30": no network service.
constexpr std::string_view kNoService = "+CME ERROR: 30";

// "26/12/09,14:05:00+04" -> the local time and the zone in quarter hours; nothing for any
// other text.
std::optional<SmsTime> clockTime(std::string_view text) {
  unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char sign = 0;
  int zone = 0;
  int used = 0;
  const std::string copy(text);
  if (std::sscanf(copy.c_str(), "%2u/%2u/%2u,%2u:%2u:%2u%c%2d%n", &y, &mo, &d, &h, &mi, &s, &sign,
                  &zone, &used) != 8 ||
      static_cast<std::size_t>(used) != copy.size() || copy.size() != 20 ||
      (sign != '+' && sign != '-') || zone < 0 || zone > 96 || h > 23 || mi > 59 || s > 59) {
    return std::nullopt;
  }
  using namespace std::chrono;
  const year_month_day date{year{2000 + static_cast<int>(y)}, month{mo}, day{d}};
  if (!date.ok()) return std::nullopt;
  return SmsTime{sys_days{date} + hours{h} + minutes{mi} + seconds{s}, sign == '-' ? -zone : zone};
}

}  // namespace

// 1 home, 5 roaming, 2 searching (the configured polls have not passed), 0 not searching
// (no readable SIM, switched to minimum functionality or deregistered with AT+COPS=2).
int ModemEngine::registrationStatus() const {
  // Without a SIM, or with one it cannot read, the modem does not even search.
  const std::optional<int> sim = simCmeError();
  if (m_functionality != 1 || m_deregistered || sim == 10 || sim == 13) return 0;
  if (!registered()) return 2;
  return m_config.roaming ? 5 : 1;
}

// "+CREG: 1" (AT+CREG=1), "+CREG: 1,\"0B5F\",\"4E21\"" (AT+CREG=2): the cell only while
// registered.
std::string ModemEngine::cregReport(int status) const {
  std::string text = "+CREG: " + std::to_string(status);
  if (m_cregReport == CregReport::WithCell && (status == 1 || status == 5)) {
    text += ",\"" + m_config.locationArea + "\",\"" + m_config.cellId + "\"";
  }
  return text;
}

void ModemEngine::reportRegistration() {
  const int status = registrationStatus();
  if (status == m_reportedRegistration) return;
  m_reportedRegistration = status;
  if (m_cregReport != CregReport::Off) unsolicited(framed(cregReport(status)));
}

// "+CREG?" -> "+CREG: 0,2" (searching) until the configured polls have passed, then
// "+CREG: 0,1" (home network) or "+CREG: 0,5" (roaming); after AT+CREG=2 with the cell.
bool ModemEngine::atCregQuery(const AtCommand&, Answer& a) {
  const int status = registrationStatus();
  std::string report = cregReport(status);
  report.insert(7, std::to_string(static_cast<int>(m_cregReport)) + ",");
  a.info += framed(report);
  ++m_cregPolls;
  // The poll itself may be the one after which the modem is registered; a client that
  // asked for reports hears of it after the answer.
  m_reportedRegistration = status;
  reportRegistration();
  return true;
}

// "+CREG=0|1|2": unasked reports of the registration off, on, on with the cell.
bool ModemEngine::atCregSet(const AtCommand& c, Answer&) {
  const std::optional<int> n = c.args().empty() ? 0 : numberIn(c.args(), 0, 2);
  if (!n) return false;
  m_cregReport = static_cast<CregReport>(*n);
  m_reportedRegistration = registrationStatus();
  return true;
}

// "+CGREG?" -> "+CGREG: 0,0": the modem makes circuit-switched calls only, so it is never
// attached to a packet service; clients that ask for both registrations get an answer.
bool ModemEngine::atCgregQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CGREG: " + std::to_string(m_cgregReport) + ",0");
  return true;
}

bool ModemEngine::atCgregSet(const AtCommand& c, Answer&) {
  const std::optional<int> n = c.args().empty() ? 0 : numberIn(c.args(), 0, 2);
  if (!n) return false;
  m_cgregReport = *n;
  return true;
}

// "+CGATT=0" detaches, as it is; "+CGATT=1" cannot attach: "+CME ERROR: 132", service
// option not supported.
bool ModemEngine::atCgattSet(const AtCommand& c, Answer& a) {
  if (c.args() == "0") return true;
  if (c.args() == "1") a.final = "+CME ERROR: 132";
  return false;
}

// "+CRC?" -> "+CRC: 1". The program looks for "VOICE" in the ring, so the modem always
// gives "+CRING: VOICE"; a client that asks for the plain ring still gets its "RING".
bool ModemEngine::atCrcQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CRC: " + std::to_string(m_crc));
  return true;
}

bool ModemEngine::atCrcSet(const AtCommand& c, Answer&) {
  const std::optional<int> n = numberIn(c.args(), 0, 1);
  if (!n) return false;
  m_crc = *n;
  return true;
}

// "+COPS?" -> "+COPS: 0,0,\"Telekom.de\"", in the format AT+COPS=3,n chose; "+COPS: 0"
// while not registered (mode 2 after a deregistration).
bool ModemEngine::atCopsQuery(const AtCommand&, Answer& a) {
  const int mode = m_deregistered ? 2 : 0;
  const int status = registrationStatus();
  if (status != 1 && status != 5) {
    a.info += framed("+COPS: " + std::to_string(mode));
    return true;
  }
  const std::string& name = m_copsFormat == 0   ? m_config.operatorLong
                            : m_copsFormat == 1 ? m_config.operatorShort
                                                : m_config.operatorNumeric;
  a.info += framed("+COPS: " + std::to_string(mode) + "," + std::to_string(m_copsFormat) + ",\"" +
                   name + "\"");
  return true;
}

// "+COPS=?": the network search, the modem's operator as the current one.
bool ModemEngine::atCopsRange(const AtCommand&, Answer& a) {
  if (m_functionality != 1) {
    a.final = std::string(kNoService);
    return false;
  }
  a.info += framed("+COPS: (2,\"" + m_config.operatorLong + "\",\"" + m_config.operatorShort +
                   "\",\"" + m_config.operatorNumeric + "\"),(" + std::string(kForbiddenOperator) +
                   "),,(0-4),(0-2)");
  return true;
}

// "+COPS=0" automatic, "+COPS=1,2,\"26201\"" manual (only the modem's operator is there to
// choose), "+COPS=2" deregisters, "+COPS=3,n" sets the format of the name alone.
bool ModemEngine::atCopsSet(const AtCommand& c, Answer& a) {
  const std::vector<std::string> p = parameters(c.rawArgs());
  int mode = 0;
  int format = m_copsFormat;
  if (p.empty() || p.size() > 3 || !readParameter(p, 0, 0, 4, mode) ||
      !readParameter(p, 1, 0, 2, format)) {
    return false;
  }
  if (mode == 3) {
    if (p.size() != 2) return false;
    m_copsFormat = format;
    return true;
  }
  if (mode == 1 || mode == 4) {
    if (p.size() != 3 || !isQuoted(p[2])) return false;
    const std::string wanted = unquoted(p[2]);
    const std::string& own = format == 0   ? m_config.operatorLong
                             : format == 1 ? m_config.operatorShort
                                           : m_config.operatorNumeric;
    // Manual with fallback to automatic (4) always ends registered.
    if (wanted != own && mode == 1) {
      a.final = "+CME ERROR: 32";  // network not allowed
      return false;
    }
  }
  m_copsFormat = format;
  m_deregistered = mode == 2;
  reportRegistration();
  return true;
}

// "+CFUN?" -> "+CFUN: 1"
bool ModemEngine::atCfunQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CFUN: " + std::to_string(m_functionality));
  return true;
}

// "+CFUN=1" full, "+CFUN=0" minimum, "+CFUN=4" no radio; a second parameter of 1 asks for a
// reset first, which the modem takes as given.
bool ModemEngine::atCfunSet(const AtCommand& c, Answer&) {
  const std::vector<std::string> p = parameters(c.args());
  int fun = 1;
  int reset = 0;
  if (p.empty() || p.size() > 2 || !readParameter(p, 0, 0, 4, fun) ||
      !readParameter(p, 1, 0, 1, reset) || (fun != 0 && fun != 1 && fun != 4)) {
    return false;
  }
  m_functionality = fun;
  reportRegistration();
  return true;
}

// "+CCLK?" -> "+CCLK: \"26/12/09,14:05:00+04\"": the network's time at power-on counted on,
// or what AT+CCLK= set.
bool ModemEngine::atCclkQuery(const AtCommand&, Answer& a) {
  SmsTime now = networkTimeNow();
  now.local += m_clockOffset;
  if (m_clockZone) now.zoneQuarters = *m_clockZone;
  a.info += framed("+CCLK: \"" + textTimestamp(now) + "\"");
  return true;
}

bool ModemEngine::atCclkSet(const AtCommand& c, Answer&) {
  if (!isQuoted(c.args())) return false;
  const std::optional<SmsTime> set = clockTime(unquoted(c.args()));
  if (!set) return false;
  m_clockOffset = set->local - networkTimeNow().local;
  m_clockZone = set->zoneQuarters;
  return true;
}

// "+CBC" -> "+CBC: 0,100": powered by its battery, and how full it is.
bool ModemEngine::atCbc(const AtCommand&, Answer& a) {
  a.info += framed("+CBC: 0," + std::to_string(m_config.batteryCharge));
  return true;
}

// "+CCFC=<reason>,<mode>[,\"<number>\"[,<type>]]": forwarding per reason (0 unconditional
// ... 5 all conditional), mode 0 off, 1 on, 2 query, 3 registration, 4 erasure. A query
// answers "+CCFC: 0,7" (not active) or "+CCFC: 1,1,\"<number>\",<type>". The network must
// be there to ask it.
bool ModemEngine::atCcfc(const AtCommand& c, Answer& a) {
  const std::vector<std::string> p = parameters(c.rawArgs());
  int reason = 0;
  int mode = 0;
  if (p.size() < 2 || p.size() > 5 || p[0].empty() || p[1].empty() ||
      !readParameter(p, 0, 0, 5, reason) || !readParameter(p, 1, 0, 4, mode)) {
    return false;
  }
  const int status = registrationStatus();
  if (status != 1 && status != 5) {
    a.final = std::string(kNoService);
    return false;
  }
  std::optional<std::string>& forwarded = m_forwarding[static_cast<std::size_t>(reason)];
  switch (mode) {
    case 2:
      if (forwarded) {
        a.info +=
            framed("+CCFC: 1,1,\"" + *forwarded + "\"," + std::to_string(typeOfNumber(*forwarded)));
      } else {
        a.info += framed("+CCFC: 0,7");
      }
      return true;
    case 3: {
      if (p.size() < 3 || !isQuoted(p[2]) || !addressOf(unquoted(p[2]))) return false;
      forwarded = unquoted(p[2]);
      return true;
    }
    case 1:
      if (!forwarded) {
        a.final = "+CME ERROR: 3";  // nothing registered to switch on
        return false;
      }
      return true;
    default:
      if (mode == 4) forwarded.reset();
      return true;
  }
}

// "+CUSD?" -> "+CUSD: 1"
bool ModemEngine::atCusdQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CUSD: " + std::to_string(m_ussd ? 1 : 0));
  return true;
}

// "+CUSD=1" reports of the network's USSD answers on, "+CUSD=0" off, "+CUSD=2" cancels;
// "+CUSD=1,\"*100#\",15" asks the network, whose answer comes a moment later as
// "+CUSD: 0,\"...\",15".
bool ModemEngine::atCusdSet(const AtCommand& c, Answer& a) {
  const std::vector<std::string> p = parameters(c.rawArgs());
  int n = 0;
  int scheme = 15;
  if (p.empty() || p.size() > 3 || !readParameter(p, 0, 0, 2, n) ||
      !readParameter(p, 2, 0, 255, scheme)) {
    return false;
  }
  if (n != 2) m_ussd = n == 1;
  if (p.size() < 2) return true;
  if (!isQuoted(p[1]) || unquoted(p[1]).empty()) return false;
  const int status = registrationStatus();
  if (status != 1 && status != 5) {
    a.final = std::string(kNoService);
    return false;
  }
  if (!m_ussd) return true;
  m_clock.after(kUssdTime, [this, epoch = m_epoch, scheme] {
    if (epoch != m_epoch || !m_ussd || !m_config.powered || m_restarting) return;
    unsolicited(framed("+CUSD: 0,\"" + std::string(kUssdAnswer) + "\"," + std::to_string(scheme)));
  });
  return true;
}

}  // namespace d7o::sim
