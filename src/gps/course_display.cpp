#include "gps/course_display.h"

#include "app/text.h"

#include <cmath>

namespace d7o::gps {

namespace {

struct Scale {
  forms::Rect r;
  int sx;  // pixels a degree along the width, truncated
  int sy;  // and along the height
};

// The classic end point for a mirror value on one of the five edges (both bounds of each
// range belong to it); nothing in the one-degree gaps between the ranges.
std::optional<forms::Point> onEdge(double w, const Scale& s) {
  const forms::Rect& r = s.r;
  auto px = [](double v) { return static_cast<int>(std::lround(v)); };
  if (w >= 0 && w <= 45) return forms::Point{px(r.left + r.width / 2 - s.sx * w), r.top};
  if (w >= 46 && w <= 135) return forms::Point{r.left, px(r.top + s.sy * (w - 45))};
  if (w >= 136 && w <= 225) return forms::Point{px(r.left + s.sx * (w - 135)), r.top + r.height};
  if (w >= 226 && w <= 315) {
    return forms::Point{r.left + r.width, px(r.top + r.height - s.sy * (w - 225))};
  }
  if (w >= 316 && w <= 360) return forms::Point{px(r.left + r.width - s.sx * (w - 315)), r.top};
  return std::nullopt;
}

}  // namespace

std::optional<forms::Point> needleEndFor(double course, const forms::Rect& panel) {
  if (!(course >= 0 && course <= 360)) return std::nullopt;
  const Scale s{panel, panel.width / 90, panel.height / 90};
  const double w = 360 - course;
  if (auto p = onEdge(w, s)) return p;
  // In a gap (45..46, 135..136, 225..226, 315..316): between the two neighbouring points.
  const double low = std::floor(w);
  const auto a = onEdge(low, s);
  const auto b = onEdge(low + 1, s);
  if (!a || !b) return std::nullopt;
  const double t = w - low;
  return forms::Point{static_cast<int>(std::lround(a->x + (b->x - a->x) * t)),
                      static_cast<int>(std::lround(a->y + (b->y - a->y) * t))};
}

void ShowDirection(forms::GpsForm& form) {
  const double course = app::numericValue(form.Label92.caption());
  if (auto end = needleEndFor(course, forms::GpsForm::kPanel1))
    form.Line1.setPoint1(end->x, end->y);
}

}  // namespace d7o::gps
