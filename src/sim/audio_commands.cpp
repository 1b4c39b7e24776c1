// Audio: the gains every engine knows (AT+VGR, AT+VGT), the maker's ringer (AT+WCDM) and
// the SIEMENS engine's own audio commands (AT^SNFO, AT^SNFS, AT^SNFI, AT+CLVL).
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

namespace d7o::sim {

namespace {

// "+VGR=64" with prefix "+VGR=" -> 64 when it lies in [min, max].
std::optional<int> valueAfter(const std::string& c, std::string_view prefix, int min, int max) {
  return numberIn(std::string_view(c).substr(prefix.size()), min, max);
}

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

bool isSiemensCommand(const std::string& c) {
  return startsWith(c, "^SNF") || startsWith(c, "+CLVL");
}

}  // namespace

std::optional<bool> ModemEngine::runAudioCommand(const std::string& c, std::string& info) {
  for (auto [name, gain] :
       {std::pair{"+VGR", &m_config.receiveGain}, std::pair{"+VGT", &m_config.transmitGain}}) {
    const std::string prefix = std::string(name);
    if (c == prefix + "?") {
      info += framed(prefix + ": " + std::to_string(*gain));
      return true;
    }
    if (c == prefix + "=?") {
      info += framed(prefix + ": (0-255)");
      return true;
    }
    if (startsWith(c, prefix + "=")) {
      const auto v = valueAfter(c, prefix + "=", 0, 255);
      if (!v) return false;
      *gain = *v;
      return true;
    }
  }

  if (startsWith(c, "+WCDM")) {
    if (m_config.engine != Engine::Maker && m_config.engine != Engine::Brellstowen) return false;
    if (c == "+WCDM?") {
      info += framed("+WCDM: " + joined({m_audio.melody, m_audio.ringerOutput}));
      return true;
    }
    if (!startsWith(c, "+WCDM=")) return false;
    const std::string_view args = std::string_view(c).substr(6);
    const auto melody = figures(args, 2, 0, 10);
    if (!melody || (*melody)[1] > 1) return false;
    m_audio.melody = (*melody)[0];
    m_audio.ringerOutput = (*melody)[1];
    return true;
  }

  if (!isSiemensCommand(c)) return std::nullopt;
  if (m_config.engine != Engine::Siemens) return false;
  if (c == "+CLVL?") {
    info += framed("+CLVL: " + std::to_string(m_audio.speakerLevel));
    return true;
  }
  if (c == "^SNFS?") {
    info += framed("^SNFS: " + std::to_string(m_audio.audioMode));
    return true;
  }
  if (c == "^SNFI?") {
    info += framed("^SNFI: " + joined({m_audio.microphoneGain, m_audio.microphoneCalibration}));
    return true;
  }
  if (c == "^SNFO?") {
    info += framed("^SNFO: " + joined(m_audio.outputCalibration));
    return true;
  }
  if (startsWith(c, "+CLVL=")) {
    const auto v = valueAfter(c, "+CLVL=", 0, 4);
    if (!v) return false;
    m_audio.speakerLevel = *v;
    return true;
  }
  if (startsWith(c, "^SNFS=")) {
    const auto v = valueAfter(c, "^SNFS=", 1, 6);
    if (!v) return false;
    m_audio.audioMode = *v;
    return true;
  }
  if (startsWith(c, "^SNFI=")) {
    const auto v = figures(std::string_view(c).substr(6), 2, 0, 32767);
    if (!v) return false;
    m_audio.microphoneGain = (*v)[0];
    m_audio.microphoneCalibration = (*v)[1];
    return true;
  }
  if (startsWith(c, "^SNFO=")) {
    const auto v = figures(std::string_view(c).substr(6), 8, 0, 32767);
    if (!v) return false;
    m_audio.outputCalibration = *v;
    return true;
  }
  return false;
}

}  // namespace d7o::sim
