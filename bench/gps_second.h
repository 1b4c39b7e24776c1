#pragma once

#include <array>
#include <string>

namespace d7o::bench {

// A second of a D7O in GPS receive mode (GGA, RMC, GSA and three GSV) as the receive
// buffer holds each reply, its CR LF turned into two blanks.
inline const std::array<std::string, 6> kGpsSecond = {
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47  ",
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A  ",
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39  ",
    "$GPGSV,3,1,11,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*7E  ",
    "$GPGSV,3,2,11,15,11,052,,18,64,117,42,21,33,280,38,22,08,045,31*7C  ",
    "$GPGSV,3,3,11,24,52,201,44,25,13,090,,29,05,160,22*70  ",
};

}  // namespace d7o::bench
