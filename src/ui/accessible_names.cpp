#include "ui/accessible_names.h"

#include "forms/controls.h"
#include "ui/binder.h"
#include "ui/latin1.h"

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

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
      {"Label2", "network registration lamp"},
      {"Gauge1", "GSM field strength"},
      {"Label25", "field strength status"},
      {"CTS", "CTS lamp"},
      {"Label48", "clock"},
      {"Label14", "time zone"},
      {"List1", "main AT-Commands"},
      {"List3", "terminal"},
      {"List2", "configuration items"},
      {"Text1", "serial port"},
      {"Text2", "line settings"},
      {"Text3", "status"},
      {"Frame18", "module start-up"},
      // Voice-Call and the phone book
      {"Text8", "call number"},
      {"Command9", "dial"},
      {"List4", "phone book entries"},
      {"Text9", "phone book name"},
      {"Label21", "phone book position"},
      {"Shape1", "phone book"},
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
      {"Label38", "ringer melody status"},
      {"Text4", "initialisation string"},
      // R7O-3 Alarm
      {"Combo2", "IN1 alarm kind"},
      {"Combo3", "IN2 alarm kind"},
      {"Combo4", "IN3 alarm kind"},
      {"Text13", "IN1 destination"},
      {"Text19", "IN2 destination"},
      {"Text22", "IN3 destination"},
      {"Text17", "IN1 alarm text"},
      {"Text20", "IN2 alarm text"},
      {"Text23", "IN3 alarm text"},
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
      {"Spin2", "mode interval"},
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

const RoleTable* rolesOf(const forms::Form& form) {
  static const std::unordered_map<std::string_view, const RoleTable* (*)()> byForm = {
      {"REZEDEV7", [] { return &mainWindowRoles(); }},
      {"GPSform", [] { return &gpsFormRoles(); }},
      {"PDU", [] { return &pduFormRoles(); }},
      {"BinCode", [] { return &binCodeFormRoles(); }},
      {"Remote", [] { return &remoteFormRoles(); }},
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

}  // namespace

const char* accessibleRoleOf(const forms::Form& form, std::string_view control) {
  const RoleTable* roles = rolesOf(form);
  if (roles == nullptr) return nullptr;
  const auto found = roles->find(control);
  return found == roles->end() ? nullptr : found->second;
}

void nameForAssistiveTools(QWidget& window, const forms::Form& form) {
  for (const forms::Control* control : form.controls()) {
    auto* widget = window.findChild<QWidget*>(fromLatin1(control->name()));
    if (widget == nullptr) continue;  // a menu entry: its action has its caption
    QString role;
    if (const char* known = accessibleRoleOf(form, control->name())) {
      role = fromLatin1(known);
    } else if (const std::string row = arrayMemberRole(control->name()); !row.empty()) {
      role = QString::fromStdString(row);
    }
    if (role.isEmpty()) continue;
    widget->setAccessibleDescription(role);
    // A label reads out its text while it has one, and its role while it is empty.
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr) {
      nameByRoleWhileEmpty(label);
    } else {
      widget->setAccessibleName(role);
    }
  }
}

}  // namespace d7o::ui
