#include "ui/accessible_names.h"

#include "forms/color.h"
#include "forms/controls.h"
#include "ui/binder.h"
#include "ui/code_page.h"
#include "ui/elided_label.h"

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QLabel>
#include <QWidget>

namespace d7o::ui {

namespace {

using RoleTable = std::unordered_map<std::string_view, const char*>;

// The roles of the controls that carry no caption of their own, per window.
const RoleTable& mainWindowRoles() {
  static const RoleTable roles = {
      {"Tab1", "tabs"},
      // Terminal
      {"Label2", "network registration"},
      {"Gauge1", "field strength gauge"},
      {"Label25", "field strength status"},
      {"CTS", "CTS"},
      {"PortState", "port"},
      {"Label48", "clock"},
      {"Label14", "time zone"},
      {"List1", "prepared AT commands"},
      {"List3", "terminal"},
      {"CommandLine", "command line"},
      {"CheckTimeStamps", "show time stamps in the terminal"},
      {"List2", "configuration items"},
      {"Text1", "serial port"},
      {"Text2", "line settings"},
      {"Text3", "status"},
      {"CaptureState", "capture"},
      {"ReplayPosition", "replay position"},
      {"ReplaySpeed", "replay speed"},
      {"Frame18", "module start-up"},
      // Voice-Call and the phone book
      {"Text8", "call number"},
      {"Command9", "dial"},
      {"List4", "phone book entries"},
      {"Text9", "phone book name"},
      {"Label21", "phone book position"},
      {"Shape1", "phone book"},
      {"Command46", "phone book position up"},
      {"Command47", "phone book position down"},
      {"Command48", "phone book position up by ten"},
      {"Command49", "phone book position down by ten"},
      // SMS
      {"Text5", "SMS call number"},
      {"Text6", "SMS text"},
      {"Text7", "service centre number"},
      {"Shape3", "SMS commands"},
      // Options
      {"Slider1", "speaker level"},
      {"Slider2", "microphone level"},
      {"Label5", "speaker level value"},
      {"Label6", "microphone level value"},
      {"Frame2", "module options"},
      {"Frame13", "ringer melody choice"},
      {"Combo1", "ringer melody"},
      {"Command51", "set ringer melody"},
      {"Label38", "ringer melody status"},
      {"Text4", "initialisation string"},
      // R7O-3 Alarm
      {"Command24", "set IN1"},
      {"Command26", "set IN2"},
      {"Command27", "set IN3"},
      {"Check2", "IN1 append GPS position"},
      {"Check6", "IN2 append GPS position"},
      {"Check7", "IN3 append GPS position"},
      {"Frame7", "Out1-Parameters"},
      {"Command34", "OUT1 time 1 up"},
      {"Command35", "OUT1 time 1 down"},
      {"Command36", "OUT1 time 2 up"},
      {"Command37", "OUT1 time 2 down"},
      {"Combo2", "IN1 alarm kind"},
      {"Combo3", "IN2 alarm kind"},
      {"Combo4", "IN3 alarm kind"},
      {"Text13", "IN1 destination"},
      {"Text19", "IN2 destination"},
      {"Text22", "IN3 destination"},
      {"Text17", "IN1 alarm text"},
      {"Text20", "IN2 alarm text"},
      {"Text23", "IN3 alarm text"},
      {"Option3", "IN1 rising edge"},
      {"Option4", "IN1 falling edge"},
      {"Option9", "IN1 each edge"},
      {"Option5", "IN2 rising edge"},
      {"Option6", "IN2 falling edge"},
      {"Option8", "IN2 each edge"},
      {"Option10", "IN3 rising edge"},
      {"Option11", "IN3 falling edge"},
      {"Option7", "IN3 each edge"},
      {"Frame15", "IN1 edge"},
      {"Frame16", "IN2 edge"},
      {"Frame17", "IN3 edge"},
      {"Text24", "IN1 command line"},
      {"Text25", "IN2 command line"},
      {"Text26", "IN3 command line"},
      {"Combo5", "OUT1 mode"},
      {"Spin3", "OUT1 time 1"},
      {"Spin4", "OUT1 time 2"},
      {"Text28", "OUT1 command line"},
      {"Picture2", "wiring sample"},
      {"Frame8", "separator"},
      {"Frame9", "separator"},
      {"Frame10", "separator"},
      // R7O-3 GPS
      {"Frame3", "GPS configuration"},
      {"Text10", "command line to send"},
      {"Text14", "service centre number"},
      {"Label50", "hint"},
      {"Spin2", "configuration counter start"},
      {"Command40", "configuration counter up"},
      {"Command41", "configuration counter down"},
      {"Command38", "data interval down"},
      {"Command39", "data interval up"},
      {"Command43", "ignition delay down"},
      {"Command44", "ignition delay up"},
      {"Text15", "destination number"},
      {"Text29", "destination kind"},
      {"Text16", "source name"},
      {"Spin1", "data interval"},
      {"List5", "GPS sentences"},
      {"Label49", "ignition delay"},
      {"Text11", "old password"},
      {"Text30", "new password"},
      // ...about
      {"Picture1", "product picture"},
      {"Image1", "modem picture"},
      {"Image2", "manual"},
      {"Label1", "incoming call"},
  };
  return roles;
}

const RoleTable& gpsFormRoles() {
  static const RoleTable roles = {
      {"Label56", "UTC time"},
      {"Label54", "date"},
      {"Label61", "latitude"},
      {"Label87", "north or south"},
      {"Label86", "longitude"},
      {"Label62", "east or west"},
      {"Label21", "satellites in use"},
      {"Label17", "GPS quality"},
      {"Label14", "altitude"},
      {"Label59", "speed over ground"},
      {"Label43", "speed unit"},
      {"Label92", "course over ground"},
      {"Label15", "course"},
      {"Label53", "validity"},
      {"Label63", "mode"},
      {"Label64", "fix type"},
      {"Label65", "satellite used 1"},
      {"Label75", "satellite used 2"},
      {"Label76", "satellite used 3"},
      {"Label77", "satellite used 4"},
      {"Label78", "satellite used 5"},
      {"Label79", "satellite used 6"},
      {"Label80", "satellite used 7"},
      {"Label81", "satellite used 8"},
      {"Label82", "satellite used 9"},
      {"Label83", "satellite used 10"},
      {"Label84", "satellite used 11"},
      {"Label85", "satellite used 12"},
      {"Label66", "PDOP"},
      {"Label67", "HDOP"},
      {"Label68", "VDOP"},
      {"Anzahl", "satellites in view"},
      {"GPSstring", "last received text"},
      {"Line1", "compass"},
      {"StatCountGGA", "GGA count"},
      {"StatCountRMC", "RMC count"},
      {"StatCountGSA", "GSA count"},
      {"StatCountGSV", "GSV count"},
      {"StatCountOther", "other sentences count"},
      {"StatRateGGA", "GGA per second"},
      {"StatRateRMC", "RMC per second"},
      {"StatRateGSA", "GSA per second"},
      {"StatRateGSV", "GSV per second"},
      {"StatRateOther", "other sentences per second"},
      {"StatBadGGA", "GGA with a bad checksum"},
      {"StatBadRMC", "RMC with a bad checksum"},
      {"StatBadGSA", "GSA with a bad checksum"},
      {"StatBadGSV", "GSV with a bad checksum"},
      {"StatBadOther", "other sentences with a bad checksum"},
      {"StatAgeGGA", "time since the last GGA"},
      {"StatAgeRMC", "time since the last RMC"},
      {"StatAgeGSA", "time since the last GSA"},
      {"StatAgeGSV", "time since the last GSV"},
      {"StatAgeOther", "time since the last other sentence"},
      {"StatBytes", "bytes received"},
      {"StatWithoutChecksum", "sentences without checksum"},
      {"StatNoNmea", "lines that are no NMEA"},
  };
  return roles;
}

const RoleTable& pduFormRoles() {
  static const RoleTable roles = {
      {"Text1", "SCA length"},
      {"Text16", "SCA type of address"},
      {"Text14", "service centre number"},
      {"Text15", "SCA digits swapped"},
      {"Text2", "first octet"},
      {"Text3", "message reference"},
      {"Text4", "destination length"},
      {"Text5", "destination type of address"},
      {"Text6", "destination number"},
      {"Text7", "destination digits swapped"},
      {"Text8", "protocol identifier"},
      {"Text9", "data coding scheme"},
      {"Text13", "validity period octet"},
      {"Text10", "validity period value"},
      {"Slider1", "validity period"},
      {"Text17", "validity period in words"},
      {"Text11", "user data length"},
      {"Text12", "user data"},
      {"Text20", "PDU"},
      {"deb", "PDU length"},
      {"Text21", "PDU to decode"},
      {"Text22", "decoded fields"},
  };
  return roles;
}

const RoleTable& binCodeFormRoles() {
  static const RoleTable roles = {
      {"Text1", "text to convert"},
      {"Text2", "character as 8 bits"},
      {"Text3", "work field"},
      {"Text4", "packed octets"},
      {"List1", "septets"},
      {"List4", "octets as bits"},
      {"List2", "octets as bits, second list"},
      {"List3", "octets as hex"},
  };
  return roles;
}

const RoleTable& remoteFormRoles() {
  static const RoleTable roles = {
      {"Frame13", "map program"}, {"Combo3", "call number"}, {"Combo2", "protocol"},
      {"Text6", "command line"},  {"Label62", "status"},     {"Drive1", "drive"},
      {"Dir1", "folders"},        {"File1", "files"},        {"Label1", "folder"},
  };
  return roles;
}

const RoleTable& signalFormRoles() {
  static const RoleTable roles = {
      {"SignalNow", "current field strength"},
      {"SignalDetail", "current reading"},
      {"SignalOperator", "operator"},
      {"SignalPlot", "field strength over time"},
      {"SignalSpan", "time shown"},
      {"SpanSummary", "field strength over the time shown"},
      {"SliderInterval", "seconds between two requests"},
      {"IntervalValue", "interval"},
      {"MonitorState", "monitor"},
  };
  return roles;
}

const RoleTable* rolesOf(const forms::Form& form) {
  static const std::unordered_map<std::string_view, const RoleTable* (*)()> byForm = {
      {"REZEDEV7", [] { return &mainWindowRoles(); }},
      {"GPSform", [] { return &gpsFormRoles(); }},
      {"PDU", [] { return &pduFormRoles(); }},
      {"BinCode", [] { return &binCodeFormRoles(); }},
      {"Remote", [] { return &remoteFormRoles(); }},
      {"Signal", [] { return &signalFormRoles(); }},
  };
  const auto found = byForm.find(form.name());
  return found == byForm.end() ? nullptr : found->second();
}

// A member of a control array: "Nr(3)" is the number of the analyzer's satellite row 3,
// "Led1(0)" the remote tool's first lamp.
std::string arrayMemberRole(std::string_view control) {
  static const std::pair<std::string_view, std::string_view> kinds[] = {
      {"Nr(", "satellite number"}, {"EL(", "elevation"},         {"AZ(", "azimuth"},
      {"Lev(", "signal level"},    {"Bar(", "signal level bar"}, {"Led1(", "call lamp"}};
  for (const auto& [prefix, role] : kinds) {
    if (control.substr(0, prefix.size()) == prefix && control.back() == ')') {
      const auto row = control.substr(prefix.size(), control.size() - prefix.size() - 1);
      return std::string(role) + " " + std::string(row);
    }
  }
  return {};
}

std::string arrayMemberRole(std::string_view control);

// A lamp's colour in words.
struct LampState {
  forms::Color color;
  const char* words;
};
struct Lamp {
  std::string_view form;
  std::string_view control;  // a control array's members by their prefix, "Led1("
  std::vector<LampState> states;
  const char* otherwise;
};

const std::vector<Lamp>& lamps() {
  using namespace forms::colors;
  static const std::vector<Lamp> table = {
      {"REZEDEV7",
       "Label2",
       {{kGreen, "registered"}, {kRed, "not registered"}, {kLightRed, "no field strength"}},
       "unknown"},
      {"REZEDEV7", "CTS", {{kGreen, "high"}, {kRed, "low"}}, "unknown"},
      {"Remote", "Led1(", {{kSystemInactiveBorder, "off"}}, "on"},
      // The analyzer's sentence boxes: green marks the sentence it shows.
      {"GPSform", "Check1", {{kGreen, "shown"}, {kRed, "not shown"}}, ""},
      {"GPSform", "Check2", {{kGreen, "shown"}, {kRed, "not shown"}}, ""},
      {"GPSform", "Check3", {{kGreen, "shown"}, {kRed, "not shown"}}, ""},
      {"GPSform", "Check4", {{kGreen, "shown"}, {kRed, "not shown"}}, ""},
      {"GPSform", "Check5", {{kGreen, "shown"}, {kRed, "not shown"}}, ""},
  };
  return table;
}

const Lamp* lampOf(const forms::Control& control) {
  const forms::Form* form = control.form();
  if (form == nullptr) return nullptr;
  const std::string_view name = control.name();
  for (const Lamp& lamp : lamps()) {
    const bool member =
        lamp.control.back() == '(' && name.substr(0, lamp.control.size()) == lamp.control;
    if (form->name() == lamp.form && (name == lamp.control || member)) return &lamp;
  }
  return nullptr;
}

// Each caption label and the field it names, per window: a screen reader announces the
// field by its label and keeps its role (a combo box is not read out by its value).
const std::vector<std::pair<std::string_view, std::string_view>>& buddiesOf(
    const forms::Form& form) {
  static const std::unordered_map<std::string_view,
                                  std::vector<std::pair<std::string_view, std::string_view>>>
      byForm = {
          {"REZEDEV7",
           {{"Label3", "List1"},
            {"Label4", "Text8"},
            {"Label8", "Text5"},
            {"Label9", "Text6"},
            {"Label15", "Text7"},
            {"Label17", "Slider1"},
            {"Label18", "Slider2"},
            {"Label19", "Text4"},
            {"Label26", "Text10"},
            {"Label7", "Text14"},
            {"Label16", "Text16"},
            {"Label30", "Text11"},
            {"Label28", "Text30"},
            {"Label24", "List5"},
            {"Label44", "Spin3"},
            {"Label45", "Spin4"},
            {"Label29", "Spin2"},
            {"Label27", "Spin1"},
            {"Label52", "Label49"}}},
          {"Remote", {{"Label52", "Combo2"}}},
          {"Signal", {{"SpanLabel", "SignalSpan"}, {"IntervalLabel", "SliderInterval"}}},
          {"PDU", {{"Label6", "Text6"}, {"Label10", "Text13"}, {"Label11", "Text11"}}},
          {"BinCode",
           {{"Label3", "Text1"},
            {"Label4", "Text4"},
            {"Label1", "List1"},
            {"Label5", "List4"},
            {"Label6", "List3"}}},
      };
  static const std::vector<std::pair<std::string_view, std::string_view>> none;
  const auto found = byForm.find(form.name());
  return found == byForm.end() ? none : found->second;
}

}  // namespace

bool nameLamp(QWidget* widget, const forms::Control& control, const QString& caption,
              forms::Color color) {
  const Lamp* lamp = lampOf(control);
  if (lamp == nullptr) return false;
  QString role = caption;
  if (const char* known = accessibleRoleOf(*control.form(), control.name())) {
    role = fromCodePage(known);
  } else if (const std::string row = arrayMemberRole(control.name()); !row.empty()) {
    role = QString::fromStdString(row);
  }
  const char* words = lamp->otherwise;
  for (const LampState& state : lamp->states) {
    if (state.color == color) words = state.words;
  }
  const QString name = *words == '\0' ? role : role + QStringLiteral(": ") + fromCodePage(words);
  // Qt raises the accessibility event of a changed name itself.
  if (widget->accessibleName() != name) widget->setAccessibleName(name);
  return true;
}

const char* accessibleRoleOf(const forms::Form& form, std::string_view control) {
  const RoleTable* roles = rolesOf(form);
  if (roles == nullptr) return nullptr;
  const auto found = roles->find(control);
  return found == roles->end() ? nullptr : found->second;
}

void nameForAssistiveTools(QWidget& window, const forms::Form& form) {
  for (const auto& [labelName, fieldName] : buddiesOf(form)) {
    auto* label = window.findChild<QLabel*>(fromCodePage(labelName));
    auto* field = window.findChild<QWidget*>(fromCodePage(fieldName));
    if (label != nullptr && field != nullptr) label->setBuddy(field);
  }
  for (const forms::Control* control : form.controls()) {
    auto* widget = window.findChild<QWidget*>(fromCodePage(control->name()));
    if (widget == nullptr) continue;  // a menu entry: its action has its caption
    QString role;
    if (const char* known = accessibleRoleOf(form, control->name())) {
      role = fromCodePage(known);
    } else if (const std::string row = arrayMemberRole(control->name()); !row.empty()) {
      role = QString::fromStdString(row);
    }
    if (role.isEmpty()) continue;
    widget->setAccessibleDescription(role);
    // A lamp is named with its state by its binder, which knows its colour.
    if (lampOf(*control) != nullptr) continue;
    // A label reads out its text while it has one, and its role while it is empty.
    if (auto* elided = dynamic_cast<ElidedLabel*>(widget); elided != nullptr) {
      elided->nameWholly();
    } else if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr) {
      nameByRoleWhileEmpty(label);
    } else {
      widget->setAccessibleName(role);
    }
  }
}

}  // namespace d7o::ui
