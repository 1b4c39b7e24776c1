// The AT commands the simulated D7O knows, one row each, and how a command line runs
// through them. The handlers live with their subject: modem_commands.cpp (the GSM engine's
// settings and status, the iChip), identity_commands.cpp, audio_commands.cpp,
// voice_calls.cpp, data_calls.cpp, phonebook_commands.cpp (the SIM phone book), and for SMS
// sms_settings.cpp, sms_store_commands.cpp, sms_sending.cpp.
#include "sim/command_table.h"

#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <cctype>
#include <string>
#include <vector>

namespace d7o::sim {

namespace {

constexpr EngineSet kSiemens = engineBit(Engine::Siemens);
// The maker's engine and the BRELLSTOWEN one share the maker's ringer command.
constexpr EngineSet kMakersRinger = engineBit(Engine::Maker) | engineBit(Engine::Brellstowen);

// One command of a line, and where it starts in the line.
struct Piece {
  std::string text;
  std::size_t start = 0;
  bool dial = false;
};

std::size_t digitsFrom(std::string_view text, std::size_t i) {
  while (i < text.size() && isDigit(text[i])) ++i;
  return i;
}

// The commands of a line's body (what follows "AT", blanks gone), as V.250 strings them:
// basic commands one after the other ("E1Q0V1S0=0&C1"), an extended one (+ or ^) up to the
// next ";" outside quotes, a dial to the end of the line. A ";" may also follow a basic
// command; one with nothing after it leaves an empty command, which no row knows. What is
// none of these is taken whole, and no row knows it either.
std::vector<Piece> commandsOf(std::string_view body) {
  std::vector<Piece> pieces;
  std::size_t i = 0;
  while (i < body.size()) {
    const std::size_t start = i;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(body[i])));
    bool dial = false;
    if (c == '+' || c == '^') {
      bool quoted = false;
      while (i < body.size() && (quoted || body[i] != ';')) quoted ^= body[i++] == '"';
    } else if (c == 'D') {
      i = body.size();
      dial = true;
    } else if (c == '&' && i + 1 < body.size() &&
               std::isalpha(static_cast<unsigned char>(body[i + 1]))) {
      i = digitsFrom(body, i + 2);
    } else if (c == 'S' && i + 1 < body.size() && isDigit(body[i + 1])) {
      i = digitsFrom(body, i + 1);
      if (i < body.size() && body[i] == '?') {
        ++i;
      } else if (i < body.size() && body[i] == '=') {
        i = digitsFrom(body, i + 1);
      }
    } else if (c >= 'A' && c <= 'Z') {
      i = digitsFrom(body, i + 1);
    } else {
      i = body.size();
    }
    pieces.push_back({std::string(body.substr(start, i - start)), start, dial});
    if (i < body.size() && body[i] == ';') {
      ++i;
      if (i == body.size() || body[i] == ';') pieces.push_back({"", i, false});
    }
  }
  return pieces;
}

bool matches(const CommandRow& row, const std::string& command, bool lineStart) {
  switch (row.match) {
    case Match::Exact:
      return command == row.name;
    case Match::Prefix:
      return startsWith(command, row.name);
    case Match::Line:
      return lineStart && startsWith(command, row.name);
  }
  return false;
}

}  // namespace

AtCommand::AtCommand(std::string raw, std::size_t nameLength, std::string_view rowInfo)
    : m_raw(std::move(raw)), m_text(upper(m_raw)), m_nameLength(nameLength), m_rowInfo(rowInfo) {}

std::span<const CommandRow> ModemEngine::commandTable() {
  using M = ModemEngine;
  // Where names overlap, the longer form comes first ("+IFC=?" before "+IFC=").
  static const CommandRow kRows[] = {
      // The basic commands of V.250: a letter (or "&" and a letter) and its value; the line
      // splitter (commandsOf) gives them one by one.
      {"E", Match::Prefix, &M::atEcho},
      {"Q", Match::Prefix, &M::atQuiet},
      {"V", Match::Prefix, &M::atVerbose},
      {"X", Match::Prefix, &M::atResultSet},
      {"M", Match::Prefix, &M::atSpeakerMode},
      {"L", Match::Prefix, &M::atSpeakerLevel},
      {"Z", Match::Prefix, &M::atRestoreProfile},
      {"&W", Match::Prefix, &M::atStoreProfile},
      {"&F", Match::Prefix, &M::atFactoryProfile},
      {"&C", Match::Prefix, &M::atDcdMode},
      {"&D", Match::Prefix, &M::atDtrMode},
      {"S", Match::Prefix, &M::atSRegister},
      {"+FCLASS=?", Match::Exact, &M::atRowInfo, kAnyEngine, "0"},
      {"+FCLASS?", Match::Exact, &M::atFclassQuery},
      {"+FCLASS=", Match::Prefix, &M::atFclassSet},
      // Settings the modem takes as given; what they set is outside what the program sees.
      {"+CPOF", Match::Exact, &M::atAccept},
      {"+CMEE=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CMEE: (0-2)"},
      {"+CMEE=", Match::Prefix, &M::atAccept},
      {"+CBST=", Match::Prefix, &M::atAccept},
      // The phone and the network.
      {"+CFUN=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CFUN: (0,1,4),(0,1)"},
      {"+CFUN?", Match::Exact, &M::atCfunQuery},
      {"+CFUN=", Match::Prefix, &M::atCfunSet},
      {"+CREG=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CREG: (0-2)"},
      {"+CREG=", Match::Prefix, &M::atCregSet},
      {"+CGREG=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CGREG: (0-2)"},
      {"+CGREG?", Match::Exact, &M::atCgregQuery},
      {"+CGREG=", Match::Prefix, &M::atCgregSet},
      {"+CGATT=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CGATT: (0)"},
      {"+CGATT?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CGATT: 0"},
      {"+CGATT=", Match::Prefix, &M::atCgattSet},
      {"+COPS=?", Match::Exact, &M::atCopsRange},
      {"+COPS?", Match::Exact, &M::atCopsQuery},
      {"+COPS=", Match::Prefix, &M::atCopsSet},
      {"+CCLK=?", Match::Exact, &M::atAccept},
      {"+CCLK?", Match::Exact, &M::atCclkQuery},
      {"+CCLK=", Match::Prefix, &M::atCclkSet},
      {"+CBC=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CBC: (0-3),(0-100)"},
      {"+CBC", Match::Exact, &M::atCbc},
      {"+CPWD=?", Match::Exact, &M::atRowInfo, kAnyEngine,
       "+CPWD: (\"SC\",8),(\"P2\",8),(\"AO\",4),(\"OI\",4),(\"AI\",4),(\"AB\",4)"},
      {"+CCFC=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CCFC: (0-5)"},
      {"+CCFC=", Match::Prefix, &M::atCcfc},
      {"+CUSD=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CUSD: (0-2)"},
      {"+CUSD?", Match::Exact, &M::atCusdQuery},
      {"+CUSD=", Match::Prefix, &M::atCusdSet},
      // The line rate: fixed, or 0, detected from each command line.
      {"+IPR=?", Match::Exact, &M::atRowInfo, kAnyEngine,
       "+IPR: (0,300,1200,2400,4800,9600,19200,38400,57600,115200),()"},
      {"+IPR?", Match::Exact, &M::atIprQuery},
      {"+IPR=", Match::Prefix, &M::atIprSet},
      {"+IFC=?", Match::Exact, &M::atIfcRange},
      {"+IFC?", Match::Exact, &M::atIfcQuery},
      {"+IFC=", Match::Prefix, &M::atIfcSet},
      // Any other form of these two is the GSM engine's too, never the iChip's.
      {"+IFC", Match::Prefix, &M::atReject},
      {"+IPR", Match::Prefix, &M::atReject},
      {"+I", Match::Line, &M::atIChip},
      {"+CPIN?", Match::Exact, &M::atCpinQuery},
      {"+CPIN=", Match::Prefix, &M::atCpinSet},
      // Identification; the V.250 forms (+GMI ...) answer as the GSM 07.07 ones.
      {"I", Match::Exact, &M::atIdentify},
      {"I0", Match::Exact, &M::atIdentify},
      {"+CGMI", Match::Exact, &M::atCgmi},
      {"+GMI", Match::Exact, &M::atCgmi},
      {"+CGMM", Match::Exact, &M::atCgmm},
      {"+GMM", Match::Exact, &M::atCgmm},
      {"+CGMR", Match::Exact, &M::atCgmr},
      {"+GMR", Match::Exact, &M::atCgmr},
      {"+CGSN", Match::Exact, &M::atCgsn},
      {"+GSN", Match::Exact, &M::atCgsn},
      {"+CIMI", Match::Exact, &M::atCimi},
      {"+CGMI=?", Match::Exact, &M::atAccept},
      {"+CGMM=?", Match::Exact, &M::atAccept},
      {"+CGMR=?", Match::Exact, &M::atAccept},
      {"+CGSN=?", Match::Exact, &M::atAccept},
      {"+CIMI=?", Match::Exact, &M::atAccept},
      {"+CSQ", Match::Exact, &M::atCsq},
      {"+CREG?", Match::Exact, &M::atCregQuery},
      // Audio.
      {"+VGR?", Match::Exact, &M::atGainQuery},
      {"+VGR=?", Match::Exact, &M::atGainRange},
      {"+VGR=", Match::Prefix, &M::atGainSet},
      {"+VGT?", Match::Exact, &M::atGainQuery},
      {"+VGT=?", Match::Exact, &M::atGainRange},
      {"+VGT=", Match::Prefix, &M::atGainSet},
      {"+WCDM?", Match::Exact, &M::atWcdmQuery, kMakersRinger},
      {"+WCDM=", Match::Prefix, &M::atWcdmSet, kMakersRinger},
      {"+CLVL?", Match::Exact, &M::atClvlQuery, kSiemens},
      {"+CLVL=", Match::Prefix, &M::atClvlSet, kSiemens},
      {"^SNFS?", Match::Exact, &M::atSnfsQuery, kSiemens},
      {"^SNFS=", Match::Prefix, &M::atSnfsSet, kSiemens},
      {"^SNFI?", Match::Exact, &M::atSnfiQuery, kSiemens},
      {"^SNFI=", Match::Prefix, &M::atSnfiSet, kSiemens},
      {"^SNFO?", Match::Exact, &M::atSnfoQuery, kSiemens},
      {"^SNFO=", Match::Prefix, &M::atSnfoSet, kSiemens},
      // SMS settings.
      {"+CMGF=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CMGF: (0,1)"},
      {"+CMGF?", Match::Exact, &M::atCmgfQuery},
      {"+CMGF=", Match::Prefix, &M::atCmgfSet},
      {"+CSMS=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CSMS: (0,1)"},
      {"+CSMS?", Match::Exact, &M::atCsmsQuery},
      {"+CSMS=", Match::Prefix, &M::atCsmsSet},
      {"+CNMI=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CNMI: (0-3),(0-3),(0,2),(0),(0,1)"},
      {"+CNMI?", Match::Exact, &M::atCnmiQuery},
      {"+CNMI=", Match::Prefix, &M::atCnmiSet},
      {"+CSMP=?", Match::Exact, &M::atAccept},
      {"+CSMP?", Match::Exact, &M::atCsmpQuery},
      {"+CSMP=", Match::Prefix, &M::atCsmpSet},
      {"+CSDH=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CSDH: (0,1)"},
      {"+CSDH?", Match::Exact, &M::atCsdhQuery},
      {"+CSDH=", Match::Prefix, &M::atCsdhSet},
      {"+CSCS=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CSCS: (\"GSM\",\"IRA\",\"UCS2\")"},
      {"+CSCS?", Match::Exact, &M::atCscsQuery},
      {"+CSCS=", Match::Prefix, &M::atCscsSet},
      {"+CSCA=?", Match::Exact, &M::atAccept},
      {"+CSCA?", Match::Exact, &M::atCscaQuery},
      {"+CSCA=", Match::Prefix, &M::atCscaSet},
      {"+CNMA=?", Match::Exact, &M::atAccept},
      {"+CNMA", Match::Prefix, &M::atCnma},
      // The message store and sending.
      {"+CPMS=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CPMS: (\"SM\"),(\"SM\"),(\"SM\")"},
      {"+CPMS?", Match::Exact, &M::atCpmsQuery},
      {"+CPMS=", Match::Prefix, &M::atCpmsSet},
      {"+CMGL=?", Match::Exact, &M::atCmglRange},
      {"+CMGL", Match::Prefix, &M::atCmgl},
      {"+CMGR=?", Match::Exact, &M::atAccept},
      {"+CMGR=", Match::Prefix, &M::atCmgr},
      {"+CMGD=?", Match::Exact, &M::atCmgdRange},
      {"+CMGD=", Match::Prefix, &M::atCmgd},
      {"+CMGS=?", Match::Exact, &M::atAccept},
      {"+CMGS=", Match::Prefix, &M::atCmgs},
      {"+CMGW=?", Match::Exact, &M::atAccept},
      {"+CMGW", Match::Prefix, &M::atCmgw},
      // The SIM phone book.
      {"+CPBS=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CPBS: (\"SM\")"},
      {"+CPBS?", Match::Exact, &M::atCpbsQuery},
      {"+CPBS=", Match::Prefix, &M::atCpbsSet},
      {"+CPBR=?", Match::Exact, &M::atCpbrRange},
      {"+CPBR=", Match::Prefix, &M::atCpbr},
      {"+CPBW=?", Match::Exact, &M::atCpbwRange},
      {"+CPBW=", Match::Prefix, &M::atCpbw},
      // Voice calls.
      {"D", Match::Line, &M::atDial},
      {"A", Match::Exact, &M::atAnswerCall},
      {"H", Match::Exact, &M::atHangUp},
      {"H0", Match::Exact, &M::atHangUp},
      {"+CHUP", Match::Exact, &M::atHangUp},
      {"+CHUP=?", Match::Exact, &M::atAccept},
      // The caller's number after each RING.
      // The extended ring ("+CRING: VOICE" before "RING") is always on; the setting is kept.
      {"+CRC=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CRC: (0,1)"},
      {"+CRC?", Match::Exact, &M::atCrcQuery},
      {"+CRC=", Match::Prefix, &M::atCrcSet},
      {"+CLIP=?", Match::Exact, &M::atRowInfo, kAnyEngine, "+CLIP: (0,1)"},
      {"+CLIP?", Match::Exact, &M::atClipQuery},
      {"+CLIP=", Match::Prefix, &M::atClipSet},
      // Back to online data mode during a data call.
      {"O", Match::Exact, &M::atOnline},
      {"O0", Match::Exact, &M::atOnline},
  };
  return kRows;
}

const CommandRow* ModemEngine::findCommand(const std::string& command, bool lineStart) const {
  const EngineSet engine = engineBit(m_config.engine);
  for (const CommandRow& row : commandTable()) {
    if ((row.engines & engine) != 0 && matches(row, command, lineStart)) return &row;
  }
  return nullptr;
}

std::string ModemEngine::answerAt(const std::string& line) {
  // Blanks count for nothing outside quoted strings: "AT + CMGL = 4" is "AT+CMGL=4".
  const std::string body = withoutBlanksOutsideQuotes(std::string_view(line).substr(2));
  // A rejected command ends its line with its own error, or "ERROR".
  const auto rejected = [this](const Answer& answer) {
    const bool named = !answer.final.empty() && answer.final != "OK";
    return informationText(answer.info) + resultLine(named ? answer.final : "ERROR");
  };
  if (body.empty()) return resultLine("OK");
  Answer answer;
  // "ATE1 S0=0;+CMEE=1;+VGR?" -> "E1", "S0=0", "+CMEE=1", "+VGR?"
  const std::vector<Piece> commands = commandsOf(body);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const Piece& piece = commands[i];
    const CommandRow* row = findCommand(upper(piece.text), i == 0 || piece.dial);
    if (row == nullptr) return rejected(answer);
    const bool takesLine = row->match == Match::Line;
    const AtCommand command(takesLine ? body.substr(piece.start) : piece.text, row->name.size(),
                            row->info);
    if (!(this->*row->handler)(command, answer)) return rejected(answer);
    if (takesLine) break;
    // A message's text follows its prompt, so AT+CMGS ends the line; a command after it
    // could never run.
    if (m_smsEntry && i + 1 < commands.size()) {
      m_smsEntry.reset();
      return rejected(answer);
    }
  }
  const std::string info = informationText(answer.info);
  if (m_smsEntry) return info + "\r\n> ";  // the prompt, without a line end
  return info + (answer.final.empty() ? "" : resultLine(answer.final));
}

}  // namespace d7o::sim
