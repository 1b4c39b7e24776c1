// The compass needle of the analyzer for every course over ground.
#include "gps/course_display.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace d7o::gps {
namespace {

using forms::Point;
using forms::Rect;

// A panel whose size is no multiple of 90, so the truncated scale shows.
constexpr Rect kPanel{100, 50, 200, 185};  // sx = 2, sy = 2

TEST(CourseDisplay, IntegerCoursesLandOnTheClassicPoints) {
  struct Case {
    double course;
    Point end;
  };
  const Case cases[] = {
      {0, {100 + 200 - 45 * 2, 50}},    // top, right of the centre
      {360, {100 + 100, 50}},           // top centre
      {90, {300, 50 + 185 - 45 * 2}},   // right edge
      {180, {100 + 45 * 2, 235}},       // bottom edge
      {270, {100, 50 + 45 * 2}},        // left edge
      {315, {100 + 100 - 45 * 2, 50}},  // w = 45: top left end of its range
      {314, {100, 50 + 2}},             // w = 46: left edge top
      {225, {100, 50 + 90 * 2}},        // w = 135
      {224, {100 + 2, 235}},            // w = 136
      {135, {100 + 90 * 2, 235}},       // w = 225
      {134, {300, 235 - 2}},            // w = 226
      {45, {300, 235 - 90 * 2}},        // w = 315
      {44, {300 - 2, 50}},              // w = 316
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.course);
    const auto end = needleEndFor(c.course, kPanel);
    ASSERT_TRUE(end.has_value());
    EXPECT_EQ(end->x, c.end.x);
    EXPECT_EQ(end->y, c.end.y);
  }
}

TEST(CourseDisplay, FractionalCoursesInTheGapsMoveTheNeedleToo) {
  // 314.5 lies between 315 (w 45) and 314 (w 46): halfway between their points.
  const auto a = needleEndFor(315, kPanel);
  const auto b = needleEndFor(314, kPanel);
  const auto mid = needleEndFor(314.5, kPanel);
  ASSERT_TRUE(a && b && mid);
  EXPECT_EQ(mid->x, (a->x + b->x) / 2);
  EXPECT_EQ(mid->y, (a->y + b->y + 1) / 2);
  for (double course = 0; course <= 360; course += 0.25) {
    SCOPED_TRACE(course);
    const auto end = needleEndFor(course, kPanel);
    ASSERT_TRUE(end.has_value());
    const double w = 360 - course;
    const bool inGap =
        (w > 45 && w < 46) || (w > 135 && w < 136) || (w > 225 && w < 226) || (w > 315 && w < 316);
    if (inGap) {
      // Between its two neighbours.
      const auto lo = needleEndFor(std::ceil(course), kPanel);
      const auto hi = needleEndFor(std::floor(course), kPanel);
      EXPECT_GE(end->x, std::min(lo->x, hi->x));
      EXPECT_LE(end->x, std::max(lo->x, hi->x));
      EXPECT_GE(end->y, std::min(lo->y, hi->y));
      EXPECT_LE(end->y, std::max(lo->y, hi->y));
    } else {
      const bool onVertical = end->x == kPanel.left || end->x == kPanel.left + kPanel.width;
      const bool onHorizontal = end->y == kPanel.top || end->y == kPanel.top + kPanel.height;
      EXPECT_TRUE(onVertical || onHorizontal);
    }
  }
}

TEST(CourseDisplay, CoursesOutsideTheCircleLeaveTheNeedle) {
  EXPECT_FALSE(needleEndFor(-1, kPanel));
  EXPECT_FALSE(needleEndFor(360.5, kPanel));
  forms::GpsForm form;
  const auto end = [&] { return Point{form.Line1.x1(), form.Line1.y1()}; };
  const Point before = end();
  form.Label92.setCaption("400");
  ShowDirection(form);
  EXPECT_EQ(end(), before);
  form.Label92.setCaption("");  // course 0
  ShowDirection(form);
  EXPECT_EQ(end(), *needleEndFor(0, forms::GpsForm::kPanel1));
}

}  // namespace
}  // namespace d7o::gps
