#include "app/subsystems.h"

#include "dispatch/reply_table.h"

namespace d7o::app {

Subsystems::Subsystems(Context& ctx, std::function<void()> activateMain)
    : link(ctx),
      hsTimer(ctx),
      baudSearch(ctx, link),
      initTimers(ctx, link),
      moduleInit(ctx, link),
      modeStates(ctx),
      terminal(ctx, link, moduleInit),
      voiceCall(ctx, link),
      optionsTab(ctx, link),
      staging(ctx, link),
      gpsAnalyzer(ctx, link, std::move(activateMain)),
      receiver(ctx, dispatch::makeReplyTable({.state = ctx.state,
                                              .baudSearch = baudSearch,
                                              .moduleInit = moduleInit,
                                              .modes = modeStates,
                                              .voice = voiceCall,
                                              .staging = staging,
                                              .gps = gpsAnalyzer})) {
  moduleInit.setReceivePath(&receiver);
}

}  // namespace d7o::app
