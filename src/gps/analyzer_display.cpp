#include "gps/analyzer_display.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

namespace d7o::gps {

namespace {

using forms::GpsForm;
using forms::Label;

static_assert(GpsForm::kSatelliteRows == kSatelliteSlots);
static_assert(GpsForm::kPrnLabels == kPrnPlaces);

// The value labels that show one text of the fix as it is.
constexpr std::pair<Label GpsForm::*, std::string GpsFix::*> kTexts[] = {
    {&GpsForm::Label56, &GpsFix::utc},         {&GpsForm::Label54, &GpsFix::date},
    {&GpsForm::Label61, &GpsFix::lat},         {&GpsForm::Label87, &GpsFix::ns},
    {&GpsForm::Label86, &GpsFix::lon},         {&GpsForm::Label62, &GpsFix::ew},
    {&GpsForm::Label53, &GpsFix::validity},    {&GpsForm::Label59, &GpsFix::speed},
    {&GpsForm::Label43, &GpsFix::speedUnit},   {&GpsForm::Label92, &GpsFix::course},
    {&GpsForm::Label15, &GpsFix::courseShown}, {&GpsForm::Label14, &GpsFix::altitude},
    {&GpsForm::Label63, &GpsFix::mode},        {&GpsForm::Label66, &GpsFix::pdop},
    {&GpsForm::Label67, &GpsFix::hdop},        {&GpsForm::Label68, &GpsFix::vdop},
    {&GpsForm::Anzahl, &GpsFix::inView},
};

// The values told by the colour of their text.
struct ColouredText {
  Label GpsForm::*label;
  std::string GpsFix::*text;
  forms::Color GpsFix::*color;
};
constexpr ColouredText kColouredTexts[] = {
    {&GpsForm::Label21, &GpsFix::inUse, &GpsFix::inUseColor},
    {&GpsForm::Label17, &GpsFix::quality, &GpsFix::qualityColor},
    {&GpsForm::Label64, &GpsFix::fixType, &GpsFix::fixTypeColor},
};

// Pure red and green text reads poorly on the light window: a coloured value is shown on
// a dark field, like a display; a value in the window's own colour stays on the window.
void showColoured(Label& label, const std::string& text, forms::Color color) {
  label.setCaption(text);
  label.setForeColor(color);
  label.setBackColor(forms::isSystemColor(color) ? forms::colors::kSystemButtonFace
                                                 : forms::colors::kBlack);
}

// The received text on one line: the device's line ends and other control characters
// as spaces, none at either end.
std::string oneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void showSatellites(const GpsFix& fix, GpsForm& form) {
  for (std::size_t i = 0; i < fix.satellites.size(); ++i) {
    const SatelliteSlot& slot = fix.satellites[i];
    form.Nr[i].setCaption(slot.nr);
    form.EL[i].setCaption(slot.el);
    form.AZ[i].setCaption(slot.az);
    form.Lev[i].setCaption(slot.lev);
    form.Bar[i].setValue(slot.bar);
    form.Bar[i].setBarColor(slot.barColor);
  }
}

}  // namespace

void showFix(const GpsFix& fix, GpsForm& form) {
  for (const auto& [label, text] : kTexts) (form.*label).setCaption(fix.*text);
  for (const ColouredText& c : kColouredTexts)
    showColoured(form.*c.label, fix.*c.text, fix.*c.color);
  form.Label53.setBackColor(fix.validityColor);
  const auto prn = form.prnLabels();
  for (std::size_t i = 0; i < prn.size(); ++i) prn[i]->setCaption(fix.prn[i]);
  showSatellites(fix, form);
  form.GPSstring.setCaption(oneLine(fix.gpsString));
}

}  // namespace d7o::gps
