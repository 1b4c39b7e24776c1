#pragma once

#include "gps/gps_fix.h"

#include <string>
#include <string_view>

namespace d7o::gps {

// What the evaluations keep between sentences besides the fix itself.
struct NmeaState {
  int& satelliteSlotPointer;  // the table row filled last; 0 before the first
  double& gpsSpeed;           // speed of the last RMC sentence, in the unit chosen then
  bool speedInKmh;            // the analyzer's "km/h" option (else knots)
};

// NMEA coordinate to decimal degrees, as shortest general text (up to 15 significant
// digits): "4807.038" -> "48.1173", "01131.000" -> "11.5166666666667". The hemisphere
// letter is not applied.
std::string ConvertToDegrees(std::string_view coordinate);

// The four sentence evaluations. Each takes the whole received text, which begins with
// its sentence, and never fails: a step that cannot apply is skipped. An empty text
// changes nothing.
void CalculateGPGGA(const std::string& text, GpsFix& fix);
void CalculateGPRMC(const std::string& text, GpsFix& fix, NmeaState& state);
void CalculateGPGSA(const std::string& text, GpsFix& fix);
void CalculateGPGSV(const std::string& text, GpsFix& fix, NmeaState& state);

// The sentence name a reply is marked with: the last of "$GPGSV", "$GPGGA", "$GPRMC",
// "$GPGSA" (tested in this order) that the reply contains, without its "$"; empty when it
// holds none.
std::string markedSentence(std::string_view reply);

// Evaluates one complete reply in GPS receive mode: stores it as the received text and,
// when it holds one of the four sentences, runs the evaluation of the type it is marked
// with. Returns that type ("" when the reply holds none: the values stay as they are).
std::string evaluateReply(const std::string& reply, GpsFix& fix, NmeaState& state);

// Empties the value texts the analyzer refreshes (not the unit, the colours, the
// satellite table, the satellites in view or the received text).
void GPSformRefresh(GpsFix& fix);

// "r e s e t    d i s p l a y": the satellite table and the satellites in view emptied;
// the row pointer stays, so new satellites continue after the last row used.
void resetSatelliteDisplay(GpsFix& fix);

// The GPS time of the main window's clock from a reply with GGA or RMC: the six
// characters after the first comma as "hh.mm.ss"; empty for other replies.
std::string gpsClockText(std::string_view reply);

}  // namespace d7o::gps
