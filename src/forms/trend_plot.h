#pragma once

#include "forms/controls.h"

#include <cstdint>
#include <vector>

namespace d7o::forms {

// A point of a plot: a value (dBm, or the bit error rate) at a time. Where readings are
// denser than the plot's resolution, each slot gives its lowest and highest value, so no
// dip disappears.
struct TrendPoint {
  std::int64_t utcMillis = 0;
  double value = 0;
  bool operator==(const TrendPoint&) const = default;
};

// The registration state over a stretch of time.
struct RegistrationStretch {
  std::int64_t fromUtc = 0;
  std::int64_t toUtc = 0;
  int state = 0;
  bool operator==(const RegistrationStretch&) const = default;
};

// What a plot over time shows: the span, the field strength, the bit error rate and the
// registration beneath them. The program computes it; a view only draws it.
struct TrendPicture {
  std::int64_t fromUtc = 0;
  std::int64_t toUtc = 0;
  std::vector<TrendPoint> dbm;
  std::vector<TrendPoint> ber;
  std::vector<RegistrationStretch> registration;
  bool operator==(const TrendPicture&) const = default;
};

class TrendPlot : public Control {
 public:
  using Control::Control;
  const TrendPicture& picture() const { return m_picture; }
  void setPicture(TrendPicture picture) { assign(m_picture, std::move(picture)); }

 private:
  TrendPicture m_picture;
};

}  // namespace d7o::forms
