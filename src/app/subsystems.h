#pragma once

#include "app/context.h"
#include "console/about_tab.h"
#include "console/capture_control.h"
#include "console/link_health.h"
#include "console/options_tab.h"
#include "console/terminal.h"
#include "console/voice_call.h"
#include "device/alarm_panel.h"
#include "device/gps_panel.h"
#include "device/staging.h"
#include "dispatch/mode_states.h"
#include "dispatch/receive_handler.h"
#include "gps/analyzer.h"
#include "link/baud_search.h"
#include "link/hs_timer.h"
#include "link/init_timers.h"
#include "link/module_init.h"
#include "link/port_watch.h"
#include "link/serial_link.h"
#include "link/signal_monitor.h"
#include "remote/remote_access.h"
#include "sms/pdu_creator.h"
#include "sms/phone_book.h"
#include "sms/sms_tab.h"

#include <functional>

namespace d7o::app {

// The program's behaviour: one object per subsystem, each built after those it uses.
// A new subsystem is a member here and its construction in subsystems.cpp; where replies
// reach it, it is also one of the reply table's targets.
struct Subsystems {
  // `activateMain` runs when the main window becomes active again after a side window.
  Subsystems(Context& ctx, std::function<void()> activateMain);

  link::SerialLink link;
  link::HsTimer hsTimer;
  link::PortWatch portWatch;
  link::BaudSearch baudSearch;
  link::InitTimers initTimers;
  link::ModuleInit moduleInit;
  dispatch::ModeStates modeStates;
  console::Terminal terminal;
  console::VoiceCall voiceCall;
  console::OptionsTab optionsTab;
  console::AboutTab aboutTab;
  device::Staging staging;
  device::AlarmPanel alarmPanel;
  device::GpsPanel gpsPanel;
  gps::Analyzer gpsAnalyzer;
  sms::PduCreator pduCreator;
  sms::SmsTab smsTab;
  sms::PhoneBook phoneBook;
  remote::RemoteAccess remote;
  console::CaptureControl capture;
  // After all its rows reach; the port's receive event reaches it.
  dispatch::ReceiveHandler receiver;
  // After the receiver: they read the replies it completes and what the port receives.
  console::LinkHealth linkHealth;
  link::SignalMonitor signalMonitor;
};

}  // namespace d7o::app
