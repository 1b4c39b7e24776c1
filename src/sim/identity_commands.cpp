// How the GSM engine inside the D7O names itself: manufacturer, model, revision, the IMEI
// and the SIM's IMSI, in the forms of GSM 07.07 (and ATI, which gives the first three).
#include "sim/modem_engine.h"
#include "sim/modem_text.h"

#include <string>

namespace d7o::sim {

namespace {

std::string manufacturerOf(Engine engine) {
  switch (engine) {
    case Engine::Maker:
      return "Tarvik GmbH";
    case Engine::Siemens:
      return "SIEMENS";
    case Engine::Brellstowen:
      return "BRELLSTOWEN";
    case Engine::Other:
      return "WAVECOM MODEM";
  }
  return "";
}

std::string modelOf(Engine engine) {
  switch (engine) {
    case Engine::Maker:
      return "D7O";
    case Engine::Siemens:
      return "TC35";
    case Engine::Brellstowen:
      return "B7O";
    case Engine::Other:
      return "MULTIBAND  900E  1800";
  }
  return "";
}

std::string revisionOf(Engine engine) {
  switch (engine) {
    case Engine::Siemens:
      return "REVISION 03.02";
    default:
      return "D7O 2.14";
  }
}

// A model or revision the scenario names wins over the engine's own.
std::string modelName(const ModemConfig& config) {
  return config.model.empty() ? modelOf(config.engine) : config.model;
}

std::string revisionName(const ModemConfig& config) {
  return config.revision.empty() ? revisionOf(config.engine) : config.revision;
}

}  // namespace

// "I" -> "Tarvik GmbH", "D7O", "D7O 2.14": one line each.
bool ModemEngine::atIdentify(const AtCommand&, Answer& a) {
  a.info += "\r\n" + manufacturerOf(m_config.engine) + "\r\n" + modelName(m_config) + "\r\n" +
            revisionName(m_config) + "\r\n";
  return true;
}

// "+CGMI" -> "SIEMENS"
bool ModemEngine::atCgmi(const AtCommand&, Answer& a) {
  a.info += framed(manufacturerOf(m_config.engine));
  return true;
}

// "+CGMM" -> "D7O"
bool ModemEngine::atCgmm(const AtCommand&, Answer& a) {
  a.info += framed(modelName(m_config));
  return true;
}

// "+CGMR" -> "D7O 2.14"
bool ModemEngine::atCgmr(const AtCommand&, Answer& a) {
  a.info += framed(revisionName(m_config));
  return true;
}

// "+CGSN" -> "356938035643809": the engine's own, with or without a SIM.
bool ModemEngine::atCgsn(const AtCommand&, Answer& a) {
  a.info += framed(m_config.imei);
  return true;
}

// "+CIMI" -> "262019876543210": read from the SIM, so only once it is unlocked.
bool ModemEngine::atCimi(const AtCommand&, Answer& a) {
  if (!simReady(a)) return false;
  a.info += framed(m_config.imsi);
  return true;
}

}  // namespace d7o::sim
