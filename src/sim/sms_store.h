#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::sim {

// Where a message stands, in the order of its number in PDU mode (0..3).
enum class SmsStatus { RecUnread, RecRead, StoUnsent, StoSent };

// "REC UNREAD", "REC READ", "STO UNSENT", "STO SENT": the names of text mode.
std::string_view statusName(SmsStatus status);
// The names back, upper-cased as a command line reads them; nothing for any other.
std::optional<SmsStatus> statusNamed(std::string_view name);

// A service centre's time stamp: the wall-clock time of the centre's zone, and the zone in
// quarter hours east of UTC (+04: one hour).
struct SmsTime {
  std::chrono::sys_seconds local;
  int zoneQuarters = 0;
};

// One message on the SIM. Received messages (REC ...) name their originator, stored ones
// (STO ...) their destination; "+" in front makes a number international.
struct StoredSms {
  SmsStatus status = SmsStatus::RecUnread;
  std::string number;
  std::string text;             // UTF-8
  std::optional<SmsTime> time;  // received: the centre's stamp; none: the network's at power-on
  // A message written in PDU mode (AT+CMGW): the PDU as written, centre part first, which
  // PDU mode gives back byte for byte; empty: the PDU is made from the fields above.
  std::string pdu = {};
};

// A message the modem passed to the network with AT+CMGS.
struct SentSms {
  std::string number;  // the destination as the modem read it, "+" for international
  std::string text;    // UTF-8; 8-bit data has one character per octet
  std::string pdu;     // PDU mode: the PDU as given; text mode: the SMS-SUBMIT the modem made
  int messageReference = 0;
  bool pduMode = false;
};

// The SIM's message store: positions 1..size, each empty or holding one message.
class SmsStore {
 public:
  explicit SmsStore(int size);

  int size() const { return static_cast<int>(m_slots.size()); }
  int used() const;
  bool full() const { return used() == size(); }

  // Nothing at an empty position or one outside 1..size.
  const StoredSms* at(int index) const;
  StoredSms* at(int index);
  // Puts the message at the first free position and returns it; nothing when full.
  std::optional<int> add(StoredSms sms);
  // Puts the message at `index`, over whatever was there; false outside 1..size.
  bool put(int index, StoredSms sms);
  // Empties the position; false outside 1..size (an empty one is fine).
  bool erase(int index);
  // The occupied positions, lowest first.
  std::vector<int> occupied() const;

 private:
  std::vector<std::optional<StoredSms>> m_slots;
};

}  // namespace d7o::sim
