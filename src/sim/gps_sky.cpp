#include "sim/gps_sky.h"

#include "sim/gps_noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace d7o::sim {

namespace {

constexpr int kOrbits = 24;
// Of each cycle a satellite spends this long above the horizon; with the passes spread
// evenly, ten or eleven are up at any time.
constexpr long long kPassSeconds = GpsSky::kCycleSeconds * 45 / 100;
constexpr int kLowestElevation = 3;
constexpr int kTrackedFrom = 10;  // degrees: lower, the signal is lost in the ground clutter
constexpr int kUsedFromLevel = 25;

}  // namespace

GpsSky::GpsSky(std::uint32_t seed) : m_seed(seed) {
  // 24 of the 32 PRNs, chosen and ordered by the seed.
  std::vector<int> prns(32);
  for (int i = 0; i < 32; ++i) prns[static_cast<std::size_t>(i)] = i + 1;
  for (std::size_t i = prns.size() - 1; i > 0; --i) {
    const auto j = static_cast<std::size_t>(gpsHash(seed, 100 + i) % (i + 1));
    std::swap(prns[i], prns[j]);
  }
  for (int i = 0; i < kOrbits; ++i) {
    const auto k = static_cast<std::uint64_t>(i);
    Orbit o;
    o.prn = prns[static_cast<std::size_t>(i)];
    o.phase = kCycleSeconds * i / kOrbits + static_cast<long long>(gpsUnit(seed, 200 + k) * 40);
    o.maxElevation = 25 + static_cast<int>(gpsUnit(seed, 300 + k) * 63);  // 25..87
    o.riseAzimuth = gpsUnit(seed, 400 + k) * 360;
    o.sweep = (80 + gpsUnit(seed, 500 + k) * 140) * (gpsUnit(seed, 600 + k) < 0.5 ? -1 : 1);
    m_orbits.push_back(o);
  }
}

std::vector<Satellite> GpsSky::inView(long long second) const {
  std::vector<Satellite> out;
  const auto s = static_cast<std::uint64_t>(std::max(0LL, second));
  for (const Orbit& o : m_orbits) {
    const long long t = (std::max(0LL, second) + o.phase) % kCycleSeconds;
    if (t >= kPassSeconds) continue;
    const double u = (static_cast<double>(t) + 0.5) / static_cast<double>(kPassSeconds);
    const double rise = std::sin(std::numbers::pi * u);
    Satellite sat;
    sat.prn = o.prn;
    sat.elevation = kLowestElevation +
                    static_cast<int>(std::lround((o.maxElevation - kLowestElevation) * rise));
    double azimuth = std::fmod(o.riseAzimuth + o.sweep * u, 360.0);
    if (azimuth < 0) azimuth += 360;
    sat.azimuth = static_cast<int>(std::lround(azimuth)) % 360;
    const auto prn = static_cast<std::uint64_t>(o.prn);
    // Now and then a building stands between: a few seconds untracked.
    const bool shaded = gpsUnit(m_seed, 700 + prn, s / 7) < 0.06;
    if (sat.elevation >= kTrackedFrom && !shaded) {
      const double level = 22 + sat.elevation * 0.3 +
                           3 * std::sin(static_cast<double>(s) / 23.0 + static_cast<double>(prn)) +
                           (gpsUnit(m_seed, 800 + prn, s) - 0.5) * 4;
      sat.snr = std::clamp(static_cast<int>(std::lround(level)), 12, 54);
    }
    out.push_back(sat);
  }
  std::stable_sort(out.begin(), out.end(), [](const Satellite& a, const Satellite& b) {
    return a.elevation > b.elevation;
  });
  if (out.size() > static_cast<std::size_t>(kMaxInView)) out.resize(kMaxInView);
  std::sort(out.begin(), out.end(),
            [](const Satellite& a, const Satellite& b) { return a.prn < b.prn; });
  return out;
}

std::vector<Satellite> satellitesInUse(const std::vector<Satellite>& inView) {
  std::vector<Satellite> used;
  for (const Satellite& s : inView) {
    if (s.snr && *s.snr >= kUsedFromLevel && used.size() < 12) used.push_back(s);
  }
  return used;
}

}  // namespace d7o::sim
