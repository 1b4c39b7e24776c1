#pragma once

#include <cstdint>

namespace d7o::sim {

// Deterministic variation for the simulated receiver: the same seed and the same inputs
// always give the same value, so a drive replays exactly (splitmix64 finaliser).
inline std::uint64_t gpsHash(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0) {
  std::uint64_t z = seed * 0x9E3779B97F4A7C15ull + a * 0xBF58476D1CE4E5B9ull + b + 1;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// A value in [0, 1) drawn from the inputs.
inline double gpsUnit(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0) {
  return static_cast<double>(gpsHash(seed, a, b) >> 11) / 9007199254740992.0;  // 2^53
}

}  // namespace d7o::sim
