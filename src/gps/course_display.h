#pragma once

#include "forms/gps_form.h"

#include <optional>
#include <string_view>

namespace d7o::gps {

// Where the compass needle's free end goes for a course over ground: it walks the
// rectangle anticlockwise from the top centre as the course falls from 360 to 0 (the
// mirror w = 360 - course). Integer courses land exactly on the classic points; a
// fractional course between two of them lies on the straight line joining them, so every
// course from 0 to 360 moves the needle. Outside 0..360 the needle stays (nothing).
// Panel 180 x 180 at (20, 20): course 90 -> (200, 110); 180 -> (110, 200).
std::optional<forms::Point> needleEndFor(double course, const forms::Rect& panel);

// ShowDirection: the needle Line1 of the analyzer follows the course shown in Label92
// ("" is course 0).
void ShowDirection(forms::GpsForm& form);

}  // namespace d7o::gps
