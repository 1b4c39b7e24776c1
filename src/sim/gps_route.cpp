#include "sim/gps_route.h"

#include "sim/gps_noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace d7o::sim {

namespace {

// One stretch of the drive: how long, the speed the driver aims for, and how fast the
// course turns while moving (degrees per second, positive to the right).
struct Leg {
  int seconds;
  double kmh;
  double turn;
};

// Odd turn rates on purpose: courses come out with tenths, and the roundabout and the
// slip-road loop between them sweep every course from 0 to 360.
constexpr std::array<Leg, 21> kLegs{{
    {10, 0, 0},        // parked
    {20, 30, 0},       // pulling out
    {7, 20, 12.9},     // right turn
    {35, 50, 0},       // town
    {14, 0, 0},        // red light
    {25, 50, 0},       // town
    {8, 20, -11.3},    // left turn
    {20, 45, 0},       // town
    {27, 25, 14.1},    // once round the roundabout and off
    {30, 70, 0.9},     // out of town
    {60, 100, -1.35},  // country road, long bend
    {40, 100, 1.1},    // and back
    {32, 50, -8.7},    // slip-road loop
    {30, 120, 0},      // merging
    {150, 130, 0.23},  // motorway
    {60, 125, -0.31},  // motorway
    {25, 80, 3.3},     // exit ramp
    {15, 50, 0},       // into town
    {10, 30, -9.5},    // turning into a side street
    {30, 50, 0},       // town
    {12, 0, 0},        // parking
}};

constexpr double kAccelerationKmhPerSecond = 6;  // about 1.7 m/s²
constexpr double kBrakingKmhPerSecond = 9;       // about 2.5 m/s²
constexpr double kEarthRadius = 6371000;
constexpr double kDegree = std::numbers::pi / 180;

const Leg& legAt(long long secondOfLap) {
  for (const Leg& leg : kLegs) {
    if (secondOfLap < leg.seconds) return leg;
    secondOfLap -= leg.seconds;
  }
  return kLegs.back();
}

double wrapCourse(double course) {
  const double c = std::fmod(course, 360.0);
  return c < 0 ? c + 360.0 : c;
}

double wrapLongitude(double longitude) {
  const double l = std::fmod(longitude + 180.0, 360.0);
  return (l < 0 ? l + 360.0 : l) - 180.0;
}

}  // namespace

long long GpsRoute::lapSeconds() {
  long long total = 0;
  for (const Leg& leg : kLegs) total += leg.seconds;
  return total;
}

GpsRoute::GpsRoute(double latitude, double longitude, std::uint32_t seed)
    : m_startLatitude(std::clamp(latitude, -90.0, 90.0)),
      m_startLongitude(wrapLongitude(longitude)),
      m_seed(seed) {
  m_vehicle.latitude = m_startLatitude;
  m_vehicle.longitude = m_startLongitude;
  m_vehicle.altitude = 520;
}

const Vehicle& GpsRoute::at(long long second) {
  second = std::max(0LL, second);
  if (second < m_second) *this = GpsRoute(m_startLatitude, m_startLongitude, m_seed);
  while (m_second < second) step();
  return m_vehicle;
}

// Drives one second: the speed moves towards the leg's, the course turns while the car
// rolls, and the position follows the great circle of the course for the distance covered.
void GpsRoute::step() {
  const Leg& leg = legAt(m_second % lapSeconds());
  const double before = m_plannedSpeed;
  m_plannedSpeed = before < leg.kmh ? std::min(leg.kmh, before + kAccelerationKmhPerSecond)
                                    : std::max(leg.kmh, before - kBrakingKmhPerSecond);
  const double metres = (before + m_plannedSpeed) / 2 / 3.6;
  if (metres > 0.5) m_plannedCourse = wrapCourse(m_plannedCourse + leg.turn);
  ++m_second;

  Vehicle& v = m_vehicle;
  const auto s = static_cast<std::uint64_t>(m_second);
  // A driver never holds speed or line exactly; a parked car stands still.
  if (m_plannedSpeed > 0) {
    const double wobble = std::min(2.0, m_plannedSpeed * 0.04);
    v.speedKmh = std::max(0.0, m_plannedSpeed + (gpsUnit(m_seed, s, 1) - 0.5) * wobble);
    v.course = wrapCourse(m_plannedCourse + (gpsUnit(m_seed, s, 2) - 0.5) * 0.8);
  } else {
    v.speedKmh = 0;
  }
  if (metres > 0) {
    const double lat = v.latitude * kDegree;
    const double lon = v.longitude * kDegree;
    const double angle = metres / kEarthRadius;
    const double bearing = v.course * kDegree;
    const double lat2 = std::asin(std::sin(lat) * std::cos(angle) +
                                  std::cos(lat) * std::sin(angle) * std::cos(bearing));
    const double lon2 = lon + std::atan2(std::sin(bearing) * std::sin(angle) * std::cos(lat),
                                         std::cos(angle) - std::sin(lat) * std::sin(lat2));
    v.latitude = lat2 / kDegree;
    v.longitude = wrapLongitude(lon2 / kDegree);
    v.distance += metres;
  }
  v.altitude = 520 + 22 * std::sin(v.distance / 1800) + 9 * std::sin(v.distance / 430);
}

}  // namespace d7o::sim
