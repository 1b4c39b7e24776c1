#pragma once

#include "app/context.h"
#include "app/reply_flow.h"

#include <functional>
#include <string>

namespace d7o::link {

class SerialLink;

// Brings the module into a known state after the baud rate is known: wake-up, SIM and
// PIN, the engine's maker, field strength and registration, the initialisation string
// and the device's identification. The reply rows call the handlers below.
class ModuleInit {
 public:
  static constexpr const char* kDefaultPin = "5937";
  static constexpr int kManufacturerTries = 4;

  ModuleInit(app::Context& ctx, SerialLink& link);
  void setReceivePath(app::ReceivePath* receivePath) { m_receivePath = receivePath; }
  // Runs when the Alarm or GPS tab opens on a modem that answered with a supported firmware.
  void setDeviceTabShown(std::function<void()> shown) { m_deviceTabShown = std::move(shown); }

  void Command1_Click();  // "INIT"
  void Command2_Click();  // "Enter PIN"
  void Test_Manufacturer();
  void Tab1_Click(int previousTab);

  // Reply rows.
  void iChipAnswered();                      // 2: "I/OK"
  void moduleAnswered();                     // 3: "OK" while waking
  void errorReply();                         // 13: "ERROR"
  void simError(const std::string& status);  // 14, 15: "+CME ERROR: 10" / "13"
  void firmwareReply();                      // 16: the device's identification
  void manufacturerReply();                  // 21: while the maker is asked
  void manufacturerUnknown();                // 22: four replies without a maker's word
  void fieldStrength();                      // 34: "+CSQ:"
  void initComplete();                       // 36: after "+VGT: ", the last answer
  void registration();                       // 37: "+CREG"
  void pinAccepted();                        // 41: "OK" after the PIN
  app::Flow simStatus();                     // 42: "+CPIN:"

 private:
  void manufacturerFound();
  void restoreTitle();
  // Runs `action` once what was received before now has been handled (at once without a
  // receive path, as in a test of this class alone).
  void afterReceivedSoFar(std::function<void()> action);

  app::Context& m_ctx;
  SerialLink& m_link;
  app::ReceivePath* m_receivePath = nullptr;
  std::function<void()> m_deviceTabShown;
};

}  // namespace d7o::link
