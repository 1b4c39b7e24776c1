#pragma once

#include "forms/gps_form.h"
#include "gps/gps_fix.h"

namespace d7o::gps {

// Shows the fix in the analyzer's controls: every value label, the PRNs, the satellite
// rows with their bars, the received text, and the colours the evaluation chose. A value
// that did not change leaves its control alone, so the window repaints only what moved.
void showFix(const GpsFix& fix, forms::GpsForm& form);

}  // namespace d7o::gps
