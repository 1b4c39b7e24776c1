#include "gps/statistics_panel.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace d7o::gps {

using namespace forms::colors;

namespace {

constexpr std::array<SentenceType, kSentenceTypes> kRows = {SentenceType::Gga, SentenceType::Rmc,
                                                            SentenceType::Gsa, SentenceType::Gsv,
                                                            SentenceType::Other};

std::string numberText(std::uint64_t value) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, end);
}

// One decimal, rounded: 9.96 -> "10.0".
std::string tenthsText(std::int64_t tenths) {
  return numberText(static_cast<std::uint64_t>(tenths / 10)) + '.' +
         static_cast<char>('0' + tenths % 10);
}

}  // namespace

std::string rateText(double perSecond) {
  if (!(perSecond > 0)) return "0.0";
  return tenthsText(static_cast<std::int64_t>(perSecond * 10 + 0.5));
}

std::string ageText(std::optional<NmeaStatistics::Millis> age) {
  if (!age) return "-";
  const std::int64_t ms = age->count();
  // Tenths while a sentence is due several times a second; whole seconds once it is late.
  if (ms < 9950) return tenthsText((ms + 50) / 100) + " s";
  return numberText(static_cast<std::uint64_t>((ms + 500) / 1000)) + " s";
}

StatisticsPanel::StatisticsPanel(app::Context& ctx, NmeaStatistics& statistics)
    : m_ctx(ctx), m_statistics(statistics) {
  auto& g = m_ctx.gpsForm;
  g.CheckStatistics.Click.connect([this] { CheckStatistics_Click(); });
  g.StatReset.Click.connect([this] { StatReset_Click(); });
  g.StatisticsTimer.Tick.connect([this] { StatisticsTimer_Tick(); });
}

void StatisticsPanel::CheckStatistics_Click() {
  auto& g = m_ctx.gpsForm;
  const bool shown = g.CheckStatistics.checked();
  // Filled before it shows, so it never opens with empty or old values.
  if (shown) show();
  g.NmeaStatistics.setVisible(shown);
  g.CheckStatistics.setCaption(shown ? "hide statistics" : "show statistics");
  g.StatisticsTimer.setEnabled(shown);
}

void StatisticsPanel::StatReset_Click() {
  m_statistics.reset(m_ctx.scheduler.now());
  show();
}

void StatisticsPanel::StatisticsTimer_Tick() {
  const auto& g = m_ctx.gpsForm;
  // The analyzer runs in the background while its window is closed: nothing to paint.
  if (!g.visible() || !g.NmeaStatistics.visible()) return;
  show();
}

void StatisticsPanel::show() {
  auto& g = m_ctx.gpsForm;
  const NmeaStatistics& s = m_statistics;
  const auto now = m_ctx.scheduler.now();
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const SentenceType type = kRows[i];
    g.StatCount[i].setCaption(numberText(s.count(type)));
    g.StatRate[i].setCaption(rateText(s.perSecond(type, now)));
    const std::uint64_t bad = s.badChecksums(type);
    g.StatBad[i].setCaption(numberText(bad));
    g.StatBad[i].setBackColor(bad > 0 ? kRed : kSystemButtonFace);
    g.StatAge[i].setCaption(ageText(s.age(type, now)));
  }
  g.StatBytes.setCaption(numberText(s.bytes()));
  g.StatWithoutChecksum.setCaption(numberText(s.withoutChecksum()));
  g.StatNoNmea.setCaption(numberText(s.noNmea()));
}

}  // namespace d7o::gps
