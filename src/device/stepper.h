#pragma once

#include "app/text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace d7o::device {

// A stepper's new caption: `delta` applied, then held inside lowest..highest. The captions
// only ever hold what the steppers wrote; anything else counts as its leading number.
inline std::string steppedCaption(const std::string& caption, int delta, int lowest, int highest) {
  const double value = std::clamp(app::numericValue(caption), -1e9, 1e9);
  const long long next = std::llround(value) + delta;
  return std::to_string(std::clamp<long long>(next, lowest, highest));
}

}  // namespace d7o::device
