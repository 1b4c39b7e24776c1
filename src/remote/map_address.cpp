#include "remote/map_address.h"

namespace d7o::remote {

std::string signedDegrees(std::string_view degrees, std::string_view hemisphere) {
  std::string out(degrees);
  const bool southOrWest = hemisphere == "S" || hemisphere == "W";
  if (southOrWest && !out.empty() && out.front() != '-') out.insert(out.begin(), '-');
  return out;
}

std::string mapQuestAddress(std::string_view host, const MapPosition& p, int zoom) {
  std::string base(host);
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base +
         "/maps/map.adp?latlongtype=decimal&latitude=" + signedDegrees(p.latitude, p.northSouth) +
         "&longitude=" + signedDegrees(p.longitude, p.eastWest) + "&zoom=" + std::to_string(zoom);
}

std::string openStreetMapAddress(const MapPosition& p, int zoom) {
  const std::string lat = signedDegrees(p.latitude, p.northSouth);
  const std::string lon = signedDegrees(p.longitude, p.eastWest);
  return "https://www.openstreetmap.org/?mlat=" + lat + "&mlon=" + lon +
         "#map=" + std::to_string(zoom) + "/" + lat + "/" + lon;
}

}  // namespace d7o::remote
