#pragma once

#include <string>
#include <string_view>

namespace d7o::remote {

// The last position the GPS analyzer shows: decimal degrees as its labels read, and the
// hemisphere letters beside them.
struct MapPosition {
  std::string latitude;
  std::string northSouth;  // "N" or "S"
  std::string longitude;
  std::string eastWest;  // "E" or "W"
};

inline constexpr std::string_view kMapQuestHost = "https://www.mapquest.com";
inline constexpr int kZoomed = 9;
inline constexpr int kOverview = 7;

// The degrees as a map takes them: south and west negative. "33.9" with "S" -> "-33.9".
std::string signedDegrees(std::string_view degrees, std::string_view hemisphere);

// "<host>/maps/map.adp?latlongtype=decimal&latitude=..&longitude=..&zoom=9"
std::string mapQuestAddress(std::string_view host, const MapPosition& p, int zoom);

// The same place on openstreetmap.org, with a marker.
std::string openStreetMapAddress(const MapPosition& p, int zoom);

}  // namespace d7o::remote
