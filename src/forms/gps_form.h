#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "gps/gps_fix.h"

namespace d7o::forms {

// A point of the analyzer's compass, in the window's pixels.
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// The rectangle that bounds the compass needle (Panel1).
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The GPS analyzer window GPSform: the values of the last sentences (the fix), the
// protocol boxes that choose what the device sends, the satellite level panel and the
// compass. It lives for the whole run; "unloading" it restores its design.
struct GpsForm : Form {
  GpsForm();

  // Back to the window as designed: designed texts, all protocol boxes ticked and red,
  // the satellite panel hidden, km/h, the needle north, not loaded.
  void restoreDesign();

  bool loaded = false;

  gps::GpsFix fix;
  Signal<> fixChanged;  // raised after each change of `fix`

  CheckBox Check1{*this, "Check1", "GPGSV", true};
  CheckBox Check2{*this, "Check2", "GPGGA", true};
  CheckBox Check3{*this, "Check3", "GPRMC", true};
  CheckBox Check4{*this, "Check4", "GPGSA", true};
  CheckBox Check5{*this, "Check5", "all", true};
  CheckBox Check6{*this, "Check6", "show satellite level"};
  CommandButton Command1{*this, "Command1", "refresh display"};
  CommandButton Command3{*this, "Command3", "r e s e t    d i s p l a y"};
  OptionGroup speedGroup;
  OptionButton Option20{*this, "Option20", "km/h", speedGroup, true};
  OptionButton Option21{*this, "Option21", "knots", speedGroup};
  Frame GPGSV{*this, "GPGSV", "satellite level control"};
  Menu m_exit{*this, "m_exit", "E&xit"};

  // The compass: the needle runs from its free end (X1, Y1) to the fixed centre (X2, Y2).
  static constexpr Rect kPanel1{20, 20, 180, 180};
  Point needleEnd;
  Point needleCentre;
  Signal<> needleChanged;

  // The four sentence boxes in the order the marking tests them: GPGSV, GPGGA, GPRMC, GPGSA.
  std::array<CheckBox*, 4> sentenceBoxes() { return {&Check1, &Check2, &Check3, &Check4}; }
};

}  // namespace d7o::forms
