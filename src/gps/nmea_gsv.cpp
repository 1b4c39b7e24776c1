#include "app/text.h"
#include "gps/nmea_evaluation.h"
#include "gps/nmea_fields.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace d7o::gps {

namespace {
using forms::colors::kGreen;
using forms::colors::kRed;

// Fields of a GSV sentence after its name: "n,m,vv,pp,ee,aaa,ss,..." up to the checksum.
constexpr std::size_t kInViewField = 2;
constexpr std::size_t kFirstBlockField = 3;
constexpr std::size_t kBlockFields = 4;
constexpr double kWeakLevel = 31;  // dB below which a bar shows red

// The fields between the name's comma and the '*' (or the end of a cut sentence).
std::vector<std::string> fieldsOf(std::string_view text, std::size_t end) {
  std::vector<std::string> fields;
  const std::size_t first = text.find(',');
  if (first == std::string_view::npos || first >= end) return fields;
  std::size_t from = first + 1;
  while (true) {
    const std::size_t comma = text.find(',', from);
    const std::size_t to = comma == std::string_view::npos || comma > end ? end : comma;
    fields.emplace_back(text.substr(from, to - from));
    if (to == end) break;
    from = to + 1;
  }
  return fields;
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
  // The bar reaches 99 dB at most; a level field of any length (a receiver's, or noise)
  // stays within it.
  row.bar = static_cast<int>(std::clamp(level, 0.0, 99.0));
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
// Read by its comma-separated fields, so a receiver that leaves elevation or azimuth empty
// ("19,,,36") or counts the satellites in view with one digit ("9") is read as right as the
// device's own fixed-width sentences.
void CalculateGPGSV(const std::string& text, GpsFix& fix, NmeaState& state) {
  if (text.empty()) return;
  const auto star = nmea::position(text, "*");
  const std::size_t end = star ? *star - 1 : text.size();
  const std::vector<std::string> fields = fieldsOf(text, end);
  const auto field = [&fields](std::size_t k) {
    return k < fields.size() ? fields[k] : std::string();
  };
  fix.inView = field(kInViewField);
  if (!star) return;
  for (std::size_t k = kFirstBlockField; k < fields.size(); k += kBlockFields) {
    const std::string number = field(k);
    // No level: not tracked, as is a block without its number.
    const std::string levelText = number.empty() ? std::string() : field(k + 3);
    showSatellite(number, field(k + 1), field(k + 2),
                  levelText.empty() ? 0 : app::numericValue(levelText), fix, state);
  }
}

}  // namespace d7o::gps
