#pragma once

#include <cstdint>
#include <vector>

namespace d7o::sim {

// Where the vehicle carrying the device is, and how it moves, at one whole second.
struct Vehicle {
  double latitude = 0;   // degrees, south negative
  double longitude = 0;  // degrees, west negative, within [-180, 180)
  double speedKmh = 0;
  double course = 0;    // degrees true, within [0, 360)
  double altitude = 0;  // metres above mean sea level
  double distance = 0;  // metres driven since the start
};

// A drive that repeats: parked, out through town with lights and turns, a roundabout
// taken full circle, a country road, a loop of slip road onto the motorway, the motorway
// at up to 130 km/h, and back into town. Speeds change at a car's acceleration and
// braking; the seed only adds small variations, so one seed always drives the same way.
class GpsRoute {
 public:
  GpsRoute(double latitude, double longitude, std::uint32_t seed);

  // The vehicle `second` seconds after the start (0: where it starts, parked).
  const Vehicle& at(long long second);

  // One lap of the legs, in seconds.
  static long long lapSeconds();

 private:
  void step();

  double m_startLatitude;
  double m_startLongitude;
  std::uint32_t m_seed;
  long long m_second = 0;
  double m_plannedCourse = 0;  // the course the legs steer, before the small wander
  double m_plannedSpeed = 0;   // km/h as the driver holds it, before the small wander
  Vehicle m_vehicle;
};

}  // namespace d7o::sim
