// Messages that arrive from the network: stored on the SIM and announced with "+CMTI", or
// shown at once with "+CMT", as AT+CNMI chose; and the indications' way to the program.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <string>
#include <utility>

namespace d7o::sim {

namespace {

// What AT+CNMI mode 0 keeps in the modem, and what the centre keeps for a full store;
// beyond it the oldest indication is lost, and the centre refuses more.
constexpr std::size_t kMaxBufferedIndications = 16;
constexpr std::size_t kMaxWaitingAtCentre = 32;

}  // namespace

SmsTime ModemEngine::networkTimeNow() const {
  const auto elapsed = std::chrono::floor<std::chrono::seconds>(m_clock.now() - m_networkTimeBase);
  return SmsTime{m_config.networkTime + elapsed, m_config.networkZoneQuarters};
}

SmsDelivery ModemEngine::deliverSms(std::string_view originator, std::string_view text) {
  Answer ignored;
  if (!m_config.powered || m_restarting || !smsSimReady(ignored) || !registered()) return {};
  StoredSms sms{SmsStatus::RecUnread, std::string(originator), std::string(text), networkTimeNow()};
  // Only what one SMS-DELIVER can carry arrives.
  if (!pduOfStored(sms, m_serviceCentre)) return {};
  if (m_sms.deliverIndication == 2) {
    indicate(readSms(sms, "+CMT"));
    return {SmsArrival::Forwarded, 0};
  }
  const auto index = m_smsStore.add(sms);
  if (!index) {
    // The phone tells the centre its store is full; the centre tries again once told
    // there is room.
    if (m_smsAtCentre.size() >= kMaxWaitingAtCentre) return {};
    m_smsAtCentre.push_back(std::move(sms));
    return {SmsArrival::Waiting, 0};
  }
  if (m_sms.deliverIndication != 0) indicate(framed("+CMTI: \"SM\"," + std::to_string(*index)));
  return {SmsArrival::Stored, *index};
}

// Messages the centre held back, into the room a deletion made.
void ModemEngine::deliverWaiting() {
  while (!m_smsAtCentre.empty() && !m_smsStore.full()) {
    const int index = *m_smsStore.add(std::move(m_smsAtCentre.front()));
    m_smsAtCentre.erase(m_smsAtCentre.begin());
    if (m_sms.deliverIndication != 0) indicate(framed("+CMTI: \"SM\"," + std::to_string(index)));
  }
}

// An indication goes out at once, after the answer of the line being answered, after the
// text being typed or the data call's online mode, or stays in the modem (AT+CNMI mode 0).
void ModemEngine::indicate(std::string text) {
  if (m_sms.indicationMode == 0) {
    if (m_bufferedIndications.size() >= kMaxBufferedIndications) {
      m_bufferedIndications.erase(m_bufferedIndications.begin());
    }
    m_bufferedIndications.push_back(std::move(text));
  } else {
    unsolicited(std::move(text));
  }
}

void ModemEngine::unsolicited(std::string text) {
  if (m_smsEntry || onlineDataMode()) {
    // Neither in the middle of a message's echo nor in the connection's data.
    m_heldIndications += text;
  } else if (m_answering) {
    m_afterAnswer += text;
  } else {
    emitInOrder(std::move(text), Millis(0));
  }
}

void ModemEngine::flushHeldIndications() {
  if (!m_heldIndications.empty()) emitInOrder(std::exchange(m_heldIndications, {}), Millis(0));
}

}  // namespace d7o::sim
