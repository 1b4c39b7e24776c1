#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace d7o::sim {

enum class Engine;
class ModemEngine;

// One command of a command line as its row receives it: "AT+CPIN=\"Ab12\";+CSQ" gives
// "+CPIN=\"Ab12\"" to the "+CPIN=" row, with "\"AB12\"" as its arguments.
class AtCommand {
 public:
  AtCommand(std::string raw, std::size_t nameLength, std::string_view rowInfo = {});

  const std::string& text() const { return m_text; }  // upper-cased
  const std::string& raw() const { return m_raw; }    // as typed, for texts whose case counts
  // What follows the row's name: "64" of "+VGR=64".
  std::string_view args() const { return std::string_view(m_text).substr(m_nameLength); }
  std::string_view rawArgs() const { return std::string_view(m_raw).substr(m_nameLength); }
  // The fixed information line of the row that runs it (CommandRow::info).
  std::string_view rowInfo() const { return m_rowInfo; }

 private:
  std::string m_raw;
  std::string m_text;
  std::size_t m_nameLength;
  std::string_view m_rowInfo;
};

// What the commands of one line have answered so far.
struct Answer {
  std::string info;  // information lines, framed, in the order of the commands
  // The final result; a command that rejects may name its own ("+CME ERROR: 16"), else the
  // line ends with "ERROR". Empty: the result follows later (a dial's ring-out).
  std::string final = "OK";
};

// How a row's name matches a command.
enum class Match {
  Exact,   // the whole command: "+CSQ", "+CREG?"
  Prefix,  // the command starts with it and the handler reads the rest: "+CPIN=", "S0="
  // Only as the first command of a line, which it takes whole, ";" included, and ends: a
  // dial string, or an iChip command the GSM engine never sees.
  Line,
};

// The engines that know a command, as a set of bits.
using EngineSet = unsigned;
constexpr EngineSet engineBit(Engine e) {
  return 1u << static_cast<unsigned>(e);
}
inline constexpr EngineSet kAnyEngine = ~0u;

// One row of the modem's command table. The first row, in table order, whose name matches
// and whose engine set holds the modem's engine runs the command; none: "ERROR".
struct CommandRow {
  std::string_view name;
  Match match;
  // False: the modem rejects the command, and the rest of its line is not run.
  bool (ModemEngine::*handler)(const AtCommand& command, Answer& answer);
  EngineSet engines = kAnyEngine;
  // A fixed information line, for rows whose answer never changes (a test form's ranges).
  std::string_view info = {};
};

}  // namespace d7o::sim
