#include "app/subsystems.h"

#include "dispatch/reply_table.h"

namespace d7o::app {

Subsystems::Subsystems(Context& ctx, std::function<void()> activateMain)
    : link(ctx),
      hsTimer(ctx),
      portWatch(ctx),
      baudSearch(ctx, link),
      initTimers(ctx, link),
      moduleInit(ctx, link),
      modeStates(ctx),
      terminal(ctx, link, moduleInit),
      voiceCall(ctx, link),
      optionsTab(ctx, link),
      aboutTab(ctx),
      staging(ctx, link),
      alarmPanel(ctx, link),
      gpsPanel(ctx),
      gpsAnalyzer(ctx, link, activateMain),
      pduCreator(ctx, link, activateMain),
      smsTab(ctx, link, pduCreator),
      phoneBook(ctx, link),
      remote(ctx, link, std::move(activateMain)),
      capture(ctx),
      receiver(ctx, dispatch::makeReplyTable({.state = ctx.state,
                                              .baudSearch = baudSearch,
                                              .moduleInit = moduleInit,
                                              .modes = modeStates,
                                              .voice = voiceCall,
                                              .staging = staging,
                                              .gps = gpsAnalyzer,
                                              .sms = smsTab,
                                              .phoneBook = phoneBook,
                                              .remote = remote})),
      linkHealth(ctx, receiver, hsTimer),
      signalMonitor(ctx, link) {
  receiver.replyArrived.connect(
      [this](const std::string& reply) { signalMonitor.replyArrived(reply); });
  moduleInit.setReceivePath(&receiver);
  moduleInit.setDeviceTabShown([this] { alarmPanel.CreateAlarmSettings(); });
  terminal.setRemoteOpener([this] { remote.open(); });
}

}  // namespace d7o::app
