// Sending a message with AT+CMGS: the command line, the "> " prompt, the text or PDU typed
// after it up to Ctrl-Z (ESC cancels), and the network's "+CMGS: <mr>". What the modem
// passed on is kept in sentSms() for the scenario to check.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"
#include "sms/pdu_codec.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace d7o::sim {

namespace {

constexpr char kCtrlZ = 26;
constexpr char kEscape = 27;
// A PDU is at most 12 octets of centre address and 164 of TPDU, so two hex digits each;
// text mode's 8-bit and UCS2 data in hex take no more. Beyond this nothing is a message.
constexpr std::size_t kMaxTyped = 2 * (12 + 164);
constexpr int kMaxTpduOctets = 164;
constexpr std::size_t kMaxSeptets = 160;
constexpr std::size_t kMaxOctets = 140;

// "+CMS ERROR" codes; cmsError makes 304 or 305 of kNotAMessage by the mode.
constexpr int kNotAMessage = 0;
constexpr int kNoCentre = 330;
constexpr int kNoNetwork = 331;
constexpr int kMemoryFull = 322;

// PDU mode: the typed hex as an SMS-SUBMIT whose TPDU (what follows the centre address)
// has the announced length; nothing when it is none.
std::optional<sms::Decoded> submitPdu(const std::string& hex, int tpduLength) {
  const auto octets = sms::fromHex(hex);
  if (!octets || octets->empty()) return std::nullopt;
  const std::size_t scaPart = 1u + (*octets)[0];
  if (octets->size() < scaPart ||
      octets->size() - scaPart != static_cast<std::size_t>(tpduLength)) {
    return std::nullopt;
  }
  sms::DecodeResult decoded = sms::decodePdu(hex, true);
  if (!decoded.pdu || decoded.pdu->kind != sms::Decoded::Kind::Submit) return std::nullopt;
  return std::move(decoded.pdu);
}

// Text mode: what was typed as the user data of `coding`. Default-alphabet text comes in
// the program's character set (a character the alphabet lacks goes out as "?"), 8-bit and
// UCS2 data in hex, two digits an octet. Nothing when it is none, or more than one message.
std::optional<std::u32string> userText(const std::string& typed, sms::Coding coding,
                                       TeCharset charset) {
  if (coding == sms::Coding::Gsm7) {
    const auto text = fromTe(typed, charset);
    if (!text) return std::nullopt;
    const std::vector<std::uint8_t> septets = sms::toGsmSeptets(*text);
    if (septets.size() > kMaxSeptets) return std::nullopt;
    return sms::fromGsmSeptets(septets);
  }
  if (typed.size() / 2 > kMaxOctets) return std::nullopt;
  if (coding == sms::Coding::Ucs2) return fromTe(typed, TeCharset::Ucs2);
  const auto data = sms::fromHex(typed);
  if (!data) return std::nullopt;
  return std::u32string(data->begin(), data->end());
}

}  // namespace

// Registered by now: the polls before registration have passed (the next AT+CREG? says so).
bool ModemEngine::registered() const {
  return m_config.pollsUntilRegistered >= 0 && m_cregPolls >= m_config.pollsUntilRegistered;
}

// Text mode: "+CMGS=\"0123456789\"" or "+CMGS=\"+49171...\",145"; PDU mode: "+CMGS=16",
// the octets of the PDU after its centre address. Answers "> " and waits for the text.
bool ModemEngine::atCmgs(const AtCommand& c, Answer& a) {
  return startSmsEntry(c, a, std::nullopt);
}

// "+CMGW" stores a message on the SIM instead of sending it: text mode "+CMGW",
// "+CMGW=\"0123\"[,129[,\"STO SENT\"]]"; PDU mode "+CMGW=27[,2]". The prompt and text are
// those of AT+CMGS; the answer is "+CMGW: <index>". Unsent is what a stored one is unless
// the line says otherwise.
bool ModemEngine::atCmgw(const AtCommand& c, Answer& a) {
  return startSmsEntry(c, a, SmsStatus::StoUnsent);
}

bool ModemEngine::startSmsEntry(const AtCommand& c, Answer& a, std::optional<SmsStatus> store) {
  if (!smsSimReady(a)) return false;
  const bool pduMode = !m_sms.textMode;
  // "+CMGW" alone has no arguments; "+CMGW=..." has them after the "=".
  std::string_view args = c.rawArgs();
  if (store && !args.empty()) {
    if (args.front() != '=') return false;
    args.remove_prefix(1);
  }
  const std::vector<std::string> p = parameters(args);
  SmsEntry entry;
  entry.pduMode = pduMode;
  entry.store = store;
  bool valid = false;
  if (pduMode) {
    int status = 2;
    valid = !p.empty() && p.size() <= (store ? 2u : 1u) &&
            readParameter(p, 0, 1, kMaxTpduOctets, entry.tpduLength) && entry.tpduLength > 0 &&
            readParameter(p, 1, 0, 3, status);
    if (store) entry.store = static_cast<SmsStatus>(status);
  } else if (store && p.empty()) {
    valid = true;  // stored without a destination
  } else if (!p.empty() && p.size() <= (store ? 3u : 2u) && isQuoted(p[0])) {
    const auto number = fromTe(unquoted(p[0]), m_sms.charset);
    int type = 0;
    if (number && readParameter(p, 1, 128, 255, type)) {
      entry.number = sms::toUtf8(*number);
      if ((type & 0x70) == 0x10 && !entry.number.empty() && entry.number.front() != '+') {
        entry.number.insert(0, "+");
      }
      valid = addressOf(entry.number).has_value();
    }
    if (valid && p.size() == 3) {
      const std::optional<SmsStatus> status = statusNamed(upper(unquoted(p[2])));
      valid = status.has_value();
      if (valid) entry.store = status;
    }
  }
  if (!valid) {
    a.final = cmsError(pduMode, 0);
    return false;
  }
  // The line's answer ends with the prompt (command_table.cpp).
  m_smsEntry = std::move(entry);
  a.final.clear();
  return true;
}

// One byte after the prompt. `out` collects what goes back: the echo and, in text mode, the
// prompt again after a line break. A line end before anything is typed (the second CR of
// "AT+CMGS=16" CR CR) means nothing, nor does one in a PDU.
void ModemEngine::smsEntryByte(char c, std::string& out) {
  SmsEntry& entry = *m_smsEntry;
  if (m_config.echo) out.push_back(c);
  if (c == kCtrlZ || c == kEscape) {
    if (!out.empty()) emitInOrder(std::exchange(out, {}), Millis(0));
    finishSmsEntry(c == kCtrlZ);
    return;
  }
  if (c == '\n') return;
  if (c == '\b' || c == 0x7F) {
    if (!entry.typed.empty()) entry.typed.pop_back();
    return;
  }
  if (c == '\r') {
    if (entry.pduMode || entry.typed.empty()) return;
    out += m_config.echo ? "\n> " : "\r\n> ";
    c = '\n';
  }
  if (entry.typed.size() >= kMaxTyped) {
    entry.overflow = true;
    return;
  }
  entry.typed.push_back(c);
}

// Ctrl-Z sends: the network's "+CMGS: <mr>" after its time, or the reason it is no
// message. ESC cancels with "OK". Indications held back meanwhile follow.
void ModemEngine::finishSmsEntry(bool send) {
  const SmsEntry entry = std::move(*m_smsEntry);
  m_smsEntry.reset();
  if (!send) {
    emitInOrder(resultLine("OK"), m_config.answerDelay);
  } else if (entry.store) {
    const std::optional<StoredSms> sms = storedOf(entry);
    const std::optional<int> index = sms ? m_smsStore.add(*sms) : std::nullopt;
    if (!index) {
      // 322: the store is full.
      const std::string error = cmsError(entry.pduMode, sms ? kMemoryFull : kNotAMessage);
      emitInOrder(framed(error), m_config.answerDelay);
    } else {
      emitInOrder(informationText(framed("+CMGW: " + std::to_string(*index))) + resultLine("OK"),
                  m_config.answerDelay);
    }
  } else {
    SentSms sent;
    if (const auto error = sendSms(entry, sent)) {
      emitInOrder(framed(cmsError(entry.pduMode, *error)), m_config.answerDelay);
    } else {
      const int mr = sent.messageReference;
      m_sentSms.push_back(std::move(sent));
      emitInOrder(framed("+CMGS: " + std::to_string(mr)) + framed("OK"), m_config.smsSendTime);
    }
  }
  flushHeldIndications();
}

namespace {

// "2026-12-09 14:05:00 +01:00", a DELIVER's time stamp as the decoder writes it.
std::optional<SmsTime> smsTimeOf(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, zh = 0, zm = 0;
  char sign = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d %c%d:%d", &y, &mo, &d, &h, &mi, &s, &sign, &zh,
                  &zm) != 9) {
    return std::nullopt;
  }
  using namespace std::chrono;
  const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                            day{static_cast<unsigned>(d)}};
  if (!date.ok()) return std::nullopt;
  const int quarters = (zh * 60 + zm) / 15;
  return SmsTime{sys_days{date} + hours{h} + minutes{mi} + seconds{s},
                 sign == '-' ? -quarters : quarters};
}

}  // namespace

// The entry of an AT+CMGW as the SIM keeps it: the destination of a SUBMIT or the originator
// of a DELIVER, and the text; nothing when it is no message.
std::optional<StoredSms> ModemEngine::storedOf(const SmsEntry& entry) const {
  if (entry.overflow) return std::nullopt;
  StoredSms stored;
  stored.status = *entry.store;
  if (entry.pduMode) {
    const auto octets = sms::fromHex(entry.typed);
    if (!octets || octets->empty()) return std::nullopt;
    const std::size_t scaPart = 1u + (*octets)[0];
    if (octets->size() < scaPart ||
        octets->size() - scaPart != static_cast<std::size_t>(entry.tpduLength)) {
      return std::nullopt;
    }
    sms::DecodeResult decoded = sms::decodePdu(entry.typed, true);
    if (!decoded.pdu) return std::nullopt;
    // Kept as written: PDU mode reads back the very octets (a DELIVER's time stamp and an
    // alphanumeric sender included); text mode shows what they say.
    stored.pdu = upper(entry.typed);
    const sms::Address& address = decoded.pdu->address;
    stored.number = (address.type & 0x70) == 0x50 ? address.digits : numberOf(address);
    stored.text = sms::toUtf8(decoded.pdu->text);
    if (decoded.pdu->timestamp) stored.time = smsTimeOf(*decoded.pdu->timestamp);
  } else {
    const auto text = userText(
        entry.typed, codingOfDcs(static_cast<std::uint8_t>(m_sms.dataCoding)), m_sms.charset);
    if (!text) return std::nullopt;
    stored.number = entry.number;
    stored.text = sms::toUtf8(*text);
  }
  // Only what the store can give back as a PDU is kept.
  if (!pduOfStored(stored, m_serviceCentre)) return std::nullopt;
  return stored;
}

// The entry as the message the network gets, into `sent`; else the "+CMS ERROR" code: 304
// or 305 for what is no message, 330 without a centre, 331 without the network.
std::optional<int> ModemEngine::sendSms(const SmsEntry& entry, SentSms& sent) {
  if (entry.overflow) return kNotAMessage;
  if (!registered()) return kNoNetwork;
  const auto centre = addressOf(m_serviceCentre);
  int mr = (m_lastMessageReference + 1) % 256;
  if (entry.pduMode) {
    const auto pdu = submitPdu(entry.typed, entry.tpduLength);
    if (!pdu) return kNotAMessage;
    if (!pdu->sca && !centre) return kNoCentre;
    // A reference of 0 leaves the choice to the modem.
    if (pdu->messageReference.value_or(0) != 0) mr = *pdu->messageReference;
    sent.number = numberOf(pdu->address);
    sent.text = sms::toUtf8(pdu->text);
    sent.pdu = entry.typed;
  } else {
    if (!centre) return kNoCentre;
    sms::Submit submit;
    submit.sca = centre;
    submit.firstOctet = static_cast<std::uint8_t>(m_sms.firstOctet);
    submit.messageReference = static_cast<std::uint8_t>(mr);
    submit.destination = *addressOf(entry.number);
    submit.pid = static_cast<std::uint8_t>(m_sms.protocolId);
    submit.dcs = static_cast<std::uint8_t>(m_sms.dataCoding);
    submit.coding = codingOfDcs(submit.dcs);
    submit.validityPeriod.reset();
    if (((m_sms.firstOctet >> 3) & 0x3) == 2) {
      submit.validityPeriod = static_cast<std::uint8_t>(m_sms.validityPeriod);
    }
    const auto text = userText(entry.typed, submit.coding, m_sms.charset);
    if (!text) return kNotAMessage;
    submit.text = *text;
    try {
      sent.pdu = sms::encodeSubmit(submit).hex;
    } catch (const std::invalid_argument&) {
      return kNotAMessage;
    }
    sent.number = entry.number;
    sent.text = sms::toUtf8(*text);
  }
  sent.messageReference = mr;
  sent.pduMode = entry.pduMode;
  m_lastMessageReference = mr;
  return std::nullopt;
}

}  // namespace d7o::sim
