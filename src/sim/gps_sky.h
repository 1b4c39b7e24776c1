#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace d7o::sim {

// One satellite as the receiver sees it.
struct Satellite {
  int prn = 0;
  int elevation = 0;       // degrees, 0..90
  int azimuth = 0;         // degrees true, 0..359
  std::optional<int> snr;  // dB; none while the receiver does not track it
};

// The satellites above the horizon. Each crosses the sky on a pass of its own and sets
// again, in a sky that turns far faster than the real one, so a drive of an hour sees the
// whole constellation come and go. Levels rise with elevation and flicker; a satellite low
// on the horizon, or now and then one behind a building, is in view but not tracked.
class GpsSky {
 public:
  explicit GpsSky(std::uint32_t seed);

  // In view at `second` after the start, by PRN; the highest kMaxInView when more are up.
  std::vector<Satellite> inView(long long second) const;

  static constexpr int kMaxInView = 12;
  // A satellite rises again this long after it rose.
  static constexpr long long kCycleSeconds = 2400;

 private:
  struct Orbit {
    int prn;
    long long phase;  // seconds into its cycle at the start
    int maxElevation;
    double riseAzimuth;
    double sweep;  // degrees of azimuth from rise to set, either way round
  };
  std::uint32_t m_seed;
  std::vector<Orbit> m_orbits;
};

// The satellites a fix uses: tracked, high enough, at most twelve (the GSA places), in
// the order given.
std::vector<Satellite> satellitesInUse(const std::vector<Satellite>& inView);

}  // namespace d7o::sim
