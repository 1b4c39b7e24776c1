// The device's alarm inputs: an edge on IN1..IN3 reported as its KEY line says.
#include "sim/modem_engine.h"
#include "sim/nmea_sentences.h"

#include <string>

namespace d7o::sim {

namespace {

bool listensFor(char edge, bool rising) {
  switch (edge) {
    case 'L':
      return rising;
    case 'H':
      return !rising;
    case 'E':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<AlarmReport> ModemEngine::inputEdge(int input, bool rising) {
  if (input < 1 || input > static_cast<int>(m_device.keys.size())) return std::nullopt;
  if (!m_config.powered || m_restarting) return std::nullopt;
  const std::optional<AlarmKey>& key = m_device.keys[static_cast<std::size_t>(input - 1)];
  if (!key || key->kind == '\0' || !listensFor(key->edge, rising)) return std::nullopt;

  AlarmReport report;
  report.input = input;
  report.kind = key->kind;
  report.number = key->number;
  report.text = key->text;
  if (key->position) {
    std::string rmc = rmcSentence(gpsReading());
    while (!rmc.empty() && (rmc.back() == '\r' || rmc.back() == '\n')) rmc.pop_back();
    report.text += " " + rmc;
  }
  if (key->kind == 'S') {
    // The device's message goes out through the modem like one the program sends.
    SmsEntry entry;
    entry.number = key->number;
    entry.typed = report.text;
    SentSms sent;
    if (!sendSms(entry, sent)) {
      report.passedOn = true;
      m_sentSms.push_back(std::move(sent));
    } else {
      ++m_device.failedAlarms;
    }
  }
  m_alarmReports.push_back(report);
  return report;
}

}  // namespace d7o::sim
