// Audio: the gains every engine knows (AT+VGR, AT+VGT), the maker's ringer (AT+WCDM) and
// the SIEMENS engine's own audio commands (AT^SNFO, AT^SNFS, AT^SNFI, AT+CLVL). Which
// engine knows which is the command table's (command_table.cpp) business.
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

namespace d7o::sim {

namespace {

// "1,3000,6000" -> {1, 3000, 6000} when there are `count` figures, each in [min, max].
std::optional<std::vector<int>> figures(std::string_view text, std::size_t count, int min,
                                        int max) {
  const std::vector<std::string> parts = splitOutsideQuotes(text, ',');
  if (parts.size() != count) return std::nullopt;
  std::vector<int> out;
  for (const std::string& p : parts) {
    const auto v = numberIn(p, min, max);
    if (!v) return std::nullopt;
    out.push_back(*v);
  }
  return out;
}

std::string joined(const std::vector<int>& values) {
  std::string out;
  for (int v : values) out += (out.empty() ? "" : ",") + std::to_string(v);
  return out;
}

// "+VGR" or "+VGT", the gain a command is about.
std::string_view gainName(const AtCommand& c) {
  return std::string_view(c.text()).substr(0, 4);
}

int& gainOf(ModemConfig& config, const AtCommand& c) {
  return gainName(c) == "+VGR" ? config.receiveGain : config.transmitGain;
}

}  // namespace

// "+VGR?" -> "+VGR: 64"
bool ModemEngine::atGainQuery(const AtCommand& c, Answer& a) {
  a.info += framed(std::string(gainName(c)) + ": " + std::to_string(gainOf(m_config, c)));
  return true;
}

// "+VGT=?" -> "+VGT: (0-255)"
bool ModemEngine::atGainRange(const AtCommand& c, Answer& a) {
  a.info += framed(std::string(gainName(c)) + ": (0-255)");
  return true;
}

// "+VGR=64"
bool ModemEngine::atGainSet(const AtCommand& c, Answer&) {
  const auto v = numberIn(c.args(), 0, 255);
  if (!v) return false;
  gainOf(m_config, c) = *v;
  return true;
}

// "+WCDM?" -> "+WCDM: 7,1": melody, ringer output.
bool ModemEngine::atWcdmQuery(const AtCommand&, Answer& a) {
  a.info += framed("+WCDM: " + joined({m_audio.melody, m_audio.ringerOutput}));
  return true;
}

// "+WCDM=7,1": melody 0..10, ringer output 0 or 1.
bool ModemEngine::atWcdmSet(const AtCommand& c, Answer&) {
  const auto melody = figures(c.args(), 2, 0, 10);
  if (!melody || (*melody)[1] > 1) return false;
  m_audio.melody = (*melody)[0];
  m_audio.ringerOutput = (*melody)[1];
  return true;
}

// "+CLVL?" -> "+CLVL: 2"
bool ModemEngine::atClvlQuery(const AtCommand&, Answer& a) {
  a.info += framed("+CLVL: " + std::to_string(m_audio.speakerLevel));
  return true;
}

// "+CLVL=3": speaker level 0..4.
bool ModemEngine::atClvlSet(const AtCommand& c, Answer&) {
  const auto v = numberIn(c.args(), 0, 4);
  if (!v) return false;
  m_audio.speakerLevel = *v;
  return true;
}

// "^SNFS?" -> "^SNFS: 1"
bool ModemEngine::atSnfsQuery(const AtCommand&, Answer& a) {
  a.info += framed("^SNFS: " + std::to_string(m_audio.audioMode));
  return true;
}

// "^SNFS=4": audio mode 1..6.
bool ModemEngine::atSnfsSet(const AtCommand& c, Answer&) {
  const auto v = numberIn(c.args(), 1, 6);
  if (!v) return false;
  m_audio.audioMode = *v;
  return true;
}

// "^SNFI?" -> "^SNFI: 5,32767"
bool ModemEngine::atSnfiQuery(const AtCommand&, Answer& a) {
  a.info += framed("^SNFI: " + joined({m_audio.microphoneGain, m_audio.microphoneCalibration}));
  return true;
}

// "^SNFI=5,32767": microphone gain and calibration.
bool ModemEngine::atSnfiSet(const AtCommand& c, Answer&) {
  const auto v = figures(c.args(), 2, 0, 32767);
  if (!v) return false;
  m_audio.microphoneGain = (*v)[0];
  m_audio.microphoneCalibration = (*v)[1];
  return true;
}

// "^SNFO?" -> "^SNFO: 1,3000,6000,9000,12000,30000,4,4969"
bool ModemEngine::atSnfoQuery(const AtCommand&, Answer& a) {
  a.info += framed("^SNFO: " + joined(m_audio.outputCalibration));
  return true;
}

// "^SNFO=1,3000,6000,9000,12000,30000,4,4969": the output calibration, eight figures.
bool ModemEngine::atSnfoSet(const AtCommand& c, Answer&) {
  const auto v = figures(c.args(), 8, 0, 32767);
  if (!v) return false;
  m_audio.outputCalibration = *v;
  return true;
}

}  // namespace d7o::sim
