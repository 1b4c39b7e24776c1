#include "app/text.h"
#include "gps/nmea_evaluation.h"
#include "gps/nmea_fields.h"

namespace d7o::gps {

namespace {
using forms::colors::kGreen;
using forms::colors::kRed;

// The analyzer reads GSV by fixed character positions (1-based), which holds while every
// field has its usual width: "$GPGSV,n,m,vv," puts the satellites in view at 12 and the
// first block at 15; a block "pp,ee,aaa,ss," is 13 characters, 11 when its level is empty.
constexpr std::size_t kInViewAt = 12;
constexpr std::size_t kFirstBlockAt = 15;
constexpr std::size_t kBlockLength = 13;
constexpr std::size_t kBlockWithoutLevel = 11;
constexpr double kWeakLevel = 31;  // dB below which a bar shows red

bool has(const std::string& text, char c) {
  return text.find(c) != std::string::npos;
}

// The table row after `pointer`, wrapping after the last; a pointer out of range (none
// filled yet) starts at row 1.
int nextRow(int pointer) {
  return pointer >= 1 && pointer < kSatelliteSlots ? pointer + 1 : 1;
}

// One satellite's block: updates its row or, when it is new and heard, takes the row
// after the last one filled.
void showSatellite(const std::string& number, const std::string& elevation,
                   const std::string& azimuth, double level, GpsFix& fix, NmeaState& state) {
  bool found = false;
  for (auto& row : fix.satellites) {
    if (row.nr.empty()) {
      row.lev.clear();
    } else if (row.nr == number) {
      found = true;
      row.lev = nmea::generalText(level);
      // A satellite no longer heard leaves the table.
      if (level == 0) {
        row.nr.clear();
        row.el.clear();
        row.az.clear();
        row.lev.clear();
        row.bar = 0;
      }
    }
  }
  if (found || !(level > 0)) return;
  state.satelliteSlotPointer = nextRow(state.satelliteSlotPointer);
  auto& row = fix.satellites[static_cast<std::size_t>(state.satelliteSlotPointer - 1)];
  row.nr = number;
  row.el = elevation;
  row.az = azimuth;
  row.lev = nmea::generalText(level);
  row.bar = static_cast<int>(level);  // two characters: at most 99
  row.barColor = level < kWeakLevel ? kRed : kGreen;
}
}  // namespace

// $GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75
//   1  2          sentences in this group
//   2  1          number of this sentence
//   3  08         satellites in view
//   4  01         satellite PRN
//   5  40         elevation, degrees
//   6  083        azimuth, degrees
//   7  46         SNR in dB, empty when not tracking
//      4-7 again for up to four satellites per sentence
void CalculateGPGSV(const std::string& text, GpsFix& fix, NmeaState& state) {
  if (text.empty()) return;
  fix.inView = app::mid(text, kInViewAt, 2);

  const auto star = nmea::position(text, "*");
  if (!star) return;
  std::size_t p = kFirstBlockAt;
  while (p < *star) {
    const std::string number = app::mid(text, p, 2);
    const std::string elevation = app::mid(text, p + 3, 2);
    const std::string azimuth = app::mid(text, p + 6, 3);
    std::string levelText = app::mid(text, p + 10, 2);
    std::size_t next = kBlockLength;
    if (has(levelText, '*')) levelText = "0";  // last block, level empty
    if (has(levelText, ',')) {
      levelText = "0";
      next = kBlockWithoutLevel;
    }
    if (has(number, ',') || has(elevation, ',') || has(azimuth, ',')) levelText = "0";
    showSatellite(number, elevation, azimuth, app::numericValue(levelText), fix, state);
    p += next;
  }
}

}  // namespace d7o::gps
