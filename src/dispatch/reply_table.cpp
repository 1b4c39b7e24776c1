#include "dispatch/reply_table.h"

#include "app/shared_state.h"
#include "app/text.h"
#include "console/voice_call.h"
#include "device/staging.h"
#include "dispatch/mode_states.h"
#include "gps/analyzer.h"
#include "link/baud_search.h"
#include "link/module_init.h"
#include "remote/remote_access.h"
#include "sms/phone_book.h"
#include "sms/sms_tab.h"

namespace d7o::dispatch {

using app::contains;

namespace {
bool has(const app::SharedState* s, std::string_view part) {
  return contains(s->dispatch.receiveBuffer, part);
}
}  // namespace

// The reply rows in their order. The order is the tie-break between rows that test the
// same text ("OK" fires every row whose condition holds), so rows are never re-ordered
// and a capability adds its action to its row here instead of testing replies elsewhere.
std::vector<ReplyRow> makeReplyTable(const ReplyTargets& to) {
  // Rows keep pointers to the program-wide state and the subsystems, which live as long
  // as the program.
  app::SharedState* s = &to.state;
  link::BaudSearch* search = &to.baudSearch;
  link::ModuleInit* init = &to.moduleInit;
  ModeStates* modes = &to.modes;
  console::VoiceCall* voice = &to.voice;
  device::Staging* staging = &to.staging;
  gps::Analyzer* gpsAnalyzer = &to.gps;
  sms::SmsTab* sms = &to.sms;
  sms::PhoneBook* book = &to.phoneBook;
  remote::RemoteAccess* remote = &to.remote;
  // Wraps a handler that never ends the handling of the reply.
  auto then = [](auto handler) {
    return [handler]() {
      handler();
      return Flow::Continue;
    };
  };

  return {
      {1, "\"OK\" while the baud-rate search runs",
       [s] { return s->link.baudSearchActive && has(s, "OK"); },
       then([search] { search->modemAnswered(); })},
      {2, "\"I/OK\"", [s] { return has(s, "I/OK"); }, then([init] { init->iChipAnswered(); })},
      {3, "\"OK\" while the wake-up waits for it",
       [s] { return s->link.initAwaitingOk && has(s, "OK"); },
       then([init] { init->moduleAnswered(); })},
      // A lone line end is no reply: it stays as the head of the next one (the modem's
      // "\r\nOK\r\n" may arrive in two pieces), and must not use up the wait for the OK.
      {4, "any reply while the remote tool returns to local mode",
       [s] {
         const std::string& b = s->dispatch.receiveBuffer;
         return s->dispatch.remoteLocalModePending && b != " " && b != "  ";
       },
       then([s, remote] { remote->firstReplyAfterStop(has(s, "OK")); })},
      {5, "\"CONNECT\"", [s] { return has(s, "CONNECT"); },
       then([remote] { remote->connected(); })},
      {6, "\"CARRIER\"", [s] { return has(s, "CARRIER"); },
       then([remote] { remote->callEnded("NO CARRIER received"); })},
      {7, "\"BUSY\"", [s] { return has(s, "BUSY"); },
       then([remote] { remote->callEnded("BUSY received"); })},
      {8, "\"NO DIALTONE\"", [s] { return has(s, "NO DIALTONE"); },
       then([remote] { remote->callEnded("NO DIALTONE received"); })},
      {9, "\"OK\" while the interval request waits",
       [s] { return s->dispatch.intervalRequestPending && has(s, "OK"); },
       then([gpsAnalyzer] { gpsAnalyzer->intervalOk(); })},
      {10, "an NMEA sentence",
       [s] { return has(s, "$GPGGA") || has(s, "$GPRMC") || has(s, "$GPGSV") || has(s, "$GPGSA"); },
       then([modes] { modes->gpsSentenceSeen(); })},
      {11, "any reply in GPS receive mode", [s] { return s->dispatch.gpsReceiveMode; },
       then([modes, gpsAnalyzer] {
         modes->gpsStreamReply();
         gpsAnalyzer->evaluateStreamReply();
       })},
      {12, "any reply (GPS time from GGA/RMC, else the PC clock)", [] { return true; },
       then([gpsAnalyzer] { gpsAnalyzer->showClock(); })},
      {13, "\"ERROR\"", [s] { return has(s, "ERROR"); }, then([init] { init->errorReply(); })},
      {14, "\"+CME ERROR: 10\"", [s] { return has(s, "+CME ERROR: 10"); },
       then([init] { init->simError("...can't read SIM card"); })},
      {15, "\"+CME ERROR: 13\"", [s] { return has(s, "+CME ERROR: 13"); },
       then([init] { init->simError("...no SIM card inserted..."); })},
      {16, "\"TARVIK\" in the upper-cased reply",
       [s] { return app::containsUpperCased(s->dispatch.receiveBuffer, "TARVIK"); },
       then([init] { init->firmwareReply(); })},
      {17, "\"$CNFOK\"", [s] { return has(s, "$CNFOK"); },
       then([staging] { staging->configurationAccepted(); })},
      {18, "\"OK\" or \"+CMS ERROR: 0\" while all SMS are deleted",
       [s] { return s->sms.smsDeleteRunning && (has(s, "OK") || has(s, "+CMS ERROR: 0")); },
       then([sms] { sms->deletionAnswered(); })},
      {19, "\"+CPMS: \"", [s] { return has(s, "+CPMS: "); }, then([sms] { sms->storeCounts(); })},
      {20, "\"+CMTI:\"", [s] { return has(s, "+CMTI:"); }, then([sms] { sms->newMessage(); })},
      {21, "any reply while the manufacturer is asked",
       [s] { return s->link.manufacturerQueryPending; },
       then([init] { init->manufacturerReply(); })},
      {22, "any reply after four without a manufacturer",
       [s] { return s->link.manufacturerTries == 4; },
       then([init] { init->manufacturerUnknown(); })},
      {23, "\"+CPBS: \" and a double quote", [s] { return has(s, "+CPBS: \""); },
       then([book] { book->storageSize(); })},
      {24, "\"+CPBR: \"", [s] { return has(s, "+CPBR: "); }, then([book] { book->entry(); })},
      // The prompt position is taken from every reply, so row 26 acts on this one's; a
      // reply with character 26 is the echo of a sent SMS text.
      {25, "any reply (the prompt position; character 26, the SMS text echo)", [] { return true; },
       then([s, sms] {
         const auto p = s->dispatch.receiveBuffer.find("> ");
         s->dispatch.promptPos = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
         sms->textEcho();
       })},
      {26, "the \"> \" prompt", [s] { return s->dispatch.promptPos > 0; },
       then([sms] { sms->prompt(); })},
      {27, "\"VOICE\"", [s] { return has(s, "VOICE"); },
       then([voice] { voice->voiceIndication(); })},
      {28, "\"IFC=2,2\" (the handshake echo)", [s] { return has(s, "IFC=2,2"); },
       [s] {
         s->link.hwHandshakeReported = true;
         return Flow::Continue;
       }},
      {29, "\"IFC=0,0\"", [s] { return has(s, "IFC=0,0"); },
       [s] {
         s->link.hwHandshakeReported = false;
         return Flow::Continue;
       }},
      {30, "\"+CSCA: \" and a double quote", [s] { return has(s, "+CSCA: \""); },
       then([sms] { sms->serviceCentre(); })},
      {31, "\"+CMGF=1\"", [s] { return has(s, "+CMGF=1"); },
       then([sms] { sms->textModeConfirmed(); })},
      {32, "\"$ERROR\"", [s] { return has(s, "$ERROR"); },
       then([staging] { staging->commandRejected(); })},
      {33, "\"NO CARRIER\" or \"CMGS:\"", [s] { return has(s, "NO CARRIER") || has(s, "CMGS:"); },
       then([voice] { voice->callEnded(); })},
      {34, "\"+CSQ:\"", [s] { return has(s, "+CSQ:"); }, then([init] { init->fieldStrength(); })},
      {35, "\"+VGR: \"", [s] { return has(s, "+VGR: "); }, then([voice] { voice->receiveGain(); })},
      // The transmit gain is the last answer of the initialisation string.
      {36, "\"+VGT: \"", [s] { return has(s, "+VGT: "); }, then([voice, init] {
         voice->transmitGain();
         init->initComplete();
       })},
      {37, "\"+CREG\"", [s] { return has(s, "+CREG"); }, then([init] { init->registration(); })},
      {38, "\"NO CARRIER\"", [s] { return has(s, "NO CARRIER"); },
       then([voice] { voice->answerButtonOff(); })},
      {39, "\"BUSY\"", [s] { return has(s, "BUSY"); }, then([voice] { voice->answerButtonOff(); })},
      {40, "\"RING\"", [s] { return has(s, "RING"); }, then([voice] { voice->ring(); })},
      {41, "\"OK\" after the PIN was sent",
       [s] { return s->link.pinSentAwaitingOk && has(s, "OK"); },
       then([init] { init->pinAccepted(); })},
      {42, "\"+CPIN:\"", [s] { return has(s, "+CPIN:"); }, [init] { return init->simStatus(); }},
  };
}

}  // namespace d7o::dispatch
