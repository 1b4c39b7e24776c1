#include "app/text.h"
#include "gps/nmea_evaluation.h"
#include "gps/nmea_fields.h"

namespace d7o::gps {

namespace {
using forms::colors::kGreen;
using forms::colors::kRed;

constexpr std::size_t kFirstPrnField = 3;
}  // namespace

// $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39
//   1     A      selection: M manual (forced 2D or 3D), A automatic
//   2     3      fix: 1 none, 2 2D, 3 3D
//   3-14  04,05  PRNs of the satellites used for the fix, twelve places, empty when unused
//  15     2.5    PDOP
//  16     1.3    HDOP
//  17     2.1    VDOP, ended by the checksum's '*'
void CalculateGPGSA(const std::string& text, GpsFix& fix) {
  const nmea::CommaTable commas(text);

  if (const auto mode = commas.field(1)) {
    if (*mode == "M") fix.mode = "manual";
    if (*mode == "A") fix.mode = "automatic";
  }

  if (const auto fixField = commas.field(2)) {
    // Unlike GGA's quality, "0" is a number the analyzer has no text for.
    const auto type = app::leadingNumber(*fixField);
    if (!type || *type == 1) {
      fix.fixType = "not available";
      fix.fixTypeColor = kRed;
    } else if (*type == 2) {
      fix.fixType = "2D-GPS";
      fix.fixTypeColor = kGreen;
    } else if (*type == 3) {
      fix.fixType = "3D-GPS";
      fix.fixTypeColor = kGreen;
    }
  }

  for (std::size_t i = 0; i < fix.prn.size(); ++i) {
    if (const auto prn = commas.field(kFirstPrnField + i)) fix.prn[i] = *prn;
  }

  if (const auto pdop = commas.field(15)) fix.pdop = *pdop;
  if (const auto hdop = commas.field(16)) fix.hdop = *hdop;
  // VDOP is field 17 alone, ended by the checksum's '*' or, from NMEA 4.1 on, by the comma
  // of the system id after it ("...,1.8,1.2,4.9,1*XX"). A '*' before comma 16 ends no VDOP
  // field: the sentence is cut, VDOP stays.
  const auto c16 = commas.comma(16);
  const auto star = nmea::position(text, "*");
  if (c16 && star && *star > *c16) {
    std::size_t end = *star;
    if (const auto c17 = commas.comma(17); c17 && *c17 < end) end = *c17;
    fix.vdop = app::mid(text, *c16 + 1, end - *c16 - 1);
  }
}

}  // namespace d7o::gps
