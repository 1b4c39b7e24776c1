#include "dispatch/reply_table.h"

#include "app/application.h"
#include "app/text.h"

namespace d7o::dispatch {

using app::contains;

// The reply rows in their order. The order is the tie-break between rows that test the
// same text ("OK" fires every row whose condition holds), so rows are never re-ordered
// and a capability adds its action to its row here instead of testing replies elsewhere.
std::vector<ReplyRow> makeReplyTable(app::Application& app) {
  app::SharedState& s = app.context().state;
  const std::string& b = s.receiveBuffer;
  auto has = [&b](std::string_view part) { return contains(b, part); };

  return {
      {1, "\"OK\" while the baud-rate search runs", [&] { return s.baudSearchActive && has("OK"); },
       nullptr},
      {2, "\"I/OK\"", [&] { return has("I/OK"); }, nullptr},
      {3, "\"OK\" while the wake-up waits for it", [&] { return s.initAwaitingOk && has("OK"); },
       nullptr},
      {4, "any reply while the remote tool returns to local mode",
       [&] { return s.remoteLocalModePending; }, nullptr},
      {5, "\"CONNECT\"", [&] { return has("CONNECT"); }, nullptr},
      {6, "\"CARRIER\"", [&] { return has("CARRIER"); }, nullptr},
      {7, "\"BUSY\"", [&] { return has("BUSY"); }, nullptr},
      {8, "\"NO DIALTONE\"", [&] { return has("NO DIALTONE"); }, nullptr},
      {9, "\"OK\" while the interval request waits",
       [&] { return s.intervalRequestPending && has("OK"); }, nullptr},
      {10, "an NMEA sentence",
       [&] { return has("$GPGGA") || has("$GPRMC") || has("$GPGSV") || has("$GPGSA"); }, nullptr},
      {11, "any reply in GPS receive mode", [&] { return s.gpsReceiveMode; }, nullptr},
      {12, "any reply (GPS time from GGA/RMC, else the PC clock)", [] { return true; }, nullptr},
      {13, "\"ERROR\"", [&] { return has("ERROR"); }, nullptr},
      {14, "\"+CME ERROR: 10\"", [&] { return has("+CME ERROR: 10"); }, nullptr},
      {15, "\"+CME ERROR: 13\"", [&] { return has("+CME ERROR: 13"); }, nullptr},
      {16, "\"TARVIK\" in the upper-cased reply",
       [&] { return contains(app::upperCase(b), "TARVIK"); }, nullptr},
      {17, "\"$CNFOK\"", [&] { return has("$CNFOK"); }, nullptr},
      {18, "\"OK\" or \"+CMS ERROR: 0\" while all SMS are deleted",
       [&] { return s.smsDeleteRunning && (has("OK") || has("+CMS ERROR: 0")); }, nullptr},
      {19, "\"+CPMS: \"", [&] { return has("+CPMS: "); }, nullptr},
      {20, "\"+CMTI:\"", [&] { return has("+CMTI:"); }, nullptr},
      {21, "any reply while the manufacturer is asked", [&] { return s.manufacturerQueryPending; },
       nullptr},
      {22, "any reply after four without a manufacturer", [&] { return s.manufacturerTries == 4; },
       nullptr},
      {23, "\"+CPBS: \" and a double quote", [&] { return has("+CPBS: \""); }, nullptr},
      {24, "\"+CPBR: \"", [&] { return has("+CPBR: "); }, nullptr},
      {25, "character 26 (the SMS text echo)",
       [&] {
         // The prompt position is taken here, before the test, and row 26 acts on it.
         const auto p = b.find("> ");
         s.promptPos = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
         return has("\x1a");
       },
       nullptr},
      {26, "the \"> \" prompt", [&] { return s.promptPos > 0; }, nullptr},
      {27, "\"VOICE\"", [&] { return has("VOICE"); }, nullptr},
      {28, "\"IFC=2,2\" (the handshake echo)", [&] { return has("IFC=2,2"); },
       [&] {
         s.hwHandshakeReported = true;
         return Flow::Continue;
       }},
      {29, "\"IFC=0,0\"", [&] { return has("IFC=0,0"); },
       [&] {
         s.hwHandshakeReported = false;
         return Flow::Continue;
       }},
      {30, "\"+CSCA: \" and a double quote", [&] { return has("+CSCA: \""); }, nullptr},
      {31, "\"+CMGF=1\"", [&] { return has("+CMGF=1"); }, nullptr},
      {32, "\"$ERROR\"", [&] { return has("$ERROR"); }, nullptr},
      {33, "\"NO CARRIER\" or \"CMGS:\"", [&] { return has("NO CARRIER") || has("CMGS:"); },
       nullptr},
      {34, "\"+CSQ:\"", [&] { return has("+CSQ:"); }, nullptr},
      {35, "\"+VGR: \"", [&] { return has("+VGR: "); }, nullptr},
      {36, "\"+VGT: \"", [&] { return has("+VGT: "); }, nullptr},
      {37, "\"+CREG\"", [&] { return has("+CREG"); }, nullptr},
      {38, "\"NO CARRIER\"", [&] { return has("NO CARRIER"); }, nullptr},
      {39, "\"BUSY\"", [&] { return has("BUSY"); }, nullptr},
      {40, "\"RING\"", [&] { return has("RING"); }, nullptr},
      {41, "\"OK\" after the PIN was sent", [&] { return s.pinSentAwaitingOk && has("OK"); },
       nullptr},
      {42, "\"+CPIN:\"", [&] { return has("+CPIN:"); }, nullptr},
  };
}

}  // namespace d7o::dispatch
